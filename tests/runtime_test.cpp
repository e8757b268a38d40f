// SPDX-License-Identifier: GPL-3.0-or-later
// The runtime's rules on made-up scenes: clicks and double-clicks, timers on
// the wake-up grid, scenes coming and going, the run-time error, the keys.

#include "test_scenes.h"

#include <gtest/gtest.h>

using namespace guardianes;
using namespace guardianes::testing;

namespace {

// `top` lies over `under`, and so does the shape `cover`; `mute` has no
// handler and lies over `beneath`.
std::vector<ControlRow> click_rows() {
    LabelProps dead = box(80, 0);
    LabelProps ghost = box(80, 40);
    dead.enabled = ghost.visible = false;
    dead.mouse_pointer = ghost.mouse_pointer = MousePointer::Arrow;
    return {label("top", box(10, 10)),
            shape("cover", {.left = 600, .top = 600, .width = 300, .height = 300, .back_style = BackStyle::Opaque}),
            label("under", box(0, 0, 60)),
            label("dead", dead),
            label("ghost", ghost),
            label("mute", box(80, 80)),
            label("beneath", box(80, 80)),
            label("far", box(0, 70))};
}

} // namespace

TEST(ClickDelivery, TheFirstVisibleLabelUnderThePressTakesTheClick) {
    Lab lab(click_rows(), {"mute"});
    for (auto [x, y] : {std::pair{15, 15}, {50, 50}, {85, 85}, {85, 45}, {85, 5}}) {
        lab.sim.click("Form1", x, y);
        lab.sim.wait_ms(600);
    }
    // Over `top`; through the shape to `under`; `mute` swallows its click;
    // the hidden `ghost` and the disabled `dead` raise nothing.
    EXPECT_EQ(lab.clicks, "top under");
    // The pointer follows the same label: a disabled one keeps its own.
    EXPECT_EQ(Runtime::pointer_shape_at(lab.scene(), 85, 5), MousePointer::Arrow);
    EXPECT_EQ(Runtime::pointer_shape_at(lab.scene(), 85, 45), MousePointer::Default);
    // The second half of a double-click is swallowed even over another label.
    lab.sim.click("Form1", 9, 9);
    lab.sim.wait_ms(50);
    lab.sim.click("Form1", 10, 10);
    EXPECT_EQ(lab.clicks, "top under under");
}

TEST(ClickDelivery, PressAndReleaseMustMeetOnOneLabelStillEnabledAndVisible) {
    Lab lab({label("far", box(0, 70)), label("go", box(0, 0))});
    Label& go = lab.scene().label("go");
    lab.sim.press("Form1", 5, 5);
    lab.sim.release("Form1", 5, 75); // released over another label
    lab.sim.wait_ms(600);
    lab.sim.press("Form1", 5, 75);
    lab.sim.release("Form1", 5, 5);
    // A change between the press and the release, as a tick's handler makes.
    const auto between = [&lab](const std::function<void()>& change) {
        lab.sim.wait_ms(600);
        lab.sim.press("Form1", 5, 5);
        change();
        lab.sim.release("Form1", 5, 5);
    };
    between([&go] { go.set_enabled(false); });
    between([&go] { go.set_enabled(true); }); // pressed while disabled
    between([&go] { go.set_visible(false); });
    go.set_visible(true);
    EXPECT_EQ(lab.clicks, "");
    lab.sim.wait_ms(600);
    lab.sim.click("Form1", 5, 5);
    EXPECT_EQ(lab.clicks, "go");
}

TEST(ClickDelivery, EdgesRoundToTheNearestPixelAsPainted) {
    // From 8 to 37 twips is pixel 1 alone: 8/15 rounds to 1, 37/15 to 2.
    Lab lab({label("thin", {.left = 8, .top = 0, .width = 29, .height = 30})});
    for (const int x : {0, 2, 1}) {
        lab.sim.click("Form1", x, 0);
        lab.sim.wait_ms(600);
    }
    EXPECT_EQ(lab.clicks, "thin");
}

TEST(DoubleClicks, TheSecondPressWithin500MsAndTwoPixelsRaisesNoClick) {
    // Six presses on `under` at each gap (ms), every other one offset (px):
    // how many clicks they raise.
    const std::tuple<double, int, int, int> series[] = {{100, 0, 0, 3},        {600, 0, 0, 6}, {500, 0, 0, 3},
                                                        {500.000001, 0, 0, 6}, {100, 2, 0, 3}, {100, 0, 2, 3},
                                                        {100, 3, 0, 6},        {100, 0, -3, 6}};
    for (const auto& [gap, dx, dy, clicks] : series) {
        Lab lab(click_rows());
        for (int i = 0; i < 6; ++i) {
            lab.sim.click("Form1", 5 + (i % 2) * dx, 45 + (i % 2) * dy);
            lab.sim.wait_ms(gap);
        }
        EXPECT_EQ(lab.count("under"), clicks) << gap << " ms, " << dx << ", " << dy << " px";
    }
}

