// SPDX-License-Identifier: GPL-3.0-or-later
// guardianes-bench: how close the game comes to this machine's limit.
// Google Benchmark's own options apply (--benchmark_filter=... and so on);
// the figures, with their ratios and targets, follow its lines. The exit
// status is 1 when a target is missed.

#include "bench/benchmarks.h"
#include "bench/summary.h"

#include <iostream>
#include <vector>

int main(int argc, char** argv) {
    using namespace guardianes;
    // The runs of all the benchmarks are taken in a random order rather than
    // one benchmark after another, so that a busy spell of the machine weighs
    // on every figure alike, the limits included. Options given later win.
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    std::vector<char*> args(argv, argv + argc);
    args.insert(args.begin() + 1, interleave);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 2;
    try {
        FontLibrary fonts;
        Painter painter(fonts);
        bench::add_paint_figures(painter);
        bench::add_tick_figures(painter);
        bench::add_hour_figure();
        bench::add_sound_figure();
        bench::add_new_game_figure();

        bench::SummaryReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        benchmark::Shutdown();
        const int missed = reporter.print_figures(std::cout);
        bench::print_cue_table(std::cout);
        if (missed > 0) {
            std::cout << "guardianes-bench: " << missed << (missed == 1 ? " target" : " targets") << " missed\n";
            return 1;
        }
        std::cout << "guardianes-bench: every target met\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "guardianes-bench: " << e.what() << '\n';
        return 1;
    }
}
