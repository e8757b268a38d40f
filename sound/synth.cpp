// SPDX-License-Identifier: GPL-3.0-or-later
// The game's sounds, each a few lines of a recipe: tones whose pitch may
// glide, in a handful of timbres, and noise through a band-pass filter, each
// under its own envelope, mixed into a track and brought to one loudness.
// Small children hear these, often on a laptop's or a tablet's small
// speakers, which play little below 250 Hz: a low sound is voiced through
// its harmonics, every cue is short, starts and ends on silence, and stays
// well below full scale.

#include "sound/synth.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <mutex>
#include <span>
#include <vector>

namespace guardianes::sound {

namespace {

constexpr double kRate = kSampleRate;
constexpr double kPi = 3.14159265358979323846;

// sin(2 pi turn), from a polynomial: the library's sine may round its last
// bit differently from one platform to another.
double sine(double turn) {
    double x = turn - std::floor(turn);
    if (x > 0.75)
        x -= 1.0;
    else if (x > 0.25)
        x = 0.5 - x;
    const double y = 2 * kPi * x;
    const double y2 = y * y;
    return y * (1 + y2 * (-1.0 / 6 + y2 * (1.0 / 120 + y2 * (-1.0 / 5040 + y2 * (1.0 / 362880)))));
}

// A timbre's partials, as (multiple of the fundamental, level, and where
// in its cycle it starts, in turns).
struct Partial {
    double multiple;
    double level;
    double phase = 0;
};

enum class Timbre : std::uint8_t { Pure, Soft, Reed, Horn, Brass, Buzz, Bell };

std::span<const Partial> partials(Timbre timbre) {
    static constexpr std::array<Partial, 1> kPure{{{1, 1}}};
    static constexpr std::array<Partial, 3> kSoft{{{1, 1}, {2, 0.2}, {3, 0.05}}};
    static constexpr std::array<Partial, 3> kReed{{{1, 1}, {3, 0.3}, {5, 0.12}}};
    static constexpr std::array<Partial, 4> kHorn{{{1, 1}, {2, 0.5}, {3, 0.35}, {4, 0.18}}};
    // Warm brass: the second and third partials nearly as strong as the
    // fundamental, the upper ones falling away.
    static constexpr std::array<Partial, 6> kBrass{{{1, 1}, {2, 0.8}, {3, 0.55}, {4, 0.32}, {5, 0.18}, {6, 0.08}}};
    // A motor's or a spark's buzz: a weak fundamental under strong
    // harmonics, which a small speaker plays and the ear hears as the low
    // pitch the speaker leaves out. The partials start spread over their
    // cycles, so that their crests do not all meet: the same sound with
    // lower peaks.
    static constexpr std::array<Partial, 7> kBuzz{{{1, 0.2},
                                                   {2, 0.7, 1.0 / 14},
                                                   {3, 1, 4.0 / 14},
                                                   {4, 0.8, 9.0 / 14},
                                                   {5, 0.55, 2.0 / 14},
                                                   {6, 0.35, 11.0 / 14},
                                                   {7, 0.2, 8.0 / 14}}};
    static constexpr std::array<Partial, 3> kBell{{{1, 1}, {2, 0.25}, {3.01, 0.12}}};
    switch (timbre) {
    case Timbre::Pure: return kPure;
    case Timbre::Soft: return kSoft;
    case Timbre::Reed: return kReed;
    case Timbre::Horn: return kHorn;
    case Timbre::Brass: return kBrass;
    case Timbre::Buzz: return kBuzz;
    case Timbre::Bell: return kBell;
    }
    return kPure;
}

// The timbre's partials that the sample rate carries up to `highest` Hz;
// those above would fold back as other, unrelated tones.
std::span<const Partial> carried(Timbre timbre, double highest) {
    const std::span<const Partial> all = partials(timbre);
    std::size_t count = 0;
    while (count < all.size() && all[count].multiple * highest < 0.45 * kRate) ++count;
    return all.first(count);
}

// One sample of those partials at this point of the fundamental's cycle.
double wave(std::span<const Partial> partials, double turn) {
    double sum = 0;
    for (const Partial& p : partials) sum += p.level * sine(turn * p.multiple + p.phase);
    return sum;
}

// How a sound's level moves: a linear rise, an optional exponential fall
// with this time constant, and a linear release at its end.
struct Envelope {
    double attack = 0.005;
    double release = 0.02;
    double decay = 0; // seconds; 0 holds the level
};

// Steps through an envelope one sample at a time.
class Level {
public:
    Level(Envelope e, std::size_t length)
        : length_(length), attack_(std::max(1.0, e.attack * kRate)), release_(std::max(1.0, e.release * kRate)),
          fall_(e.decay > 0 ? 1 - 1 / (e.decay * kRate) : 1) {}

