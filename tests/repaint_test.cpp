// SPDX-License-Identifier: GPL-3.0-or-later
// Repainting only what changed: the areas a scene reports after each
// handler, and the painter's partial repaints of them, must leave exactly
// the picture a whole painting gives, however the game goes on.

#include "paint/painter.h"
#include "test_scenes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace guardianes;
using namespace guardianes::testing;

namespace {

FontLibrary& fonts() {
    static FontLibrary library;
    return library;
}

// Keeps a frame of one scene as the desktop keeps its window: painted whole
// once, then repainted only in the areas each handler changed.
class Frame final : public RuntimeObserver {
public:
    Frame(Simulation& sim, const std::string& scene) : sim_(sim), scene_(scene) {
        painter_.paint(*sim.scene(scene), frame_);
        sim.runtime().set_observer(this);
    }
    ~Frame() override { sim_.runtime().set_observer(nullptr); }

    void scene_changed(Scene& scene) override {
        if (scene.name() != scene_ || !scene.shown()) return;
        for (const PixelRect& area : scene.damaged_areas()) painter_.paint(scene, frame_, area);
    }

    // Compares the frame with the scene painted whole by a painter that
    // has kept nothing from before.
    void expect_whole(const std::string& when) const {
        Image whole;
        Painter(fonts()).paint(*sim_.scene(scene_), whole);
        ASSERT_EQ(frame_.width, whole.width);
        ASSERT_EQ(frame_.height, whole.height);
        for (int y = 0; y < whole.height; ++y)
            for (int x = 0; x < whole.width; ++x)
                ASSERT_EQ(frame_.at(x, y), whole.at(x, y)) << scene_ << " " << when << " at " << x << ", " << y;
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

PixelRect px(int x0, int y0, int x1, int y1) { return {x0, y0, x1, y1}; }

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
        open(sim, "portal1");
        Frame frame(sim, "Form2");
        play(sim, frame, 2500); // the signal and the rival
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

TEST(RepaintingWhatChanged, AWindowShownOrResizedIsRepaintedWhole) {
    struct Reported : RuntimeObserver {
        std::vector<PixelRect> areas;
        void scene_changed(Scene& scene) override {
            if (scene.name() == "Form2") areas.assign(scene.damaged_areas().begin(), scene.damaged_areas().end());
        }
    } reported;
    Simulation sim;
    sim.runtime().set_observer(&reported);
    sim.click("Form1", "portal1");
    sim.wait_ms(1250);
    const Scene& race = *sim.scene("Form2");
    EXPECT_EQ(reported.areas, std::vector{px(0, 0, to_pixels(race.client_width()), to_pixels(race.client_height()))});
    reported.areas.clear();
    sim.runtime().resize(*sim.scene("Form2"), 700, 650);
    EXPECT_EQ(reported.areas, std::vector{px(0, 0, 700, 650)});
    sim.runtime().set_observer(nullptr);
}

// A hatch is laid from its shape's corner, wherever a repaint starts.
TEST(RepaintingWhatChanged, ShapesPaintedInStripsMatchThemPaintedWhole) {
    const auto figure = [](Twips left, Twips top, ShapeKind kind, FillStyle fill) {
        return ShapeProps{.left = left,
                          .top = top,
                          .width = 700,
                          .height = 430,
                          .shape = kind,
                          .back_style = BackStyle::Opaque,
                          .back_color = rgb(0x00FF00),
                          .fill_style = fill,
                          .fill_color = rgb(0x0000FF),
                          .border_color = rgb(0xFF00FF),
                          .border_width = 2};
    };
    Simulation sim(std::vector<SceneDef>{
        {small_table("T", {shape("oval", figure(-90, 60, ShapeKind::Oval, FillStyle::Cross)),
                           shape("circle", figure(720, 80, ShapeKind::Circle, FillStyle::DiagonalCross)),
                           shape("rounded", figure(100, 800, ShapeKind::RoundedRectangle, FillStyle::Transparent)),
                           shape("square", figure(800, 900, ShapeKind::RoundedSquare, FillStyle::Solid))})}});
    Image whole;
    Painter(fonts()).paint(*sim.scene("T"), whole);

    // In 1-pixel columns, 1-pixel rows and 7 x 5 tiles.
    Painter painter(fonts());
    for (const auto& [w, h] : {std::pair{1, whole.height}, {whole.width, 1}, {7, 5}}) {
        Image parts = whole;
        std::fill(parts.pixels.begin(), parts.pixels.end(), 0x123456u);
        for (int y = 0; y < whole.height; y += h)
            for (int x = 0; x < whole.width; x += w) painter.paint(*sim.scene("T"), parts, px(x, y, x + w, y + h));
        for (int y = 0; y < whole.height; ++y)
            for (int x = 0; x < whole.width; ++x)
                ASSERT_EQ(parts.at(x, y), whole.at(x, y)) << w << " x " << h << " parts, at " << x << ", " << y;
    }
}
