// SPDX-License-Identifier: GPL-3.0-or-later
// A new game: the runtime built over every scene and started on the menu,
// as a host does at start-up and a kiosk after each restart.

#include "bench/allocations.h"
#include "bench/benchmarks.h"
#include "bench/figures.h"
#include "runtime/runtime.h"
#include "scenes/scenes.h"
#include "session/texts.h"

namespace guardianes::bench {

namespace {

// A small share of the 200 ms that start-up may take to the first frame.
constexpr double kNewGameNs = 1'000'000;

// Each run builds and starts a whole game and ends it again, the game's
// scenes, their trial builds and the menu shown included.
void new_game(benchmark::State& state) {
    VirtualClock clock;
    std::int64_t allocated = 0;
    for (auto _ : state) {
        const std::int64_t before = allocations();
        Runtime runtime(game_scenes(), clock);
        runtime.start();
        benchmark::DoNotOptimize(runtime.scene(0));
        allocated += allocations() - before;
    }
    state.counters[kAllocations] =
        benchmark::Counter(static_cast<double>(allocated), benchmark::Counter::kAvgIterations);
}

// Choosing the language from a system's preferred ones and reading its
// catalogue, as every program does once at start-up.
void language(benchmark::State& state) {
    const std::vector<std::string> preferred{"de_DE.UTF-8", "es_AR.UTF-8"};
    for (auto _ : state) benchmark::DoNotOptimize(Texts::choose("", preferred));
}

} // namespace

void add_new_game_figure() {
    add_figure({"new_game", "a new game: the runtime built and started", Limit::DesignFill, {}, kNewGameNs, false},
               new_game);
    add_figure(
        {"language", "choosing the language and reading its catalogue", Limit::DesignFill, {}, kNewGameNs, false},
        language);
}

} // namespace guardianes::bench