// A closed scene's memory may serve a later scene: its presses must pair with nothing.
TEST(DoubleClicks, PairOnlyWithinOneSceneAndAreForgottenWithIt) {
    Lab lab(click_rows());
    Lab other(click_rows());
    ClickDelivery clicks;
    const auto raises = [&clicks](const Scene& scene, double ms) {
        clicks.press(scene, 5, 45, static_cast<Nanos>(ms * kMillisecond));
        return clicks.release(scene, 5, 45) != nullptr;
    };
    EXPECT_TRUE(raises(lab.scene(), 0));
    EXPECT_TRUE(raises(other.scene(), 100));
    EXPECT_FALSE(raises(other.scene(), 200));
    EXPECT_TRUE(raises(lab.scene(), 300));
    clicks.forget(lab.scene());
    EXPECT_TRUE(raises(lab.scene(), 400));
}

TEST(Timers, TheFirstTickComesOnePeriodAfterEnablingRoundedUpToAWakeupAndEnablingAgainChangesNothing) {
    Lab lab({timer("Timer1", {.interval = 100, .enabled = false}), timer("Timer2", {.interval = 0}),
             label("go", box(0, 0))});
    Timer& timer = lab.scene().timer("Timer1");
    lab.scene().label("go").on_click = [&timer] { timer.set_enabled(true); };
    lab.sim.wait_ms(9.375);
    lab.sim.click("Form1", 5, 5); // due at 109.375 ms, a wake-up exactly
    lab.sim.wait_ms(99.999999);
    EXPECT_EQ(lab.ticks, "");
    lab.sim.wait_ms(0.000001);
    EXPECT_EQ(lab.ticks, "Timer1@109.375");
    lab.sim.wait_ms(490.625);
    lab.sim.click("Form1", 5, 5); // at 600 ms, between ticks at 546.875 and 656.25
    lab.sim.wait_ms(60);
    EXPECT_EQ(lab.count("Timer1"), 6);
}

TEST(Timers, EachIntervalTicksEveryCeilOfItOverTheWakeupPeriod) {
    const std::pair<int, int> expected[] = {{1, 1},   {10, 1},   {15, 1},   {16, 2},   {100, 7},
                                            {110, 8}, {150, 10}, {171, 11}, {200, 13}, {250, 16}};
    for (auto [interval, wakeups] : expected) {
        Lab lab({timer("Timer1", {.interval = interval})});
        lab.sim.wait_ms(15.625 * wakeups * 3);
        EXPECT_EQ(lab.count("Timer1"), 3) << "interval " << interval;
        // Appended, not "@" + ...: GCC 12 at -O3 warns falsely (-Wrestrict) there.
        EXPECT_TRUE(lab.ticks.ends_with(std::string("@").append(format_ms(3 * wakeups * kWakeupPeriod))))
            << "interval " << interval;
    }
}

TEST(Timers, StoppingDropsAPendingTickAndStartingAgainBeginsAFreshPeriod) {
    // Timer1 ticks first at each wake-up: it stops Timer2, then starts it again.
    Lab lab({timer("Timer1", {.interval = 100}), timer("Timer2", {.interval = 100})}, {"Timer1"});
    Timer& timer1 = lab.scene().timer("Timer1");
    Timer& timer2 = lab.scene().timer("Timer2");
    int ticks = 0;
    timer1.on_tick = [&] {
        timer2.set_enabled(++ticks == 2);
        timer1.set_enabled(ticks == 1);
    };
    lab.sim.wait_ms(350);
    // 109.375: Timer2 stopped with its tick pending, which is dropped.
    // 218.75: started again, first due at 318.75, served at 328.125.
    EXPECT_EQ(lab.ticks, "Timer2@328.125");
}

TEST(Timers, AHostServesTheLatestWakeupDueOnTheGridAndOnlyThat) {
    // Timer2's period is exactly eight wake-ups.
    Lab lab({timer("Timer1", {.interval = 10}), timer("Timer2", {.interval = 125})});
    VirtualClock clock;
    Runtime runtime({lab.def()}, clock);
    runtime.start();
    EXPECT_EQ(runtime.next_wakeup(), kWakeupPeriod);
    clock.set(kWakeupPeriod - 1); // just before the grid: nothing is due
    EXPECT_FALSE(runtime.serve_wakeup());
    clock.set(kWakeupPeriod); // exactly on it
    EXPECT_TRUE(runtime.serve_wakeup());
    EXPECT_FALSE(runtime.serve_wakeup()); // served once only
    // Busy for a second: one tick each, served as of the last grid time,
    // so that Timer2's next is due exactly eight wake-ups after that.
    clock.set(65 * kWakeupPeriod + 7);
    EXPECT_TRUE(runtime.serve_wakeup());
    EXPECT_EQ(runtime.next_wakeup(), 66 * kWakeupPeriod);
    EXPECT_EQ(lab.count("Timer1"), 2);
    EXPECT_EQ(lab.count("Timer2"), 1);
    clock.set(73 * kWakeupPeriod);
    EXPECT_TRUE(runtime.serve_wakeup());
    EXPECT_EQ(lab.count("Timer2"), 2);
}