    double next() {
        const double i = static_cast<double>(at_);
        const double left = static_cast<double>(length_ - at_ - 1);
        const double level = held_ * std::min({1.0, i / attack_, left / release_});
        held_ *= fall_;
        ++at_;
        return level;
    }

private:
    std::size_t length_;
    double attack_;
    double release_;
    double fall_;
    double held_ = 1;
    std::size_t at_ = 0;
};

// Times in the recipes below are whole milliseconds. Counting them first,
// and samples from them in whole numbers, keeps a product's or a quotient's
// last bit (0.7 x 22,050 comes out just under 15,435) from deciding on which
// sample a note starts, ends or changes.
long whole_ms(double seconds) { return std::lround(seconds * 1000); }
std::size_t whole_samples(double seconds) { return static_cast<std::size_t>(whole_ms(seconds)) * kSampleRate / 1000; }

// How a tone's frequency moves, `i` samples into it.
struct Pitch {
    enum class Kind : std::uint8_t { Steady, Glide, Wail, Yelp, TwoTone, Vibrato } kind = Kind::Steady;
    double a = 0;    // Hz
    double b = 0;    // Hz, or the vibrato's depth in Hz
    double span = 1; // seconds of the glide, or the vibrato's rate in Hz
    long period = 1; // milliseconds of one cycle or note

    double highest() const { return kind == Kind::Vibrato ? a + b : std::max(a, b); }

    double at(std::size_t i) const {
        const double t = static_cast<double>(i) / kRate;
        switch (kind) {
        case Kind::Steady: return a;
        case Kind::Glide: return a + (b - a) * std::min(1.0, t / span);
        case Kind::Vibrato: return a + b * sine(span * t);
        case Kind::Wail:
        case Kind::Yelp:
        case Kind::TwoTone: break;
        }
        // Sample i lies i x 1,000 thousandths of a sample in, and a period
        // is `period` x 22,050 of them: which period it falls in, and how
        // far into it, are whole-number sums.
        const auto in = static_cast<std::uint64_t>(i) * 1000;
        const auto whole = static_cast<std::uint64_t>(period) * kSampleRate;
        const double cycle = static_cast<double>(in % whole) / static_cast<double>(whole);
        if (kind == Kind::Wail) return a + (b - a) * (cycle < 0.5 ? 2 * cycle : 2 - 2 * cycle);
        if (kind == Kind::Yelp) return a + (b - a) * (cycle < 0.75 ? cycle / 0.75 : 4 - 4 * cycle);
        return (in / whole) % 2 == 0 ? a : b;
    }
};

// A steady note, and pitches that rise and fall between two frequencies
// once per `period`, climb over three quarters of each period and fall back
// in the last, take turns `each` seconds apiece, or glide once from one to
// the other.
Pitch steady(double hz) { return {Pitch::Kind::Steady, hz, hz}; }
Pitch wail(double low, double high, double period) { return {Pitch::Kind::Wail, low, high, 1, whole_ms(period)}; }
Pitch yelp(double low, double high, double period) { return {Pitch::Kind::Yelp, low, high, 1, whole_ms(period)}; }
Pitch two_tone(double first, double second, double each) {
    return {Pitch::Kind::TwoTone, first, second, 1, whole_ms(each)};
}
Pitch glide(double from, double to, double length) { return {Pitch::Kind::Glide, from, to, length}; }
Pitch vibrato(double hz, double depth, double rate) { return {Pitch::Kind::Vibrato, hz, depth, rate}; }

// Noise through a band-pass filter around `centre`, which may glide, `q`
// sharp (0.7 a broad hiss, 4 nearly a whistle), at the same level at the
// centre whatever its width. With `grains` a second, it comes in tiny
// random crackles, as a crunch or a spark does, instead of a steady hiss.
struct Noise {
    Pitch centre;
    double q = 1;
    double grains = 0;
};

class Track {
public:
    explicit Track(double seconds) : mix_(whole_samples(seconds)) {}

