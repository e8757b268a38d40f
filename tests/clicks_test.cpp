// Click delivery: which label takes a press, when a release raises Click,
// and the double-click series.

#include "test_scenes.h"

#include <gtest/gtest.h>

#include <map>

using namespace guardianes;
using namespace guardianes::testing;

namespace {

// Labels `top` (pixels 10..30) over `under` (0..60), a shape over `under`
// at 40..60, a disabled label, a hidden label and a label with no handler.
struct Clicks {
    std::map<std::string, int> count;
};

SceneDef click_scene(Clicks& seen) {
    SceneTable table = small_table(
        "Form1", {label("top", box(10, 10)), shape("cover", {.left = 600, .top = 600, .width = 300, .height = 300,
                                                            .back_style = BackStyle::Opaque}),
                  label("under", box(0, 0, 60)), label("dead", {.left = 1200, .top = 0, .width = 300, .height = 300,
                                                                 .enabled = false}),
                  label("ghost", {.left = 1200, .top = 600, .width = 300, .height = 300, .visible = false}),
                  label("mute", box(80, 80)), label("beneath", box(80, 80)),
                  label("far", box(0, 70))});
    return {table, [&seen](Scene& s) {
                for (const char* name : {"top", "under", "dead", "ghost", "beneath", "far"})
                    s.label(name).on_click = [&seen, name] { ++seen.count[name]; };
            }};
}

} // namespace

TEST(HitTesting, TheFirstVisibleLabelInTheListTakesThePress) {
    Clicks seen;
    Simulation sim({click_scene(seen)});
    sim.click("Form1", 15, 15);  // `top` lies over `under`
    sim.wait_ms(600);
    sim.click("Form1", 50, 50);  // the shape `cover` lies over `under`: shapes take no clicks
    sim.wait_ms(600);
    sim.click("Form1", 85, 85);  // `mute` has no handler but still takes the click
    sim.wait_ms(600);
    sim.click("Form1", 85, 45);  // `ghost` is hidden: passed over, and nothing lies beneath
    EXPECT_EQ(seen.count["top"], 1);
    EXPECT_EQ(seen.count["under"], 1);
    EXPECT_EQ(seen.count["beneath"], 0);
    EXPECT_EQ(seen.count["ghost"], 0);
}

TEST(HitTesting, ADisabledLabelDoesNothing) {
    Clicks seen;
    Simulation sim({click_scene(seen)});
    sim.click("Form1", 85, 5);
    EXPECT_EQ(seen.count["dead"], 0);
}

TEST(HitTesting, PressAndReleaseMustBeOverTheSameLabel) {
    Clicks seen;
    Simulation sim({click_scene(seen)});
    sim.press("Form1", 5, 5);
    sim.release("Form1", 5, 75); // over `far`
    sim.wait_ms(600);
    sim.press("Form1", 5, 75);
    sim.release("Form1", 5, 76);
    EXPECT_EQ(seen.count["under"], 0);
    EXPECT_EQ(seen.count["far"], 1);
}

TEST(HitTesting, EdgesRoundToTheNearestPixelAsPainted) {
    // A label from 7 to 22 twips spans pixel 0 only: 7/15 rounds to 0, 22/15 to 1.
    int clicks = 0;
    SceneDef def{small_table("Form1", {label("thin", {.left = 7, .top = 0, .width = 15, .height = 30})}),
                 [&clicks](Scene& s) { s.label("thin").on_click = [&clicks] { ++clicks; }; }};
    Simulation sim({def});
    sim.click("Form1", 1, 0);
    sim.wait_ms(600);
    sim.click("Form1", 0, 0);
    EXPECT_EQ(clicks, 1);
}

TEST(DoubleClicks, SixQuickPressesOnOneSpotRaiseThreeClicks) {
    Clicks seen;
    Simulation sim({click_scene(seen)});
    for (int i = 0; i < 6; ++i) {
        sim.click("Form1", 5, 5);
        sim.wait_ms(100);
    }
    EXPECT_EQ(seen.count["under"], 3);
}

TEST(DoubleClicks, SixSlowPressesRaiseSix) {
    Clicks seen;
    Simulation sim({click_scene(seen)});
    for (int i = 0; i < 6; ++i) {
        sim.click("Form1", 5, 5);
        sim.wait_ms(600);
    }
    EXPECT_EQ(seen.count["under"], 6);
}

