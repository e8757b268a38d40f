// SPDX-License-Identifier: GPL-3.0-or-later
// The game's sounds, each a few lines of a recipe: tones whose pitch may
// glide, in a handful of timbres, and noise through a one-pole filter, each
// under its own envelope, mixed into a track and brought to a soft level.
// Small children hear these, often on headphones: every cue is short, starts
// and ends on silence, and stays well below full scale.

#include "sound/synth.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <mutex>
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

// Partials above the fundamental, as (multiple, level).
struct Partial {
    double multiple;
    double level;
};

enum class Timbre : std::uint8_t { Pure, Reed, Horn, Bell };

double wave(Timbre timbre, double turn) {
    static constexpr std::array<Partial, 2> kReed{{{3, 0.3}, {5, 0.12}}};
    static constexpr std::array<Partial, 3> kHorn{{{2, 0.5}, {3, 0.35}, {4, 0.18}}};
    static constexpr std::array<Partial, 2> kBell{{{2, 0.25}, {3.01, 0.12}}};
    double sum = sine(turn);
    auto add = [&](const auto& partials) {
        for (const Partial& p : partials) sum += p.level * sine(turn * p.multiple);
    };
    switch (timbre) {
    case Timbre::Pure: break;
    case Timbre::Reed: add(kReed); break;
    case Timbre::Horn: add(kHorn); break;
    case Timbre::Bell: add(kBell); break;
    }
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

    double at(std::size_t i) const {
        // Sample i lies i x 1,000 thousandths of a sample in, and a period
        // is `period` x 22,050 of them: which period it falls in, and how
        // far into it, are whole-number sums.
        const auto in = static_cast<std::uint64_t>(i) * 1000;
        const auto whole = static_cast<std::uint64_t>(period) * kSampleRate;
        const double cycle = static_cast<double>(in % whole) / static_cast<double>(whole);
        const double t = static_cast<double>(i) / kRate;
        switch (kind) {
        case Kind::Steady: break;
        case Kind::Glide: return a + (b - a) * std::min(1.0, t / span);
        case Kind::Wail: return a + (b - a) * (cycle < 0.5 ? 2 * cycle : 2 - 2 * cycle);
        case Kind::Yelp: return a + (b - a) * cycle;
        case Kind::TwoTone: return (in / whole) % 2 == 0 ? a : b;
        case Kind::Vibrato: return a + b * sine(span * t);
        }
        return a;
    }
};

// A steady note, and pitches that rise and fall between two frequencies
// once per `period`, climb over each period and drop, take turns `each`
// seconds apiece, or glide once from one to the other.
Pitch steady(double hz) { return {Pitch::Kind::Steady, hz, hz}; }
Pitch wail(double low, double high, double period) { return {Pitch::Kind::Wail, low, high, 1, whole_ms(period)}; }
Pitch yelp(double low, double high, double period) { return {Pitch::Kind::Yelp, low, high, 1, whole_ms(period)}; }
Pitch two_tone(double first, double second, double each) {
    return {Pitch::Kind::TwoTone, first, second, 1, whole_ms(each)};
}
Pitch glide(double from, double to, double length) { return {Pitch::Kind::Glide, from, to, length}; }
Pitch vibrato(double hz, double depth, double rate) { return {Pitch::Kind::Vibrato, hz, depth, rate}; }

class Track {
public:
    explicit Track(double seconds) : mix_(whole_samples(seconds)) {}

    // A tone from `at` seconds for `length`.
    void tone(double at, double length, Pitch pitch, Timbre timbre, double loudness, Envelope e = {}) {
        const auto [first, count] = span(at, length);
        Level level(e, count);
        double turn = 0;
        for (std::size_t i = 0; i < count; ++i) {
            mix_[first + i] += loudness * level.next() * wave(timbre, turn);
            turn += pitch.at(i) / kRate;
        }
    }
    // A tone that holds its pitch.
    void note(double at, double length, double hz, Timbre timbre, double loudness, Envelope e = {}) {
        tone(at, length, steady(hz), timbre, loudness, e);
    }

    // Noise through a one-pole low-pass (`smooth` near 1 is darker); with
    // `high`, what that filter takes away instead: a hiss.
    void noise(double at, double length, double smooth, bool high, double loudness, Envelope e = {}) {
        const auto [first, count] = span(at, length);
        Level level(e, count);
        double low = 0;
        for (std::size_t i = 0; i < count; ++i) {
            seed_ = seed_ * 1664525u + 1013904223u;
            const double white = static_cast<double>(static_cast<std::int32_t>(seed_)) / 2147483648.0;
            low += (1 - smooth) * (white - low);
            mix_[first + i] += loudness * level.next() * (high ? white - low : low);
        }
    }

