// SPDX-License-Identifier: GPL-3.0-or-later
// The game's sounds: that each scene starts its cues at the moments the
// child sees, that the samples are soft, short, free of clicks, evenly loud
// and heard on a small speaker, and that the mix never clips.

#include "sim/simulation.h"
#include "sound/loudness.h"
#include "sound/mixer.h"
#include "sound/synth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <numbers>
#include <string>
#include <vector>

namespace guardianes {
namespace {

using sound::kSampleRate;

constexpr Cue kSirens[] = {Cue::PoliceSiren, Cue::FireSiren, Cue::AmbulanceSiren, Cue::ForestHorn};
constexpr double kDepartureMs = 1250;
constexpr std::size_t kDepartureSamples = kSampleRate * 5 / 4;
// The loudness, by sound::loudness, every cue is brought to.
constexpr double kLoudness = -20;

std::vector<Cue> all_cues() {
    std::vector<Cue> cues;
    for (std::size_t i = 0; i < kCueCount; ++i) cues.push_back(static_cast<Cue>(i));
    return cues;
}

// Zero crossings in each 50 ms of the samples: twice the pitch, a twentieth.
std::vector<int> crossings(std::span<const std::int16_t> s, std::size_t length) {
    std::vector<int> out;
    const std::size_t window = kSampleRate / 20;
    for (std::size_t at = 0; at + window <= length; at += window) {
        int n = 0;
        for (std::size_t i = at + 1; i < at + window; ++i) n += (s[i - 1] < 0) != (s[i] < 0);
        out.push_back(n);
    }
    return out;
}

TEST(Synthesiser, EveryCueIsShortSoftAndBeginsAndEndsOnSilence) {
    for (Cue cue : all_cues()) {
        const auto s = sound::samples(cue);
        SCOPED_TRACE(std::string(to_string(cue)));
        ASSERT_GE(s.size(), kSampleRate / 20u);
        EXPECT_LE(s.size(), kSampleRate * 5u / 2);
        EXPECT_LE(std::abs(s.front()), 4);
        EXPECT_LE(std::abs(s.back()), 4);
        const auto [low, high] = std::minmax_element(s.begin(), s.end());
        EXPECT_LE(std::max(-*low, +*high), 32767 / 2) << "peaks too near full scale";
        EXPECT_GE(std::max(-*low, +*high), 32767 / 20) << "too faint to hear";
        EXPECT_EQ(sound::synthesise(cue), std::vector(s.begin(), s.end())) << "the same samples every time";
    }
    // A departure's sound lasts until its scene opens, which ends it.
    for (Cue siren : kSirens) EXPECT_GT(sound::samples(siren).size(), kDepartureSamples);
}

std::vector<std::int16_t> sine_wave(double hz, double seconds, double peak) {
    std::vector<std::int16_t> out(static_cast<std::size_t>(seconds * kSampleRate));
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<std::int16_t>(
            std::lround(peak * 32767 * std::sin(2 * std::numbers::pi * hz * static_cast<double>(i) / kSampleRate)));
    return out;
}

// The measures the cues' levels are set by: a full-scale sine reads -3 dB
// at 1 kHz and about 19 dB less at 100 Hz, as the A-weighting has it; a
// tone as long as the measure's window reads as loud as a longer one, and
// one half as long 3 dB quieter.
TEST(Loudness, WeighsAsTheEarDoesAndCountsAShortSoundOverItsWindow) {
    EXPECT_NEAR(sound::loudness(sine_wave(1000, 1, 1)), -3.0, 0.1);
    EXPECT_NEAR(sound::loudness(sine_wave(1000, 1, 0.1)), -23.0, 0.1);
    EXPECT_NEAR(sound::loudness(sine_wave(100, 1, 1)), -3.0 - 19.1, 0.3);
    EXPECT_NEAR(sound::loudness(sine_wave(1000, sound::kLoudnessWindowSeconds, 1)), -3.0, 0.1);
    EXPECT_NEAR(sound::loudness(sine_wave(1000, sound::kLoudnessWindowSeconds / 2, 1)), -6.0, 0.1);
    EXPECT_LT(sound::share_above(sine_wave(200, 1, 0.5), 250), 0.01);
    EXPECT_GT(sound::share_above(sine_wave(300, 1, 0.5), 250), 0.99);
}

// Each cue is brought to one loudness by how loud it sounds, not by its
// peak, so that none jumps out; a departure, which starts with a click on
// the menu, is no louder than the scenes' own sounds.
TEST(Synthesiser, EveryCueSoundsAboutAsLoudAsEveryOther) {
    double scenes = 0;
    for (Cue cue : all_cues()) {
        const double level = sound::loudness(sound::samples(cue));
        EXPECT_NEAR(level, kLoudness, 1.5) << to_string(cue) << " measures " << level << " dB: its level wants "
                                           << std::pow(10, (kLoudness - level) / 20) << " times what it is";
        if (std::find(std::begin(kSirens), std::end(kSirens), cue) == std::end(kSirens)) scenes += level;
    }
    scenes /= static_cast<double>(kCueCount - std::size(kSirens));
    for (Cue siren : kSirens) EXPECT_LE(sound::loudness(sound::samples(siren)), scenes) << to_string(siren);
}

// A laptop's or a tablet's speakers play little below 250 Hz: a cue whose
// energy lay there would be lost on them, a low sound is voiced through
// its harmonics instead.
TEST(Synthesiser, EveryCueKeepsMostOfItsEnergyWhereSmallSpeakersPlay) {
    for (Cue cue : all_cues()) EXPECT_GE(sound::share_above(sound::samples(cue), 250), 0.7) << to_string(cue);
}

// FNV-1a of the samples, each as two bytes, low byte first.
std::uint32_t checksum(std::span<const std::int16_t> samples) {
    std::uint32_t sum = 2166136261u;
    for (const std::int16_t sample : samples)
        for (const int shift : {0, 8})
            sum = (sum ^ ((static_cast<std::uint16_t>(sample) >> shift) & 0xFFu)) * 16777619u;
    return sum;
}

// Every build, on every compiler and chip, makes these very samples; a change
// to any one of them is made on purpose, with its cue's new sum here.
TEST(Synthesiser, EveryCuesSamplesAreThoseOfEveryBuild) {
    const std::map<std::string_view, std::uint32_t> pinned{
        {"police-siren", 0xd3e3b868}, {"fire-siren", 0xb16407a3}, {"ambulance-siren", 0xbc5e4a28},
        {"forest-horn", 0x7f415024},  {"light-beep", 0x4de2e91e}, {"light-go", 0x40e841b5},
        {"car-step", 0xadd3e9c9},     {"cheer", 0x49d9ad74},      {"too-bad", 0x506dec5b},
        {"pump-water", 0x1bd14ad3},   {"window-out", 0x22b885bc}, {"heartbeat", 0xdfeb1edc},
        {"charge", 0xf36f5186},       {"shock", 0xbebaf0c9},      {"revived", 0x4c280331},
        {"food", 0x67c8f65f},         {"drink", 0xe69940c8},      {"vaccine", 0x953c62e1},
        {"truck-horn", 0xda22f720},   {"dusk-bell", 0x88cf1e66},  {"stars", 0x7bc68abd},
        {"thank-you", 0x64aedbdd},
    };
    for (Cue cue : all_cues()) {
        const auto expected = pinned.find(to_string(cue));
        ASSERT_NE(expected, pinned.end()) << to_string(cue) << " has no pinned sum";
        EXPECT_EQ(checksum(sound::samples(cue)), expected->second)
            << to_string(cue) << ": 0x" << std::hex << checksum(sound::samples(cue));
    }
}

TEST(Synthesiser, TheSirensPitchRisesAndFallsWhileTheBeepsHoldTheirs) {
    for (Cue cue :
         {Cue::PoliceSiren, Cue::FireSiren, Cue::AmbulanceSiren, Cue::ForestHorn, Cue::Heartbeat, Cue::LightBeep}) {
        const auto s = sound::samples(cue);
        const auto counts = crossings(s, std::min(s.size(), kDepartureSamples));
        const auto [low, high] = std::minmax_element(counts.begin(), counts.end());
        const bool siren = std::find(std::begin(kSirens), std::end(kSirens), cue) != std::end(kSirens);
        EXPECT_EQ(*high > *low * 5 / 4, siren) << to_string(cue) << ": " << *low << " to " << *high;
    }
}

// The largest sample, either side of zero.
template <class Sample> int peak_of(const std::vector<Sample>& track) {
    int peak = 0;
    for (const Sample v : track) peak = std::max(peak, std::abs(int{v}));
    return peak;
}

// Sixteen cues at once, as many as the mixer plays, sum to over full
// scale: the mix is turned down, never clipped. Its peaks stay well below
// full scale, where the game's busiest moments stay too, no step from one
// sample to the next is larger than the sum's largest, and the gain moves
// by at most 2% a sample, as a slow hand on a volume knob would, where
// clipping changes it within each cycle.
TEST(Mixer, ManyVoicesAtOnceAreTurnedDownSmoothlyBelowFullScale) {
    sound::Mixer mixer;
    std::vector<int> sum(kSampleRate);
    for (std::size_t i = 0; i < 16; ++i) {
        const Cue cue = all_cues()[i];
        mixer.start(0, cue);
        const auto s = sound::samples(cue);
        for (std::size_t k = 0; k < std::min(s.size(), sum.size()); ++k) sum[k] += s[k];
    }
    std::vector<std::int16_t> out(sum.size());
    for (std::size_t at = 0; at < out.size(); at += 441) mixer.mix(std::span(out).subspan(at, 441));
    ASSERT_GT(peak_of(sum), 32767) << "the sum must need turning down";

    EXPECT_LE(peak_of(out), 32767 * 8 / 10);
    int sum_step = 0;
    int out_step = 0;
    for (std::size_t i = 1; i < out.size(); ++i) {
        sum_step = std::max(sum_step, std::abs(sum[i] - sum[i - 1]));
        out_step = std::max(out_step, std::abs(out[i] - out[i - 1]));
    }
    EXPECT_LE(out_step, sum_step);
    double steepest = 0;
    for (std::size_t i = 1; i < out.size(); ++i)
        if (std::min(std::abs(sum[i]), std::abs(sum[i - 1])) > 32767 / 4)
            steepest = std::max(steepest, std::abs(static_cast<double>(out[i]) / sum[i] -
                                                   static_cast<double>(out[i - 1]) / sum[i - 1]));
    EXPECT_LE(steepest, 0.02);

    // Sixteen shocks, stopped while they are turned down: once they have
    // faded out, and a host has closed its device and mixes nothing more,
    // the next cue plays as it is from its first sample.
    sound::Mixer shocks;
    for (int i = 0; i < 16; ++i) shocks.start(0, Cue::Shock);
    shocks.mix(std::span(out).first(kSampleRate / 50));
    shocks.stop(0);
    while (!shocks.silent()) shocks.mix(std::span(out).first(64));
    const auto beat = sound::samples(Cue::Heartbeat);
    std::vector<std::int16_t> next(beat.size());
    shocks.start(1, Cue::Heartbeat);
    shocks.mix(next);
    EXPECT_EQ(next, std::vector(beat.begin(), beat.end()));
}

// A cue alone passes the mixer as it is; a stopped scene's voices fade out
// without a click while another scene's play on.
TEST(Mixer, AStoppedSceneFadesOutWithoutAClickWhileAnotherPlaysOn) {
    const auto siren = sound::samples(Cue::PoliceSiren);
    const auto beat = sound::samples(Cue::Heartbeat);
    std::vector<std::int16_t> out(beat.size());

    // A siren stopped at its loudest fades out over a few milliseconds,
    // not at once, which clicks, and is gone within 10 ms, while another
    // scene's beat plays on alone.
    const auto loudest = std::max_element(siren.begin() + 1000, siren.begin() + 4000,
                                          [](int a, int b) { return std::abs(a) < std::abs(b); });
    const auto stopped_at = static_cast<std::size_t>(loudest - siren.begin()) + 1;
    std::vector<std::int16_t> before(stopped_at);
    sound::Mixer mixer;
    mixer.start(0, Cue::PoliceSiren);
    mixer.mix(before);
    mixer.start(1, Cue::Heartbeat);
    mixer.stop(0);
    mixer.mix(out);
    long fading = 0;
    long unfaded = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const int rest = out[i] - beat[i];
        const int whole = siren[stopped_at + i];
        ASSERT_LE(std::abs(rest), std::abs(whole) + 1) << "sample " << i;
        if (i < kSampleRate / 500) fading += std::abs(rest), unfaded += std::abs(whole);
        if (i >= kSampleRate / 100) {
            ASSERT_EQ(rest, 0) << "sample " << i;
        }
    }
    EXPECT_GT(fading, unfaded / 2) << "the siren stopped dead instead of fading";
    EXPECT_TRUE(mixer.silent()) << "every voice has ended";
    mixer.mix(out);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](std::int16_t v) { return v == 0; }));
}