TEST(DoubleClicks, PressesMovedMoreThanTwoPixelsAllCount) {
    Clicks seen;
    Simulation sim({click_scene(seen)});
    for (int i = 0; i < 6; ++i) {
        sim.click("Form1", 2 + (i % 2) * 3, 5);
        sim.wait_ms(100);
    }
    EXPECT_EQ(seen.count["under"], 6);
}

TEST(DoubleClicks, WithinTwoPixelsStillPairs) {
    Clicks seen;
    Simulation sim({click_scene(seen)});
    sim.click("Form1", 5, 5);
    sim.wait_ms(100);
    sim.click("Form1", 7, 3);
    EXPECT_EQ(seen.count["under"], 1);
}

TEST(DoubleClicks, TheSecondHalfIsSwallowedEvenOnAnotherLabel) {
    // Both presses fall within 2 pixels, across the edge of `top`.
    Clicks seen;
    Simulation sim({click_scene(seen)});
    sim.click("Form1", 9, 9);    // `under`
    sim.wait_ms(50);
    sim.click("Form1", 10, 10);  // `top`, but the second half of a double-click
    EXPECT_EQ(seen.count["under"], 1);
    EXPECT_EQ(seen.count["top"], 0);
}

// Keyboard play over the same scene: its clickable labels are `top`,
// `under` and `far`, in that list order; `dead` is disabled, `ghost`
// hidden, and `beneath` lies under `mute`, which has no handler.
TEST(KeyboardPlay, TabVisitsTheClickableLabelsInListOrderBothWaysAndWraps) {
    Clicks seen;
    Simulation sim({click_scene(seen)});
    sim.move_pointer("Form1", {75, 0}); // over no label
    std::vector<Pixel> visited;
    for (PointerKey key : {PointerKey::Next, PointerKey::Next, PointerKey::Next, PointerKey::Next,
                           PointerKey::Previous, PointerKey::Previous}) {
        sim.key("Form1", key, false);
        visited.push_back(sim.pointer("Form1"));
    }
    EXPECT_EQ(visited, (std::vector<Pixel>{{20, 20}, {30, 30}, {10, 80}, {20, 20}, {10, 80}, {30, 30}}));
    sim.move_pointer("Form1", {75, 0});
    sim.key("Form1", PointerKey::Previous, false);
    EXPECT_EQ(sim.pointer("Form1"), (Pixel{10, 80}));
}

TEST(KeyboardPlay, ArrowsStepEightPixelsOrOneWithShiftAndNeverLeaveTheClientArea) {
    Clicks seen;
    Simulation sim({click_scene(seen)}); // 100 x 100 pixels
    const auto press = [&sim](PointerKey key, bool fine, int times) {
        for (int i = 0; i < times; ++i) sim.key("Form1", key, fine);
        return sim.pointer("Form1");
    };
    EXPECT_EQ(press(PointerKey::Left, false, 1), (Pixel{0, 0}));
    EXPECT_EQ(press(PointerKey::Right, false, 12), (Pixel{96, 0}));
    EXPECT_EQ(press(PointerKey::Right, false, 1), (Pixel{99, 0}));
    EXPECT_EQ(press(PointerKey::Down, true, 3), (Pixel{99, 3}));
    EXPECT_EQ(press(PointerKey::Down, false, 20), (Pixel{99, 99}));
    EXPECT_EQ(press(PointerKey::Up, true, 1), (Pixel{99, 98}));
    sim.move_pointer("Form1", {-500, 4000}); // a host's pointer beside the scene comes back in
    EXPECT_EQ(press(PointerKey::Left, false, 1), (Pixel{0, 99}));
}

TEST(KeyboardPlay, SpaceClicksAtThePointerAndPairsIntoDoubleClicksAsTheMouseDoes) {
    Clicks seen;
    Simulation sim({click_scene(seen)});
    sim.move_pointer("Form1", {75, 0});
    sim.key("Form1", PointerKey::Next, false); // `top`
    for (int i = 0; i < 4; ++i) {
        sim.click_at_pointer("Form1");
        sim.wait_ms(100);
    }
    EXPECT_EQ(seen.count["top"], 2);
    // With nothing clickable, Tab leaves the pointer where it is.
    SceneDef still{small_table("Form1", {label("mute", box(0, 0))})};
    Simulation quiet({still});
    quiet.move_pointer("Form1", {5, 6});
    quiet.key("Form1", PointerKey::Next, false);
    EXPECT_EQ(quiet.pointer("Form1"), (Pixel{5, 6}));
}
