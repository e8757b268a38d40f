// SPDX-License-Identifier: GPL-3.0-or-later
// The browser's painting figures, for bench/web.sh: filling a frame of the
// largest design size with one colour (the limit), a full repaint of each
// scene at its design size, and the repaint after one tick of each of the
// game's animations, printed as one JSON object per figure. The browser's
// clock is coarse (a few microseconds at best), so every time is taken over
// many repetitions of the same work. The fill and the full repaints are the
// median of 15 runs taken round-robin; a tick's repaint is the median over
// 15 runs of the median of 15 consecutive ticks.

#include "bench/animation.h"
#include "bench/played_scene.h"
#include "paint/baked_glyphs.h"
#include "paint/canvas.h"
#include "paint/painter.h"
#include "scenes/scenes.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace guardianes {
std::string_view baked_glyphs();
}

using namespace guardianes;
using namespace guardianes::bench;

namespace {

constexpr int kRuns = 15;
constexpr double kRunMs = 20; // each run repeats its work for about this long

struct Measured {
    std::string name;
    std::function<void()> work;
    int repetitions = 1;
    std::vector<double> us; // per repetition, one per run
};

double time_us(Measured& figure) {
    const double start = emscripten_get_now();
    for (int i = 0; i < figure.repetitions; ++i) figure.work();
    return (emscripten_get_now() - start) * 1000 / figure.repetitions;
}

} // namespace

int main() {
    BakedGlyphs glyphs(baked_glyphs());
    Painter painter(glyphs);
    std::vector<Measured> figures;

    // The largest design size, the ambulance's.
    int width = 0;
    int height = 0;
    for (const SceneDef& def : game_scenes()) {
        const int w = to_pixels(def.table.window.client_width);
        const int h = to_pixels(def.table.window.client_height);
        if (w * h > width * height) width = w, height = h;
    }
    Image fill_frame;
    fill_frame.resize(width, height);
    std::uint32_t colour = 0;
    figures.push_back({"fill",
                       [&] {
                           std::fill(fill_frame.pixels.begin(), fill_frame.pixels.end(), colour);
                           colour = (colour + 0x010101) & 0xFFFFFF;
                       },
                       1,
                       {}});

    std::vector<std::unique_ptr<PlayedScene>> games;
    std::vector<std::unique_ptr<Image>> frames;
    for (const SceneDef& def : game_scenes()) {
        games.push_back(std::make_unique<PlayedScene>(def.table.name));
        frames.push_back(std::make_unique<Image>());
        Scene& scene = games.back()->scene();
        Image& frame = *frames.back();
        figures.push_back({"repaint/" + std::string(def.table.name),
                           [&painter, &scene, &frame] { painter.paint(scene, frame); },
                           1,
                           {}});
    }

    // Enough repetitions for each run to last about kRunMs.
    for (Measured& figure : figures) {
        while (time_us(figure) * figure.repetitions < kRunMs * 1000) figure.repetitions *= 2;
    }
    for (int run = 0; run < kRuns; ++run)
        for (Measured& figure : figures) figure.us.push_back(time_us(figure));
    for (Measured& figure : figures) {
        std::sort(figure.us.begin(), figure.us.end());
        std::printf("{\"figure\":\"%s\",\"us\":%.3f,\"repetitions\":%d}\n", figure.name.c_str(),
                    figure.us[figure.us.size() / 2], figure.repetitions);
    }
    // Each tick's repaint is timed on its own, over 200 repetitions of the
    // same areas, which paint the same pixels each time; the median of 15
    // ticks per run.
    for (const Animation& animation : animations()) {
        AnimationPlayer player(animation, &painter, 200);
        std::vector<double> runs;
        for (int run = 0; run < kRuns; ++run) {
            std::vector<double> ticks;
            for (int tick = 0; tick < 15; ++tick) {
                player.next_visible_tick();
                ticks.push_back(static_cast<double>(player.repaint_time()) / 1000);
            }
            std::sort(ticks.begin(), ticks.end());
            runs.push_back(ticks[ticks.size() / 2]);
        }
        std::sort(runs.begin(), runs.end());
        std::printf("{\"figure\":\"tick/%s\",\"us\":%.3f}\n", std::string(animation.key).c_str(),
                    runs[runs.size() / 2]);
    }
    std::printf("{\"done\":true,\"fill_size\":\"%d x %d\"}\n", width, height);
    return 0;
}