// The volume scales the mix as a whole, after the limiter: at 50 every
// sample of sixteen cues turned down together is half of what it is at 100,
// to within rounding. (A cue alone: the desktop loop's volume test.)
TEST(Mixer, TheVolumeScalesTheWholeMix) {
    const auto mixed = [](int volume) {
        sound::Mixer mixer(volume);
        for (std::size_t i = 0; i < 16; ++i) mixer.start(0, all_cues()[i]);
        std::vector<std::int16_t> out(kSampleRate);
        for (std::size_t at = 0; at < out.size(); at += 441) mixer.mix(std::span(out).subspan(at, 441));
        return out;
    };
    const auto full = mixed(100);
    const auto half = mixed(50);
    ASSERT_GT(peak_of(full), 1000);
    for (std::size_t i = 0; i < full.size(); ++i) ASSERT_LE(std::abs(2 * half[i] - full[i]), 1) << "sample " << i;
}

// The cheers and the "too bad"s the game has started since last asked.
std::vector<Cue> endings(Simulation& game) {
    std::vector<Cue> out;
    for (const StartedCue& c : game.take_sounds())
        if (c.cue == Cue::Cheer || c.cue == Cue::TooBad) out.push_back(c.cue);
    return out;
}

// The cues of a game on the virtual clock, with the moments the scenes'
// pictures changed, told apart by what a handler looks at.
class SceneCues : public ::testing::Test, private RuntimeObserver {
protected:
    SceneCues() { sim.watch(this); }

