// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <benchmark/benchmark.h>

#include <optional>
#include <string>
#include <vector>

namespace guardianes::bench {

// The two limits of this machine that every figure is compared with:
// filling a frame of one size with one colour.
enum class Limit { DesignFill, WideFill };

// One figure the bench prints: the median of one benchmark, its ratio to a
// limit measured in the same run, and the target it must meet, if any.
struct Measure {
    std::string benchmark; // the registered name
    std::string label;     // as printed
    Limit compared_to = Limit::DesignFill;
    std::optional<double> max_ratio; // to the limit
    std::optional<double> max_ns;    // in absolute time
    // Whether the benchmark counts allocations per iteration, which must be none.
    bool counts_allocations = false;
};

// The name of the counter of allocations per iteration.
inline constexpr const char* kAllocations = "allocations";

// Every figure, in the order registered, which is the order printed.
const std::vector<Measure>& figures();

// The benchmark names of the two limits.
inline constexpr const char* kDesignFill = "fill/design";
inline constexpr const char* kWideFill = "fill/1920x1080";

namespace detail {
benchmark::internal::Benchmark* configure(benchmark::internal::Benchmark* b, Measure figure);
} // namespace detail

// Registers a benchmark under `figure.benchmark` with the settings every
// figure shares (repeated runs, medians), and records the figure.
template <class Fn> benchmark::internal::Benchmark* add_figure(Measure figure, Fn run) {
    auto* b = benchmark::RegisterBenchmark(figure.benchmark.c_str(), std::move(run));
    return detail::configure(b, std::move(figure));
}

} // namespace guardianes::bench
