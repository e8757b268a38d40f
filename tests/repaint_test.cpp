// SPDX-License-Identifier: GPL-3.0-or-later
// Repainting only what changed: the areas a scene reports after each
// handler, and the painter's partial repaints of them, must leave exactly
// the picture a whole painting gives, however the game goes on.

#include "paint/painter.h"
#include "test_scenes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <malloc.h>
#include <map>
#include <string>
#include <tuple>
#include <vector>

using namespace guardianes;
using namespace guardianes::testing;

namespace {

// Keeps a frame of one scene as the desktop keeps its window: repainted
// only in the areas each handler changed, blank whenever it is shown or
// resized, so that only what the scene reports ever shows.
class Frame final : public RuntimeObserver {
public:
    Frame(Simulation& sim, const std::string& scene) : sim_(sim), scene_(scene) {
        if (const Scene* shown = sim.scene(scene); shown && shown->shown()) painter_.paint(*shown, frame_);
        sim.watch(this);
    }
    ~Frame() override { sim_.watch(nullptr); }

    void scene_changed(Scene& scene) override {
        if (scene.name() != scene_ || !scene.shown()) return;
        const int width = to_pixels(scene.client_width());
        const int height = to_pixels(scene.client_height());
        if (frame_.width != width || frame_.height != height) {
            frame_.resize(width, height);
            std::fill(frame_.pixels.begin(), frame_.pixels.end(), 0x123456u);
        }
        for (const PixelRect& area : scene.damaged_areas()) painter_.paint(scene, frame_, area);
    }

    // Compares the frame with the scene painted whole by a painter that
    // has kept nothing from before.
    void expect_whole(const std::string& when) const {
        Image whole;
        Painter(fonts()).paint(*sim_.scene(scene_), whole);
        ASSERT_TRUE(frame_.width == whole.width && frame_.pixels == whole.pixels) << scene_ << " " << when;
    }

private:
    Simulation& sim_;
    std::string scene_;
    Painter painter_{fonts()};
    Image frame_;
};

// Plays on, comparing the frame with a whole painting every `step` ms.
void play(Simulation& sim, const Frame& frame, double ms, double step = 500) {
    for (double t = 0; t < ms; t += step) {
        sim.wait_ms(step);
        frame.expect_whole("after " + std::to_string(static_cast<int>(sim.now() / kMillisecond)) + " ms");
    }
}

void open(Simulation& sim, const char* button) {
    sim.click("Form1", button);
    sim.wait_ms(1250);
}

} // namespace

TEST(RepaintingWhatChanged, EveryScenePlayedLooksAsIfPaintedWhole) {
    {
        Simulation sim;
        Frame frame(sim, "Form1");
        sim.click("Form1", "portal3");
        play(sim, frame, 1200, 100); // the departure
    }
    {
        Simulation sim;
        Frame frame(sim, "Form2");
        open(sim, "portal1");
        play(sim, frame, 2500); // the signal and the rival
        sim.runtime().resize(*sim.scene("Form2"), 700, 650);
        for (int i = 0; i < 6; ++i, play(sim, frame, 600, 300)) sim.click("Form2", "ava");
    }
    {
        Simulation sim;
        open(sim, "portal2");
        Frame frame(sim, "Form3");
        for (int i = 0; i < 12; ++i, play(sim, frame, 600, 300)) sim.click("Form3", "bomba");
        play(sim, frame, 30000, 1000); // the clock runs out and the building falls
    }
    {
        Simulation sim;
        open(sim, "portal3");
        Frame frame(sim, "Form4");
        play(sim, frame, 5000, 250);
        for (const char* care : {"ag2", "lbl", "va2"}) {
            sim.click("Form4", care);
            play(sim, frame, 3000);
        }
        // The device's centre lies under the energy bar: its grey above the bar takes the click.
        sim.click("Form4", 76, 240);
        play(sim, frame, 1000, 250);
        ASSERT_FALSE(sim.scene("Form4")->label("cam").visible()); // the device is on
        play(sim, frame, 6500, 250);
    }
    {
        Simulation sim;
        open(sim, "portal4");
        Frame frame(sim, "Form5");
        play(sim, frame, 30000); // the convoy and the night
    }
}