    // A tone from `at` seconds for `length`.
    void tone(double at, double length, Pitch pitch, Timbre timbre, double loudness, Envelope e = {}) {
        const auto [first, count] = span(at, length);
        const std::span<const Partial> partials = carried(timbre, pitch.highest());
        Level level(e, count);
        double turn = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const double hz = pitch.at(i);
            mix_[first + i] += loudness * level.next() * wave(partials, turn);
            turn += hz / kRate;
        }
    }
    // A tone that holds its pitch.
    void note(double at, double length, double hz, Timbre timbre, double loudness, Envelope e = {}) {
        tone(at, length, steady(hz), timbre, loudness, e);
    }

    // Noise from `at` seconds for `length`, through a band-pass filter.
    void noise(double at, double length, Noise n, double loudness, Envelope e = {}) {
        const auto [first, count] = span(at, length);
        Level level(e, count);
        double band = 0;
        double low = 0;
        double grain = 1;
        double hz = -1;
        double g = 0;
        for (std::size_t i = 0; i < count; ++i) {
            double white = random();
            if (n.grains > 0) {
                grain *= kGrainFall;
                if ((random() + 1) / 2 < n.grains / kRate) grain = 1;
                white *= grain;
            }
            // A state-variable filter in its trapezoidal form, steady at
            // any centre up to half the sample rate; its tuning is worked
            // out again only when the centre moves.
            if (const double centre = n.centre.at(i); centre != hz) {
                hz = centre;
                const double turn = std::min(hz, 0.45 * kRate) / (2 * kRate);
                g = sine(turn) / sine(turn + 0.25);
            }
            const double k = 1 / n.q;
            const double a1 = 1 / (1 + g * (g + k));
            const double v3 = white - low;
            const double v1 = a1 * band + g * a1 * v3;
            const double v2 = low + g * v1;
            band = 2 * v1 - band;
            low = 2 * v2 - low;
            mix_[first + i] += loudness * level.next() * k * v1;
        }
    }

    // The track as samples, `level` times full scale: each cue's level is
    // set once, by measuring it, to bring it to the loudness all cues share
    // (see the recipes below).
    std::vector<std::int16_t> finish(double level) const {
        const std::size_t fade = std::min<std::size_t>(mix_.size() / 2, static_cast<std::size_t>(0.004 * kRate));
        std::vector<std::int16_t> out(mix_.size());
        for (std::size_t i = 0; i < mix_.size(); ++i) {
            const std::size_t edge = std::min(i, mix_.size() - 1 - i);
            const double ramp = edge < fade ? static_cast<double>(edge) / static_cast<double>(fade) : 1;
            out[i] = static_cast<std::int16_t>(std::lround(std::clamp(mix_[i] * level * ramp, -1.0, 1.0) * 32767));
        }
        return out;
    }

private:
    std::pair<std::size_t, std::size_t> span(double at, double length) const {
        const std::size_t first = std::min(mix_.size(), whole_samples(at));
        const std::size_t count = std::min(mix_.size() - first, whole_samples(length));
        return {first, count};
    }

    // White noise from -1 to 1, the same sequence in every track.
    double random() {
        seed_ = seed_ * 1664525u + 1013904223u;
        return static_cast<double>(static_cast<std::int32_t>(seed_)) / 2147483648.0;
    }

    // A crackle's grain dies away within a millisecond.
    static constexpr double kGrainFall = 0.95;

    std::vector<double> mix_;
    std::uint32_t seed_ = 0x2545F491u;
};

// Musical notes used below.
constexpr double C4 = 261.63, E4 = 329.63, G4 = 392.00, Bb4 = 466.16, C5 = 523.25, D5 = 587.33, E5 = 659.26,
                 G5 = 783.99, C6 = 1046.50, E6 = 1318.51, G6 = 1567.98, B6 = 1975.53, C7 = 2093.00;

// The departures last 1.25 s, until the scene opens; each siren is a little
// longer so that the change of scene, not the sound, ends it.
constexpr double kDeparture = 1.45;

} // namespace

