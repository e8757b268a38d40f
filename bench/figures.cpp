// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/figures.h"

namespace guardianes::bench {

namespace {

// Each figure is the median of this many runs, so that one disturbed run
// on a busy machine does not decide it.
constexpr int kRepetitions = 15;
// Each run lasts at least this long, in seconds, after a warm-up that
// leaves out the first iterations: fresh pages, cold caches.
constexpr double kRunTime = 0.1;
constexpr double kWarmUpTime = 0.02;

std::vector<Measure>& all() {
    static std::vector<Measure> list;
    return list;
}

} // namespace

const std::vector<Measure>& figures() { return all(); }

benchmark::internal::Benchmark* detail::configure(benchmark::internal::Benchmark* b, Measure figure) {
    all().push_back(std::move(figure));
    return b->Repetitions(kRepetitions)
        ->ReportAggregatesOnly(true)
        ->MinWarmUpTime(kWarmUpTime)
        ->MinTime(kRunTime)
        ->Unit(benchmark::kMicrosecond);
}

} // namespace guardianes::bench
