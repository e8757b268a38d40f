// SPDX-License-Identifier: GPL-3.0-or-later
// Making every cue's samples, as the first sound of a game does once.

#include "bench/benchmarks.h"
#include "bench/figures.h"
#include "sound/synth.h"

namespace guardianes::bench {

namespace {

// A few milliseconds, once: the first cue must not be heard late.
constexpr double kSynthesisNs = 10'000'000;

void synthesise_every_cue(benchmark::State& state) {
    for (auto _ : state)
        for (std::size_t i = 0; i < kCueCount; ++i) benchmark::DoNotOptimize(sound::synthesise(static_cast<Cue>(i)));
}

} // namespace

void add_sound_figure() {
    add_figure({"sound/synthesise", "making every cue's samples, once", Limit::DesignFill, {}, kSynthesisNs, false},
               synthesise_every_cue);
}

} // namespace guardianes::bench
