// SPDX-License-Identifier: GPL-3.0-or-later
// Making a cue's samples, as its first sound in a game does once, and what
// each cue measures: how long, how high its peak, how loud, and how much of
// it a small speaker plays.

#include "bench/benchmarks.h"
#include "bench/figures.h"
#include "sound/loudness.h"
#include "sound/synth.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <string>

namespace guardianes::bench {

namespace {

// A few milliseconds, once: a cue must not be heard late the first time.
constexpr double kLongestCueNs = 5'000'000;

void synthesise(benchmark::State& state, std::vector<Cue> cues) {
    for (auto _ : state)
        for (Cue cue : cues) benchmark::DoNotOptimize(sound::synthesise(cue));
}

} // namespace

void add_sound_figure() {
    std::vector<Cue> every;
    for (std::size_t i = 0; i < kCueCount; ++i) every.push_back(static_cast<Cue>(i));
    add_figure({"sound/longest",
                "making the longest cue's samples (the closing thanks)",
                Limit::DesignFill,
                {},
                kLongestCueNs,
                false},
               [](benchmark::State& s) { synthesise(s, {Cue::ThankYou}); });
    add_figure({"sound/every", "making every cue's samples", Limit::DesignFill, {}, {}, false},
               [every](benchmark::State& s) { synthesise(s, every); });
}

void print_cue_table(std::ostream& out) {
    char line[128];
    std::snprintf(line, sizeof line, "\n%-16s %8s %9s %10s %13s\n", "cue", "length", "peak", "loudness",
                  "above 250 Hz");
    out << line;
    double quietest = 0;
    double loudest = -200;
    for (std::size_t i = 0; i < kCueCount; ++i) {
        const auto cue = static_cast<Cue>(i);
        const auto samples = sound::samples(cue);
        int peak = 1;
        for (const std::int16_t v : samples) peak = std::max(peak, std::abs(int{v}));
        const double loudness = sound::loudness(samples);
        quietest = std::min(quietest, loudness);
        loudest = std::max(loudest, loudness);
        std::snprintf(line, sizeof line, "%-16s %5.0f ms %6.1f dB %7.1f dB %11.0f %%\n",
                      std::string(to_string(cue)).c_str(),
                      1000.0 * static_cast<double>(samples.size()) / sound::kSampleRate,
                      20 * std::log10(peak / 32768.0), loudness, 100 * sound::share_above(samples, 250));
        out << line;
    }
    std::snprintf(line, sizeof line, "loudness (A-weighted, loudest %.0f ms) from %.1f to %.1f dB\n",
                  1000 * sound::kLoudnessWindowSeconds, quietest, loudest);
    out << line;
}

} // namespace guardianes::bench
