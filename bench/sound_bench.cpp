// SPDX-License-Identifier: GPL-3.0-or-later
// Making a cue's samples, as its first sound in a game does once.

#include "bench/benchmarks.h"
#include "bench/figures.h"
#include "sound/synth.h"

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

} // namespace guardianes::bench