    struct Heard {
        double ms;
        std::string scene;
        Cue cue;
        bool operator==(const Heard&) const = default;
    };

    std::vector<Heard> heard() {
        std::vector<Heard> out;
        for (const StartedCue& c : sim.take_sounds())
            out.push_back({static_cast<double>(c.t) / kMillisecond, c.scene, c.cue});
        return out;
    }
    std::vector<double> times_of(const std::vector<Heard>& cues, Cue cue) {
        std::vector<double> out;
        for (const Heard& h : cues)
            if (h.cue == cue) out.push_back(h.ms);
        return out;
    }
    double now_ms() const { return static_cast<double>(sim.now()) / kMillisecond; }

    // Calls `moment` after each change of a scene; it says whether the
    // change is one it counts, whose time is then kept in moments_.
    void watch_moments(std::function<bool(Scene&)> moment) { moment_ = std::move(moment); }

    void scene_changed(Scene& scene) override {
        if (moment_ && moment_(scene)) moments_.push_back(now_ms());
    }
    void cues_stopped(Scene& scene) override { stopped_.emplace_back(now_ms(), scene.name()); }

    Simulation sim;
    std::function<bool(Scene&)> moment_;
    std::vector<double> moments_;
    std::vector<std::pair<double, std::string>> stopped_; // when each scene's sounds were ended
};

