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

// One of the game's animations played tick by tick, as the live game plays
// it, with every change repainted into a frame kept like the canvas's. The
// repaint after each of the animation's own visible ticks is timed over
// many repetitions of the same areas, which paint the same pixels each time.
class TickSeries final : public RuntimeObserver {
public:
    TickSeries(const Animation& animation, Painter& painter) : animation_(animation), painter_(painter) {
        start_over();
    }
    ~TickSeries() override { game_->simulation().runtime().set_observer(nullptr); }

    // The median repaint, in microseconds, of the next `count` visible ticks.
    double median_us(int count) {
        us_.clear();
        while (static_cast<int>(us_.size()) < count) {
            if (!timer_->enabled()) start_over();
            Simulation& sim = game_->simulation();
            sim.wait(*sim.runtime().next_wakeup() - sim.now());
        }
        std::sort(us_.begin(), us_.end());
        return us_[us_.size() / 2];
    }

    void scene_changed(Scene& scene) override {
        const bool ours = ours_;
        ours_ = false;
        if (&scene != &game_->scene() || !scene.shown()) return;
        const int repetitions = ours ? kRepetitions : 1;
        const double start = emscripten_get_now();
        for (int i = 0; i < repetitions; ++i)
            for (const PixelRect& area : scene.damaged_areas()) painter_.paint(scene, frame_, area);
        if (ours) us_.push_back((emscripten_get_now() - start) * 1000 / repetitions);
    }

private:
    static constexpr int kRepetitions = 200;

    void start_over() {
        if (game_) game_->simulation().runtime().set_observer(nullptr);
        game_ = std::make_unique<PlayedScene>(animation_.scene);
        Simulation& sim = game_->simulation();
        Scene& scene = game_->scene();
        if (!animation_.start_click.empty()) sim.click(animation_.scene, animation_.start_click);
        timer_ = &scene.timer(animation_.timer);
        while (!timer_->enabled()) sim.wait(*sim.runtime().next_wakeup() - sim.now());
        Handler tick = std::move(timer_->on_tick);
        timer_->on_tick = [this, tick, &scene] {
            tick();
            ours_ = !scene.damage_area().empty();
        };
        painter_.paint(scene, frame_);
        sim.runtime().set_observer(this);
    }

    const Animation& animation_;
    Painter& painter_;
    std::unique_ptr<PlayedScene> game_;
    Timer* timer_ = nullptr;
    Image frame_;
    bool ours_ = false;
    std::vector<double> us_;
};

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
        figures.push_back(
            {"repaint/" + def.table.name, [&painter, &scene, &frame] { painter.paint(scene, frame); }, 1, {}});
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
    // Each tick's repaint is timed on its own, the median of 15 ticks per run.
    for (const Animation& animation : animations()) {
        TickSeries series(animation, painter);
        std::vector<double> runs;
        for (int run = 0; run < kRuns; ++run) runs.push_back(series.median_us(15));
        std::sort(runs.begin(), runs.end());
        std::printf("{\"figure\":\"tick/%s\",\"us\":%.3f}\n", std::string(animation.key).c_str(),
                    runs[runs.size() / 2]);
    }
    std::printf("{\"done\":true,\"fill_size\":\"%d x %d\"}\n", width, height);
    return 0;
}
