#pragma once

// Small scenes made up for the tests, so that runtime rules can be checked
// without depending on the game's own scenes.

#include "runtime/scene.h"
#include "scenes/scenes.h"
#include "sim/simulation.h"

#include <functional>
#include <vector>

namespace guardianes::testing {

inline SceneTable small_table(std::string name, std::vector<ControlRow> controls,
                              std::vector<CounterRow> counters = {}) {
    return {.name = name,
            .window = {.caption = name, .back_color = rgb(0x404040), .client_width = 1500, .client_height = 1500},
            .controls = std::move(controls),
            .counters = std::move(counters)};
}

// A label 20 x 20 pixels at pixel (x, y).
inline LabelProps box(int x, int y, int size = 20) {
    return {.left = x * 15, .top = y * 15, .width = size * 15, .height = size * 15};
}

// Counts how often each handler ran.
struct Tally {
    int clicks = 0;
    int ticks = 0;
};

} // namespace guardianes::testing
