// SPDX-License-Identifier: GPL-3.0-or-later
// Each animation, one tick at a time: serving the wake-up that delivers
// the tick, without painting, and repainting only what that tick changed.

#include "bench/animation.h"
#include "bench/benchmarks.h"
#include "bench/figures.h"

namespace guardianes::bench {

namespace {

// A tick, handler and bookkeeping together, stays under 2 microseconds.
constexpr double kTickNs = 2'000;
// Repainting what one tick changed costs at most a quarter of a fill of
// the design size: the work follows the change, not the window's size.
constexpr double kTickRepaintRatio = 0.25;

benchmark::Counter per_iteration(std::int64_t total) {
    return benchmark::Counter(static_cast<double>(total), benchmark::Counter::kAvgIterations);
}

void tick(benchmark::State& state, const Animation& animation) {
    AnimationPlayer player(animation, nullptr);
    std::int64_t allocated = 0;
    for (auto _ : state) {
        state.SetIterationTime(static_cast<double>(player.next_visible_tick()) / 1e9);
        allocated += player.tick_allocations();
    }
    state.counters[kAllocations] = per_iteration(allocated);
}

void tick_repaint(benchmark::State& state, const Animation& animation, Painter& painter) {
    AnimationPlayer player(animation, &painter);
    std::int64_t allocated = 0;
    std::int64_t pixels = 0;
    for (auto _ : state) {
        player.next_visible_tick();
        state.SetIterationTime(static_cast<double>(player.repaint_time()) / 1e9);
        allocated += player.repaint_allocations();
        pixels += player.damaged_pixels();
    }
    state.counters[kAllocations] = per_iteration(allocated);
    state.counters["pixels"] = per_iteration(pixels);
}

} // namespace

void add_tick_figures(Painter& painter) {
    for (const Animation& animation : animations()) {
        const std::string key(animation.key);
        const std::string name(animation.name);
        add_figure(
            {"tick_repaint/" + key, "repaint after one tick, " + name, Limit::DesignFill, kTickRepaintRatio, {}, true},
            [&animation, &painter](benchmark::State& s) { tick_repaint(s, animation, painter); })
            ->UseManualTime();
    }
    for (const Animation& animation : animations()) {
        const std::string key(animation.key);
        const std::string name(animation.name);
        add_figure({"tick/" + key, "one tick without painting, " + name, Limit::DesignFill, {}, kTickNs, true},
                   [&animation](benchmark::State& s) { tick(s, animation); })
            ->UseManualTime();
    }
}

} // namespace guardianes::bench