    // The track as samples whose loudest reaches `peak` of full scale,
    // faded over its first and last few milliseconds.
    std::vector<std::int16_t> finish(double peak) const {
        double loudest = 1e-9;
        for (double v : mix_) loudest = std::max(loudest, std::abs(v));
        const double gain = peak * 32767 / loudest;
        const std::size_t fade = std::min<std::size_t>(mix_.size() / 2, static_cast<std::size_t>(0.004 * kRate));
        std::vector<std::int16_t> out(mix_.size());
        for (std::size_t i = 0; i < mix_.size(); ++i) {
            const std::size_t edge = std::min(i, mix_.size() - 1 - i);
            const double ramp = edge < fade ? static_cast<double>(edge) / static_cast<double>(fade) : 1;
            out[i] = static_cast<std::int16_t>(std::lround(mix_[i] * gain * ramp));
        }
        return out;
    }

private:
    std::pair<std::size_t, std::size_t> span(double at, double length) const {
        const std::size_t first = std::min(mix_.size(), whole_samples(at));
        const std::size_t count = std::min(mix_.size() - first, whole_samples(length));
        return {first, count};
    }

    std::vector<double> mix_;
    std::uint32_t seed_ = 0x2545F491u;
};

// Musical notes used below.
constexpr double C5 = 523.25, E5 = 659.26, G5 = 783.99, C6 = 1046.50, E6 = 1318.51, G6 = 1567.98, B6 = 1975.53,
                 C7 = 2093.00, G4 = 392.00, Fs4 = 369.99, F4 = 349.23, D5 = 587.33;

// The departures last 1.25 s, until the scene opens; each siren is a little
// longer so that the change of scene, not the sound, ends it.
constexpr double kDeparture = 1.45;

} // namespace