TEST(Lifecycle, AHiddenSceneKeepsTickingAndShowsItsChangesWhenShownAgain) {
    SceneTable one = small_table(
        "Form1", {timer("Timer1", {.interval = 100}), label("mover", box(0, 40)), label("away", box(0, 0))});
    SceneDef first{one, [](Scene& s) {
                       Label& mover = s.label("mover");
                       s.timer("Timer1").on_tick = [&mover] { mover.set_left(mover.left() + 15); };
                       // The handler runs on after hiding its own scene.
                       s.label("away").on_click = [&mover, self = s.link("Form1"), other = s.link("Form2")] {
                           self.hide();
                           other.show();
                           mover.set_caption("after the hide");
                       };
                   }};
    SceneDef second{small_table("Form2", {label("back", box(0, 0))}),
                    [](Scene& s) { s.label("back").on_click = [form1 = s.link("Form1")] { form1.show(); }; }};
    Simulation sim({first, second});
    EXPECT_EQ(sim.runtime().state(1), SceneState::NotCreated);
    sim.click("Form1", 5, 5);
    EXPECT_EQ(sim.scene("Form1")->state(), SceneState::Hidden);
    EXPECT_EQ(sim.scene("Form1")->label("mover").caption(), "after the hide");
    sim.wait_ms(1000); // ticks at 109.375, 218.75, ... 984.375
    EXPECT_EQ(sim.scene("Form1")->label("mover").left(), 9 * 15);
    // A hidden scene takes no input, even from a host whose window is still up.
    sim.scene("Form1")->label("mover").set_caption("hidden");
    sim.session().press(*sim.scene("Form1"), {5, 5});
    sim.session().release(*sim.scene("Form1"), {5, 5});
    EXPECT_EQ(sim.scene("Form1")->label("mover").caption(), "hidden");
    sim.click("Form2", 5, 5);
    EXPECT_EQ(sim.scene("Form1")->state(), SceneState::Shown);
    // Closing one scene leaves the other running; closing the last shown
    // one ends the program, whatever stays hidden.
    sim.close("Form2");
    EXPECT_TRUE(sim.runtime().running());
    sim.click("Form1", 5, 5);
    EXPECT_EQ(sim.scene("Form1")->state(), SceneState::Hidden); // Form2 stays closed
    EXPECT_FALSE(sim.runtime().running());
}

TEST(RunTimeError, AnOverflowStopsItsHandlerAtThatStepAndEndsTheProgram) {
    // From a click and from a tick: the steps before stay done, nothing
    // after runs, not even the other ticks due at the same wake-up.
    for (const bool from_tick : {false, true}) {
        SceneTable table = small_table("Form1",
                                       {timer("Timer1", {.interval = 100, .enabled = from_tick}),
                                        timer("Timer2", {.interval = 100}), label("step", box(0, 0))},
                                       {int16("n"), int16("later")});
        Simulation sim({{table, [](Scene& s) {
                             Int16Counter& n = s.int16("n");
                             Label& step = s.label("step");
                             const Handler overflow = [&n, &step] {
                                 n = 32766;
                                 step.set_caption("before");
                                 n += 1;
                                 n += 1;
                                 step.set_caption("after");
                             };
                             step.on_click = overflow;
                             s.timer("Timer1").on_tick = overflow;
                             s.timer("Timer2").on_tick = [&later = s.int16("later")] { later += 1; };
                         }}});
        if (from_tick)
            sim.wait_ms(200);
        else
            sim.click("Form1", 5, 5);
        const Runtime& runtime = sim.runtime();
        ASSERT_TRUE(runtime.error().has_value());
        EXPECT_EQ(runtime.error()->number, 6);
        EXPECT_EQ(runtime.error()->name, "Overflow");
        EXPECT_FALSE(runtime.running());
        EXPECT_EQ(sim.scene("Form1")->label("step").caption(), "before");
        EXPECT_EQ(sim.scene("Form1")->int16("n").value(), 32767);
        EXPECT_EQ(sim.scene("Form1")->int16("later").value(), 0);
        EXPECT_FALSE(sim.click("Form1", 5, 5));
    }
}

