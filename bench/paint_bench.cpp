// SPDX-License-Identifier: GPL-3.0-or-later
// The machine's limit, filling a frame with one colour, and full repaints
// of every scene at its design size and of the largest one at 1920 x 1080.

#include "bench/benchmarks.h"
#include "bench/figures.h"
#include "bench/played_scene.h"
#include "scenes/scenes.h"

#include <algorithm>
#include <optional>
#include <string>

namespace guardianes::bench {

namespace {

constexpr int kWideWidth = 1920;
constexpr int kWideHeight = 1080;

struct Size {
    int width;
    int height;
};

// The design size of the scene with the largest client area, in pixels.
Size largest_design_size(std::string* scene_name) {
    Size largest{0, 0};
    for (const SceneDef& def : game_scenes()) {
        const Size size{to_pixels(def.table.window.client_width), to_pixels(def.table.window.client_height)};
        if (size.width * size.height <= largest.width * largest.height) continue;
        largest = size;
        if (scene_name) *scene_name = def.table.name;
    }
    return largest;
}

// The machine's limit: the plainest way to set every pixel of a frame,
// with nothing of the painter in it.
void fill(benchmark::State& state, Size size) {
    Image image;
    image.resize(size.width, size.height);
    std::uint32_t colour = 0;
    for (auto _ : state) {
        std::fill(image.pixels.begin(), image.pixels.end(), colour);
        colour = (colour + 0x010101) & 0xFFFFFF;
        benchmark::DoNotOptimize(image.pixels.data());
        benchmark::ClobberMemory();
    }
}

void repaint(benchmark::State& state, Painter& painter, const std::string& scene, std::optional<Size> size) {
    PlayedScene game(scene);
    if (size) game.simulation().runtime().resize(game.scene(), size->width, size->height);
    Image image;
    for (auto _ : state) {
        painter.paint(game.scene(), image);
        benchmark::DoNotOptimize(image.pixels.data());
        benchmark::ClobberMemory();
    }
}

} // namespace

void add_paint_figures(Painter& painter) {
    std::string largest;
    const Size design = largest_design_size(&largest);
    const Size wide{kWideWidth, kWideHeight};
    const std::string design_text = std::to_string(design.width) + " x " + std::to_string(design.height);

    add_figure({kDesignFill, "fill, design size (" + design_text + ")", Limit::DesignFill, {}, {}},
               [design](benchmark::State& s) { fill(s, design); });
    add_figure({kWideFill, "fill, 1920 x 1080", Limit::WideFill, {}, {}},
               [wide](benchmark::State& s) { fill(s, wide); });

    // A full repaint of any scene stays within 4x a fill of the largest
    // design size, and a repaint at 1920 x 1080 within 3x a fill of that.
    for (const SceneDef& def : game_scenes()) {
        const std::string name(def.table.name);
        add_figure({"repaint/" + name, "full repaint, " + name + " at design size", Limit::DesignFill, 4.0, {}},
                   [&painter, name](benchmark::State& s) { repaint(s, painter, name, std::nullopt); });
    }
    add_figure(
        {"repaint/" + largest + "/1920x1080", "full repaint, " + largest + " at 1920 x 1080", Limit::WideFill, 3.0, {}},
        [&painter, largest, wide](benchmark::State& s) { repaint(s, painter, largest, wide); });
}

} // namespace guardianes::bench