// A host paints a scene whole only when the runtime reports it all damaged:
// once when it is shown, never again over a departure's partial repaints.
TEST(RepaintingWhatChanged, AShownSceneIsReportedWholeOnceAtStartAndOverADeparture) {
    struct Wholes final : RuntimeObserver {
        std::map<std::string, int> shown;
        std::map<std::string, int> whole;
        void scene_shown(Scene& scene) override { ++shown[scene.name()]; }
        void scene_changed(Scene& scene) override {
            for (const PixelRect& area : scene.damaged_areas()) whole[scene.name()] += area == scene.client_area();
        }
    } wholes;
    Simulation game;
    game.watch(&wholes);
    game.session().new_game();
    game.click("Form1", "portal2");
    game.wait_ms(2000);
    EXPECT_EQ(wholes.shown, (std::map<std::string, int>{{"Form1", 1}, {"Form3", 1}}));
    EXPECT_EQ(wholes.whole, (std::map<std::string, int>{{"Form1", 1}, {"Form3", 1}}));
}

// Changes far apart stay apart, so that a repaint does little more than what
// changed; changes that overlap, touch or waste at most 1024 pixels together
// are one area, and an area grown by joining one may join more. Beyond four
// areas, the two that waste least together merge.
TEST(RepaintingWhatChanged, ChangesFarApartStaySeparateAreasAndCloseOnesMerge) {
    using Areas = std::vector<PixelRect>;
    const auto areas = [](Areas added) {
        Damage damage;
        for (const PixelRect& area : added) damage.add(area);
        Areas kept(damage.areas().begin(), damage.areas().end());
        std::sort(kept.begin(), kept.end(),
                  [](const auto& a, const auto& b) { return std::tie(a.y0, a.x0) < std::tie(b.y0, b.x0); });
        return kept;
    };
    // Strips of 32 x 1 pixels: 33 rows apart, they waste 1024 pixels together; 34 rows apart, 1056.
    EXPECT_EQ(areas({{0, 0, 32, 1}, {0, 33, 32, 34}}), (Areas{{0, 0, 32, 34}}));
    EXPECT_EQ(areas({{0, 0, 32, 1}, {0, 34, 32, 35}}), (Areas{{0, 0, 32, 1}, {0, 34, 32, 35}}));
    EXPECT_EQ(areas({{0, 0, 100, 100}, {100, 50, 200, 150}}), (Areas{{0, 0, 200, 150}}));
    EXPECT_EQ(areas({{0, 0, 100, 100}, {150, 0, 250, 300}, {50, 300, 250, 400}}), (Areas{{0, 0, 250, 400}}));
    EXPECT_EQ(areas({{0, 0, 10, 10}, {500, 0, 510, 10}, {0, 500, 10, 510}, {500, 500, 510, 510}, {200, 0, 210, 10}}),
              (Areas{{0, 0, 210, 10}, {500, 0, 510, 10}, {0, 500, 10, 510}, {500, 500, 510, 510}}));
}

// A kiosk starts new games all day long: each game's captions and figures
// take the places of the game before's in what the painter keeps, and
// nothing else stays behind. The heap is compared where the allocator says.
TEST(RepaintingWhatChanged, AThousandNewGamesOnASharedMachineLeaveMemoryWhereItWas) {
    struct Host final : RuntimeObserver {
        Painter painter{fonts()};
        Image frame;
        void scene_changed(Scene& scene) override {
            if (frame.width != scene.client_area().x1 || frame.height != scene.client_area().y1)
                return painter.paint(scene, frame);
            for (const PixelRect& area : scene.damaged_areas()) painter.paint(scene, frame, area);
        }
    } host;
    Simulation sim(GameOptions{.kiosk = true});
    sim.watch(&host);
    std::size_t kept = 0;
    std::size_t heap = 0;
    for (int game = 1; game <= 1000; ++game) {
        sim.key("Form1", {Key::Escape});
        sim.click("Form1", ("portal" + std::to_string(game % 4 + 1)).c_str());
        sim.wait_ms(1300);
        if (game == 4) {
            kept = host.painter.kept();
            heap = mallinfo2().uordblks;
        }
    }
    EXPECT_EQ(sim.session().games_started(), 1001);
    EXPECT_EQ(host.painter.kept(), kept);
    EXPECT_LE(mallinfo2().uordblks, heap + 64 * 1024);
}
