// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <benchmark/benchmark.h>

#include <iosfwd>
#include <map>
#include <string>
#include <vector>

namespace guardianes::bench {

// Shows Google Benchmark's usual lines as the runs finish and keeps each
// benchmark's median, so that the figures can be printed together at the
// end with their ratios to the limits of the same run.
class SummaryReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;

    // Prints the table of figures; returns how many targets were missed.
    // A figure whose benchmark did not run (filtered out, or failed) is
    // shown as such and counts as missed only if it failed.
    int print_figures(std::ostream& out) const;

private:
    std::map<std::string, double> median_ns_;
    std::map<std::string, double> allocations_;
    std::map<std::string, std::string> errors_;
};

} // namespace guardianes::bench