std::vector<std::int16_t> synthesise(Cue cue) {
    switch (cue) {
    case Cue::PoliceSiren: {
        Track t(kDeparture);
        t.tone(0, kDeparture, wail(620, 1150, 0.9), Timbre::Reed, 1, {.attack = 0.04, .release = 0.1});
        return t.finish(0.22);
    }
    case Cue::FireSiren: {
        Track t(kDeparture);
        t.tone(0, kDeparture, two_tone(D5, G5, 0.36), Timbre::Reed, 1, {.attack = 0.03, .release = 0.1});
        return t.finish(0.22);
    }
    case Cue::AmbulanceSiren: {
        Track t(kDeparture);
        t.tone(0, kDeparture, yelp(700, 1350, 0.3), Timbre::Reed, 1, {.attack = 0.03, .release = 0.1});
        return t.finish(0.2);
    }
    case Cue::ForestHorn: {
        Track t(kDeparture);
        t.tone(0, kDeparture, two_tone(G4, C5, 0.45), Timbre::Horn, 1, {.attack = 0.05, .release = 0.12});
        return t.finish(0.24);
    }
    case Cue::LightBeep: {
        Track t(0.18);
        t.note(0, 0.18, 660, Timbre::Reed, 1, {.attack = 0.006, .release = 0.04});
        return t.finish(0.2);
    }
    case Cue::LightGo: {
        Track t(0.4);
        t.note(0, 0.4, 1320, Timbre::Reed, 1, {.attack = 0.006, .release = 0.12});
        return t.finish(0.22);
    }
    case Cue::CarStep: {
        Track t(0.09);
        t.tone(0, 0.09, glide(150, 240, 0.09), Timbre::Reed, 1, {.attack = 0.005, .release = 0.04});
        t.noise(0, 0.06, 0.9, false, 0.4, {.attack = 0.002, .release = 0.03});
        return t.finish(0.16);
    }
    case Cue::Cheer: {
        Track t(1.0);
        const double notes[] = {C5, E5, G5};
        for (int i = 0; i < 3; ++i) t.note(0.11 * i, 0.14, notes[i], Timbre::Reed, 1, {.release = 0.03});
        t.note(0.33, 0.65, C6, Timbre::Reed, 1, {.release = 0.25});
        t.note(0.33, 0.65, E6, Timbre::Pure, 0.4, {.release = 0.25});
        return t.finish(0.25);
    }
    case Cue::TooBad: {
        Track t(1.3);
        t.note(0, 0.3, G4, Timbre::Pure, 1, {.attack = 0.02, .release = 0.06});
        t.note(0.32, 0.3, Fs4, Timbre::Pure, 1, {.attack = 0.02, .release = 0.06});
        t.tone(0.64, 0.64, vibrato(F4, 6, 5), Timbre::Pure, 1, {.attack = 0.02, .release = 0.3});
        return t.finish(0.2);
    }
    case Cue::PumpWater: {
        Track t(0.25);
        t.noise(0, 0.25, 0.8, false, 1, {.attack = 0.01, .release = 0.05, .decay = 0.08});
        t.tone(0, 0.2, glide(320, 140, 0.2), Timbre::Pure, 0.35, {.attack = 0.01, .release = 0.05});
        return t.finish(0.2);
    }
    case Cue::WindowOut: {
        Track t(0.5);
        t.noise(0, 0.5, 0.6, true, 1, {.attack = 0.01, .release = 0.08, .decay = 0.15});
        return t.finish(0.14);
    }
    case Cue::Heartbeat: {
        Track t(0.1);
        t.note(0, 0.1, 1000, Timbre::Pure, 1, {.attack = 0.005, .release = 0.03});
        return t.finish(0.14);
    }
    case Cue::Charge: {
        Track t(0.7);
        t.tone(0, 0.7, glide(500, 2200, 0.7), Timbre::Pure, 1, {.attack = 0.2, .release = 0.05});
        return t.finish(0.13);
    }
    case Cue::Shock: {
        Track t(0.25);
        t.noise(0, 0.2, 0.3, false, 0.7, {.attack = 0.002, .release = 0.05, .decay = 0.05});
        t.tone(0, 0.25, glide(120, 60, 0.25), Timbre::Pure, 1, {.attack = 0.003, .release = 0.08, .decay = 0.1});
        return t.finish(0.24);
    }
    case Cue::Revived: {
        Track t(1.0);
        const double notes[] = {G5, C6, E6};
        for (int i = 0; i < 3; ++i)
            t.note(0.12 * i, 1.0 - 0.12 * i, notes[i], Timbre::Bell, 1,
                   {.attack = 0.004, .release = 0.1, .decay = 0.3});
        return t.finish(0.22);
    }
    case Cue::Food: {
        Track t(0.22);
        t.noise(0, 0.06, 0.7, false, 1, {.attack = 0.002, .release = 0.02});
        t.noise(0.12, 0.06, 0.7, false, 1, {.attack = 0.002, .release = 0.02});
        return t.finish(0.16);
    }
    case Cue::Drink: {
        Track t(0.15);
        t.tone(0, 0.15, glide(250, 650, 0.15), Timbre::Pure, 1, {.attack = 0.01, .release = 0.04});
        return t.finish(0.18);
    }
    case Cue::Vaccine: {
        Track t(0.3);
        t.note(0, 0.3, 1800, Timbre::Bell, 1, {.attack = 0.002, .release = 0.05, .decay = 0.07});
        return t.finish(0.14);
    }
    case Cue::TruckHorn: {
        Track t(0.5);
        for (double at : {0.0, 0.26}) {
            t.note(at, 0.2, 233.08, Timbre::Horn, 1, {.attack = 0.015, .release = 0.04});
            t.note(at, 0.2, 293.66, Timbre::Horn, 1, {.attack = 0.015, .release = 0.04});
        }
        return t.finish(0.2);
    }
    case Cue::DuskBell: {
        Track t(1.6);
        t.note(0, 1.6, E5, Timbre::Bell, 1, {.attack = 0.01, .release = 0.3, .decay = 0.5});
        return t.finish(0.12);
    }
    case Cue::Stars: {
        Track t(1.4);
        const double notes[] = {C6, E6, G6, B6, C7};
        for (int i = 0; i < 5; ++i)
            t.note(0.15 * i, 1.4 - 0.15 * i, notes[i], Timbre::Bell, 1,
                   {.attack = 0.004, .release = 0.2, .decay = 0.2});
        return t.finish(0.1);
    }
    case Cue::ThankYou: {
        Track t(2.2);
        const double notes[] = {C5, E5, G5, E5, G5, C6};
        const double at[] = {0, 0.2, 0.4, 0.6, 0.8, 1.0};
        for (int i = 0; i < 6; ++i)
            t.note(at[i], std::min(1.2, 2.2 - at[i]), notes[i], Timbre::Bell, 1,
                   {.attack = 0.006, .release = 0.3, .decay = 0.25});
        return t.finish(0.16);
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