// Each recipe ends in its level, found by measuring the cue: every cue
// sounds at about -20 dB by sound::loudness, the departures a decibel
// under the scenes' own sounds (sound_test checks both, and prints a cue's
// loudness when a recipe changes it).
std::vector<std::int16_t> synthesise(Cue cue) {
    switch (cue) {
    case Cue::PoliceSiren: {
        Track t(kDeparture);
        t.tone(0, kDeparture, wail(620, 1150, 0.9), Timbre::Reed, 1, {.attack = 0.04, .release = 0.1});
        return t.finish(0.116);
    }
    case Cue::FireSiren: {
        Track t(kDeparture);
        t.tone(0, kDeparture, two_tone(D5, G5, 0.36), Timbre::Reed, 1, {.attack = 0.03, .release = 0.1});
        return t.finish(0.129);
    }
    case Cue::AmbulanceSiren: {
        // A yelp that climbs and slides back, rather than dropping at once,
        // in a rounder timbre than the police's wail.
        Track t(kDeparture);
        t.tone(0, kDeparture, yelp(650, 1250, 0.3), Timbre::Soft, 1, {.attack = 0.03, .release = 0.1});
        return t.finish(0.121);
    }
    case Cue::ForestHorn: {
        Track t(kDeparture);
        t.tone(0, kDeparture, two_tone(G4, C5, 0.45), Timbre::Horn, 1, {.attack = 0.05, .release = 0.12});
        return t.finish(0.129);
    }
    case Cue::LightBeep: {
        Track t(0.18);
        t.note(0, 0.18, 660, Timbre::Reed, 1, {.attack = 0.006, .release = 0.04});
        return t.finish(0.181);
    }
    case Cue::LightGo: {
        // An octave above the beeps, in a rounder timbre that dies away.
        Track t(0.4);
        t.note(0, 0.4, 1320, Timbre::Soft, 1, {.attack = 0.006, .release = 0.12, .decay = 0.4});
        return t.finish(0.163);
    }
    case Cue::CarStep: {
        // A short motor's rev: a buzz whose pitch climbs, with a rasp.
        Track t(0.09);
        t.tone(0, 0.09, glide(150, 230, 0.09), Timbre::Buzz, 1, {.attack = 0.004, .release = 0.03});
        t.noise(0, 0.07, {.centre = steady(1200), .q = 0.8}, 0.3, {.attack = 0.002, .release = 0.04});
        return t.finish(0.192);
    }
    case Cue::Cheer: {
        Track t(1.0);
        const double notes[] = {C5, E5, G5};
        for (int i = 0; i < 3; ++i) t.note(0.11 * i, 0.14, notes[i], Timbre::Reed, 1, {.release = 0.03});
        t.note(0.33, 0.65, C6, Timbre::Reed, 1, {.release = 0.25});
        t.note(0.33, 0.65, E6, Timbre::Pure, 0.4, {.release = 0.25});
        return t.finish(0.12);
    }
    case Cue::TooBad: {
        // The cheer's chord stepping gently down, in warm brass: "oh well".
        Track t(1.2);
        t.note(0, 0.28, G4, Timbre::Brass, 1, {.attack = 0.03, .release = 0.06});
        t.note(0.26, 0.28, E4, Timbre::Brass, 1, {.attack = 0.03, .release = 0.06});
        t.tone(0.52, 0.68, vibrato(C4, 2.5, 5), Timbre::Brass, 1, {.attack = 0.03, .release = 0.3});
        return t.finish(0.121);
    }
    case Cue::PumpWater: {
        // A jet of water: a hiss whose colour falls as it goes.
        Track t(0.25);
        t.noise(0, 0.25, {.centre = glide(1800, 700, 0.25)}, 1, {.attack = 0.01, .release = 0.06, .decay = 0.25});
        t.noise(0, 0.2, {.centre = steady(450), .q = 0.9}, 0.5, {.attack = 0.01, .release = 0.05, .decay = 0.15});
        return t.finish(0.572);
    }
    case Cue::WindowOut: {
        // The flames hiss out, and a small rising tone rewards it.
        Track t(0.5);
        t.noise(0, 0.3, {.centre = steady(2500), .q = 0.8}, 2.5, {.attack = 0.01, .release = 0.1, .decay = 0.15});
        t.tone(0.2, 0.3, glide(660, 1320, 0.1), Timbre::Bell, 0.5, {.attack = 0.01, .release = 0.1, .decay = 0.2});
        return t.finish(0.207);
    }
    case Cue::Heartbeat: {
        Track t(0.1);
        t.note(0, 0.1, 1000, Timbre::Pure, 1, {.attack = 0.005, .release = 0.03});
        return t.finish(0.229);
    }
    case Cue::Charge: {
        Track t(0.7);
        t.tone(0, 0.7, glide(500, 2200, 0.7), Timbre::Pure, 1, {.attack = 0.2, .release = 0.05});
        return t.finish(0.124);
    }
    case Cue::Shock: {
        // An electric zap, a crackle and a falling buzz, over a thump heard
        // through its harmonics.
        Track t(0.25);
        t.noise(0, 0.18, {.centre = glide(3200, 1500, 0.18), .grains = 3000}, 2,
                {.attack = 0.001, .release = 0.06, .decay = 0.12});
        t.tone(0, 0.18, glide(900, 300, 0.18), Timbre::Buzz, 0.8, {.attack = 0.002, .release = 0.06, .decay = 0.12});
        t.tone(0, 0.25, glide(140, 80, 0.25), Timbre::Buzz, 0.5, {.attack = 0.003, .release = 0.08, .decay = 0.1});
        return t.finish(0.162);
    }
    case Cue::Revived: {
        Track t(1.0);
        const double notes[] = {G5, C6, E6};
        for (int i = 0; i < 3; ++i)
            t.note(0.12 * i, 1.0 - 0.12 * i, notes[i], Timbre::Bell, 1,
                   {.attack = 0.004, .release = 0.1, .decay = 0.3});
        return t.finish(0.128);
    }
    case Cue::Food: {
        // Three bites: a crunch of crackles over a short chomp.
        Track t(0.3);
        for (double at : {0.0, 0.1, 0.2}) {
            t.noise(at, 0.09, {.centre = steady(2000), .q = 0.9, .grains = 3500}, 3,
                    {.attack = 0.002, .release = 0.04, .decay = 0.3});
            t.tone(at, 0.06, glide(240, 170, 0.06), Timbre::Buzz, 0.2, {.attack = 0.002, .release = 0.03});
        }
        return t.finish(0.175);
    }
    case Cue::Drink: {
        // Two gulps: round bubbles whose pitch leaps up.
        Track t(0.2);
        t.tone(0, 0.08, glide(300, 760, 0.08), Timbre::Soft, 1, {.attack = 0.006, .release = 0.04});
        t.tone(0.1, 0.1, glide(360, 900, 0.08), Timbre::Soft, 1, {.attack = 0.006, .release = 0.05});
        return t.finish(0.251);
    }
    case Cue::Vaccine: {
        // A light pinch, then a sparkle of three small bells.
        Track t(0.35);
        t.noise(0, 0.012, {.centre = steady(5000)}, 1.5, {.attack = 0.001, .release = 0.008});
        t.tone(0, 0.03, glide(2400, 1200, 0.03), Timbre::Pure, 1.5, {.attack = 0.001, .release = 0.015});
        const double notes[] = {E6, G6, C7};
        for (int i = 0; i < 3; ++i)
            t.note(0.05 + 0.05 * i, 0.3 - 0.05 * i, notes[i], Timbre::Bell, 0.7,
                   {.attack = 0.002, .release = 0.06, .decay = 0.06});
        return t.finish(0.195);
    }
    case Cue::TruckHorn: {
        // Two honks of a two-note horn, high enough for a small speaker.
        Track t(0.5);
        for (double at : {0.0, 0.26}) {
            t.note(at, 0.2, Bb4, Timbre::Horn, 1, {.attack = 0.015, .release = 0.04});
            t.note(at, 0.2, D5, Timbre::Horn, 1, {.attack = 0.015, .release = 0.04});
        }
        return t.finish(0.113);
    }
    case Cue::DuskBell: {
        Track t(1.6);
        t.note(0, 1.6, E5, Timbre::Bell, 1, {.attack = 0.01, .release = 0.3, .decay = 0.5});
        return t.finish(0.197);
    }
    case Cue::Stars: {
        Track t(1.4);
        const double notes[] = {C6, E6, G6, B6, C7};
        for (int i = 0; i < 5; ++i)
            t.note(0.15 * i, 1.4 - 0.15 * i, notes[i], Timbre::Bell, 1,
                   {.attack = 0.004, .release = 0.2, .decay = 0.2});
        return t.finish(0.14);
    }
    case Cue::ThankYou: {
        Track t(2.2);
        const double notes[] = {C5, E5, G5, E5, G5, C6};
        const double at[] = {0, 0.2, 0.4, 0.6, 0.8, 1.0};
        for (int i = 0; i < 6; ++i)
            t.note(at[i], std::min(1.2, 2.2 - at[i]), notes[i], Timbre::Bell, 1,
                   {.attack = 0.006, .release = 0.3, .decay = 0.25});
        return t.finish(0.178);
    }
    }
    return {};
}

std::span<const std::int16_t> samples(Cue cue) {
    struct Made {
        std::once_flag once;
        std::vector<std::int16_t> samples;
    };
    static std::array<Made, kCueCount> made;
    const auto index = static_cast<std::size_t>(cue);
    if (index >= kCueCount) return {};
    Made& m = made[index];
    std::call_once(m.once, [&m, cue] { m.samples = synthesise(cue); });
    return m.samples;
}

} // namespace guardianes::sound