TEST(Registration, ATableAndHandlersThatDoNotMatchAreRefusedAtStartUp) {
    const SceneTable table =
        small_table("Form1", {label("ava", box(0, 0)), timer("Timer1", {.interval = 10})}, {int16("n")});
    const auto refused = [](std::vector<SceneDef> defs) {
        VirtualClock clock;
        try {
            Runtime runtime(std::move(defs), clock);
        } catch (const std::invalid_argument& e) {
            return std::string(e.what());
        }
        return std::string("accepted");
    };
    EXPECT_EQ(refused({{table, [](Scene& s) { s.label("avaa").on_click = [] {}; }}}),
              "Form1 has no Label named 'avaa'");
    EXPECT_EQ(refused({{table, [](Scene& s) { s.timer("ava"); }}}), "Form1 has no Timer named 'ava'");
    EXPECT_EQ(refused({{table, [](Scene& s) { s.variant("n"); }}}), "Form1 has no variant counter named 'n'");
    EXPECT_EQ(refused({{table, [](Scene& s) { s.link("Form9"); }}}), "no scene named 'Form9'");
    EXPECT_EQ(refused({{small_table("Form1", {label("a", box(0, 0)), label("a", box(0, 0))}), nullptr}}),
              "Form1 has two controls named 'a'");
    EXPECT_EQ(refused({{small_table("Form1", {}, {int16("n"), variant("n")}), nullptr}}),
              "Form1 has two counters named 'n'");
    EXPECT_EQ(refused({{table, nullptr}, {table, nullptr}}), "two scenes named 'Form1'");
}

// Tab reads two rows, each left to right though its right-hand button comes
// first in the list and stands higher: the stop of `right` lies level with
// `left`, that of `low` with `wide`. The caption `cap` covers the middle
// (70, 70) of `wide`, and all of `buried`: Tab takes the pointer to the pixel
// of `wide` nearest its middle that a click reaches, (80, 70), higher than
// the as near (70, 80). The disabled `dead` and the hidden `ghost` are skipped.
TEST(KeyboardPlay, TabReadsTheButtonsRowByRowLeftToRightWrappingBothWaysAndSpaceClicksThere) {
    LabelProps dead = box(40, 10);
    LabelProps ghost = box(30, 40, 10);
    dead.enabled = ghost.visible = false;
    Lab lab({label("right", box(70, 2)), label("cap", box(60, 60)), label("dead", dead), label("left", box(10, 12)),
             label("ghost", ghost), label("wide", box(50, 50, 40)), label("buried", box(60, 60)),
             label("low", box(10, 72, 10))},
            {"cap"});
    lab.sim.move_pointer("Form1", {95, 95}); // over no label
    std::vector<Pixel> visited;
    for (bool back : {false, true, false, false, false, false}) {
        lab.sim.key("Form1", {Key::Tab, back});
        visited.push_back(lab.sim.pointer("Form1"));
    }
    EXPECT_EQ(visited, (std::vector<Pixel>{{20, 22}, {80, 70}, {20, 22}, {80, 12}, {15, 77}, {80, 70}}));
    // Space clicks at the pointer and pairs into double-clicks as the mouse does.
    for (int i = 0; i < 4; ++i) {
        lab.sim.key("Form1", {Key::Space});
        lab.sim.wait_ms(100);
    }
    EXPECT_EQ(lab.clicks, "wide wide");
    // With nothing to click, Tab leaves the pointer where it is.
    Lab quiet({label("mute", box(0, 0))}, {"mute"});
    quiet.sim.move_pointer("Form1", {5, 6});
    quiet.sim.key("Form1", {Key::Tab});
    EXPECT_EQ(quiet.sim.pointer("Form1"), (Pixel{5, 6}));
}

TEST(KeyboardPlay, ArrowsStepEightPixelsOrOneWithShiftAndNeverLeaveTheClientArea) {
    Lab lab(click_rows()); // 100 x 100 pixels
    const auto press = [&lab](Key key, bool fine, int times) {
        for (int i = 0; i < times; ++i) lab.sim.key("Form1", {key, fine});
        return lab.sim.pointer("Form1");
    };
    EXPECT_EQ(press(Key::Left, false, 1), (Pixel{0, 0}));
    EXPECT_EQ(press(Key::Right, false, 12), (Pixel{96, 0}));
    EXPECT_EQ(press(Key::Right, false, 1), (Pixel{99, 0}));
    EXPECT_EQ(press(Key::Down, true, 3), (Pixel{99, 3}));
    EXPECT_EQ(press(Key::Down, false, 20), (Pixel{99, 99}));
    EXPECT_EQ(press(Key::Up, true, 1), (Pixel{99, 98}));
    lab.sim.move_pointer("Form1", {-500, 4000}); // a host's pointer beside the scene comes back in
    EXPECT_EQ(press(Key::Left, false, 1), (Pixel{0, 99}));
}