TEST_F(SceneCues, EachDepartureSoundsItsOwnSirenFromTheClickUntilTheMenuGivesWay) {
    const char* portals[] = {"portal1", "portal2", "portal3", "portal4"};
    for (int service = 0; service < 4; ++service) {
        Simulation game;
        game.wait_ms(100);
        game.click("Form1", portals[service]);
        game.wait_ms(300);
        // Another click on the same card, and clicks on the dead ones, sound nothing more.
        for (const char* portal : portals) game.click("Form1", portal);
        game.wait_ms(kDepartureMs + 200);
        const auto cues = game.take_sounds();
        ASSERT_GE(cues.size(), 1u);
        EXPECT_EQ(cues[0].cue, kSirens[service]);
        EXPECT_EQ(cues[0].t, 100 * kMillisecond);
        EXPECT_TRUE(std::none_of(cues.begin() + 1, cues.end(), [](const StartedCue& c) { return c.scene == "Form1"; }))
            << portals[service];
    }
    sim.click("Form1", "portal1");
    sim.wait_ms(kDepartureMs + 50);
    ASSERT_FALSE(stopped_.empty());
    EXPECT_EQ(stopped_[0], std::pair(kDepartureMs, std::string("Form1"))) << "the siren ends as the menu hides";
}

TEST_F(SceneCues, TheStartLightBeepsOnItsChangesAndTheRaceEndsInOneCheerOrOneTooBad) {
    std::vector<Colour> lights;
    watch_moments([&lights](Scene& s) {
        if (s.name() != "Form2") return false;
        std::vector<Colour> now{s.shape("se1").back_color(), s.shape("se2").back_color(), s.shape("se3").back_color()};
        return std::exchange(lights, now) != now && lights.size() == 3;
    });
    sim.click("Form1", "portal1");
    sim.wait_ms(kDepartureMs + 3000);
    auto cues = heard();
    auto beeps = times_of(cues, Cue::LightBeep);
    beeps.push_back(times_of(cues, Cue::LightGo).at(0));
    moments_.erase(moments_.begin()); // the race's first picture
    EXPECT_EQ(beeps, moments_);
    EXPECT_EQ(times_of(cues, Cue::LightGo).size(), 1u);

    // Fast clicks win: one step sound each, then the cheer alone.
    for (int i = 0; i < 60; ++i, sim.wait_ms(40)) sim.click("Form2", 150 + 4 * (i % 2), 524);
    sim.wait_ms(20000);
    cues = heard();
    EXPECT_EQ(times_of(cues, Cue::CarStep).size(), 52u);
    EXPECT_EQ(times_of(cues, Cue::Cheer).size(), 1u);
    EXPECT_TRUE(times_of(cues, Cue::TooBad).empty());

    Simulation idle;
    idle.click("Form1", "portal1");
    idle.wait_ms(30000);
    EXPECT_EQ(endings(idle), std::vector{Cue::TooBad}) << "the rival's win";
}

