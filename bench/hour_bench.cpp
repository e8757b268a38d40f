// SPDX-License-Identifier: GPL-3.0-or-later
// guardianes-sim playing one hour of virtual time in the closing scene, as
// a script would run it: the whole program, start-up included.

#include "bench/benchmarks.h"
#include "bench/figures.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace guardianes::bench {

namespace {

constexpr double kHourNs = 1e9;

// Opens the closing scene, then lets an hour pass with no shots.
constexpr const char* kScript = "click Form1 portal4\n"
                                "wait 1250\n"
                                "wait 3600000\n"
                                "status\n";

void hour(benchmark::State& state) {
    const std::string command = std::string("'") + GUARDIANES_SIM + "' >/dev/null";
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        std::FILE* sim = popen(command.c_str(), "w");
        if (!sim) return state.SkipWithError("cannot start guardianes-sim");
        std::fputs(kScript, sim);
        const int status = pclose(sim);
        const auto elapsed = std::chrono::steady_clock::now() - start;
        if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            return state.SkipWithError("guardianes-sim failed on the hour's script");
        state.SetIterationTime(std::chrono::duration<double>(elapsed).count());
    }
}

} // namespace

void add_hour_figure() {
    add_figure({"hour/closing", "an hour of the closing scene, guardianes-sim", Limit::DesignFill, {}, kHourNs}, hour)
        ->UseManualTime();
}

} // namespace guardianes::bench
