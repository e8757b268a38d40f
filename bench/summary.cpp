// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/summary.h"

#include "bench/figures.h"

#include <cstdio>
#include <optional>
#include <ostream>

namespace guardianes::bench {

namespace {

std::string format_time(double ns) {
    char text[32];
    if (ns >= 1e9)
        std::snprintf(text, sizeof text, "%.3f s", ns / 1e9);
    else if (ns >= 1e6)
        std::snprintf(text, sizeof text, "%.2f ms", ns / 1e6);
    else if (ns >= 1e3)
        std::snprintf(text, sizeof text, "%.2f us", ns / 1e3);
    else
        std::snprintf(text, sizeof text, "%.0f ns", ns);
    return text;
}

std::string format_ratio(double ratio) {
    char text[32];
    std::snprintf(text, sizeof text, ratio < 10 ? "%.3fx" : "%.0fx", ratio);
    return text;
}

std::string format_count(double count) {
    char text[32];
    std::snprintf(text, sizeof text, count == static_cast<long long>(count) ? "%.0f" : "%.2f", count);
    return text;
}

std::string target_of(const Measure& figure) {
    if (figure.max_ratio) return "< " + format_ratio(*figure.max_ratio);
    if (figure.max_ns) return "< " + format_time(*figure.max_ns);
    return "limit";
}

} // namespace

void SummaryReporter::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        const std::string& name = run.run_name.function_name;
        if (run.error_occurred) errors_[name] = run.error_message;
        if (run.run_type != Run::RT_Aggregate || run.aggregate_name != "median") continue;
        median_ns_[name] = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
        if (const auto counter = run.counters.find(kAllocations); counter != run.counters.end())
            allocations_[name] = counter->second.value;
    }
    ConsoleReporter::ReportRuns(runs);
}

int SummaryReporter::print_figures(std::ostream& out) const {
    const auto median = [&](const std::string& name) -> std::optional<double> {
        const auto it = median_ns_.find(name);
        return it == median_ns_.end() ? std::nullopt : std::optional<double>(it->second);
    };
    const std::optional<double> design = median(kDesignFill);
    const std::optional<double> wide = median(kWideFill);

    int missed = 0;
    char line[256];
    std::snprintf(line, sizeof line, "\n%-48s %12s %10s %-15s %10s %7s  %s\n", "figure (median)", "time", "ratio", "to",
                  "target", "allocs", "");
    out << line;
    for (const Measure& figure : figures()) {
        const std::optional<double> ns = median(figure.benchmark);
        const std::optional<double> limit = figure.compared_to == Limit::DesignFill ? design : wide;
        const char* limit_name = figure.compared_to == Limit::DesignFill ? "design fill" : "1920x1080 fill";
        if (!ns) {
            const auto error = errors_.find(figure.benchmark);
            const bool failed = error != errors_.end();
            missed += failed ? 1 : 0;
            std::snprintf(line, sizeof line, "%-48s %s\n", figure.label.c_str(),
                          failed ? ("failed: " + error->second).c_str() : "not run");
            out << line;
            continue;
        }
        const std::optional<double> ratio = limit ? std::optional<double>(*ns / *limit) : std::nullopt;
        bool met = true;
        if (figure.max_ratio && !ratio) {
            std::snprintf(line, sizeof line, "%-48s %12s  (its limit did not run)\n", figure.label.c_str(),
                          format_time(*ns).c_str());
            out << line;
            continue;
        }
        if (figure.max_ratio) met = *ratio < *figure.max_ratio;
        if (figure.max_ns) met = *ns < *figure.max_ns;
        std::string allocs;
        if (figure.counts_allocations) {
            const auto counted = allocations_.find(figure.benchmark);
            const bool none = counted != allocations_.end() && counted->second == 0;
            allocs = counted == allocations_.end() ? "?" : format_count(counted->second);
            met = met && none;
        }
        const bool has_target = figure.max_ratio || figure.max_ns;
        missed += met ? 0 : 1;
        std::snprintf(line, sizeof line, "%-48s %12s %10s %-15s %10s %7s  %s\n", figure.label.c_str(),
                      format_time(*ns).c_str(), ratio ? format_ratio(*ratio).c_str() : "?", limit_name,
                      target_of(figure).c_str(), allocs.c_str(), has_target ? (met ? "met" : "MISSED") : "");
        out << line;
    }
    return missed;
}

} // namespace guardianes::bench