TEST_F(SceneCues, TheFireHissesForEachWindowPutOutAndEndsInOneCheerOrOneTooBad) {
    sim.click("Form1", "portal2");
    sim.wait_ms(kDepartureMs + 100);
    heard();
    for (int i = 0; i < 40; ++i, sim.wait_ms(20)) sim.click("Form3", 95 + 4 * (i % 2), 340);
    sim.wait_ms(40000);
    auto cues = heard();
    EXPECT_EQ(times_of(cues, Cue::PumpWater).size(), 40u);
    EXPECT_EQ(times_of(cues, Cue::WindowOut).size(), 8u);
    EXPECT_EQ(times_of(cues, Cue::Cheer).size(), 1u);
    EXPECT_TRUE(times_of(cues, Cue::TooBad).empty());

    Simulation idle;
    idle.click("Form1", "portal2");
    idle.wait_ms(kDepartureMs + 100);
    idle.click("Form3", "bomba"); // the clock starts with the first stroke
    idle.wait_ms(45000);
    EXPECT_EQ(endings(idle), std::vector{Cue::TooBad}) << "the water ran out";
}

// The monitor beeps as each peak of the trace is drawn, and not while the
// line lies flat (about 11.5 s to 13 s here); the device charges, shocks twice and the patient revives.
TEST_F(SceneCues, TheMonitorBeepsWithTheTracesPeaksAndTheDeviceChargesShocksAndRevives) {
    int peaks = 0; // of the two the trace draws in a cycle, those drawn now
    watch_moments([&peaks](Scene& s) {
        if (s.name() != "Form4") return false;
        const int now = s.line("v3").visible() + s.line("v6").visible();
        return std::exchange(peaks, now) < now && !s.line("ro").visible();
    });
    sim.click("Form1", "portal3");
    sim.wait_ms(6000);
    sim.click("Form4", 76, 240);
    sim.wait_ms(12000);
    const auto cues = heard();
    // The scene opens on a whole trace; from the first cycle's end on, each
    // peak is seen drawn.
    auto from_second_cycle = [](std::vector<double> times) {
        std::erase_if(times, [](double t) { return t < 6000; });
        return times;
    };
    EXPECT_EQ(from_second_cycle(times_of(cues, Cue::Heartbeat)), from_second_cycle(moments_));
    EXPECT_GE(from_second_cycle(moments_).size(), 4u);
    std::vector<Cue> device;
    for (const Heard& h : cues)
        if (h.cue != Cue::Heartbeat && h.scene == "Form4") device.push_back(h.cue);
    EXPECT_EQ(device, (std::vector{Cue::Charge, Cue::Shock, Cue::Charge, Cue::Shock, Cue::Revived}));
}

TEST_F(SceneCues, AClosedSceneIsSilentAndAClosingStreetEndsWithItsThanks) {
    sim.click("Form1", "portal3");
    sim.wait_ms(kDepartureMs + 100);
    sim.close("Form4");
    heard();
    sim.wait_ms(10000);
    EXPECT_TRUE(heard().empty());

    Simulation street;
    street.click("Form1", "portal4");
    street.wait_ms(60000);
    const auto cues = street.take_sounds();
    ASSERT_FALSE(cues.empty());
    EXPECT_EQ(cues.back().cue, Cue::ThankYou);
    EXPECT_LE(cues.size(), 8u) << "a calm street: a few sounds, no loop";
}

} // namespace
} // namespace guardianes
