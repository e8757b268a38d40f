// Scenes coming and going: creation on first Show, closing, the end of the
// program, the run-time error, and tables checked when they are registered.

#include "test_scenes.h"

#include <gtest/gtest.h>

using namespace guardianes;
using namespace guardianes::testing;

namespace {

SceneDef overflow_scene() {
    SceneTable table = small_table("Form1", {label("step", box(0, 0)), label("marker", box(40, 0))}, {int16("n")});
    return {table, [](Scene& s) {
                Int16Counter& n = s.int16("n");
                Label& marker = s.label("marker");
                s.label("step").on_click = [&n, &marker] {
                    n = 32766;
                    marker.set_caption("before");
                    n += 1;
                    n += 1; // past 32767: the handler stops here
                    marker.set_caption("after");
                };
            }};
}

} // namespace

TEST(RunTimeError, SteppingA16BitCounterPast32767EndsTheProgram) {
    Simulation sim({overflow_scene()});
    sim.click("Form1", 5, 5);
    const Runtime& runtime = sim.runtime();
    ASSERT_TRUE(runtime.error().has_value());
    EXPECT_EQ(runtime.error()->number, 6);
    EXPECT_EQ(runtime.error()->name, "Overflow");
    EXPECT_FALSE(runtime.running());
    // The steps before the error stay done; the ones after never ran.
    EXPECT_EQ(sim.scene("Form1")->label("marker").caption(), "before");
    EXPECT_EQ(sim.scene("Form1")->int16("n").value(), 32767);
    // Nothing reaches the game any more.
    EXPECT_FALSE(sim.click("Form1", 5, 5));
}

TEST(RunTimeError, VariantCountersNeverOverflow) {
    VariantCounter v("v");
    EXPECT_TRUE(v.empty());
    EXPECT_TRUE(v == 0);
    for (int i = 0; i < 40000; ++i) v += 1;
    EXPECT_EQ(v.value(), 40000);
}

TEST(Registration, AHandlerNamingAMissingControlIsCaughtBeforeTheGameStarts) {
    SceneDef def{small_table("Form1", {label("ava", box(0, 0))}),
                 [](Scene& s) { s.label("avaa").on_click = [] {}; }};
    VirtualClock clock;
    try {
        Runtime runtime({def}, clock);
        FAIL() << "expected the registration to fail";
    } catch (const std::invalid_argument& e) {
        EXPECT_STREQ(e.what(), "Form1 has no Label named 'avaa'");
    }
}

TEST(Registration, WrongKindsUnknownScenesAndDuplicatesAreCaught) {
    VirtualClock clock;
    const SceneTable table = small_table("Form1", {label("ava", box(0, 0)), timer("Timer1", {.interval = 10})},
                                         {int16("n")});
    const auto fails = [&](SceneDef def) {
        EXPECT_THROW(Runtime({def}, clock), std::invalid_argument);
    };
    fails({table, [](Scene& s) { s.timer("ava"); }});
    fails({table, [](Scene& s) { s.variant("n"); }});
    fails({table, [](Scene& s) { s.link("Form9"); }});
    fails({small_table("Form1", {label("a", box(0, 0)), label("a", box(0, 0))}), nullptr});
    fails({small_table("Form1", {}, {int16("n"), variant("n")}), nullptr});
}

TEST(Registration, EveryGameSceneBinds) {
    VirtualClock clock;
    EXPECT_NO_THROW(Runtime(game_scenes(), clock));
}

TEST(Lifecycle, ClosingTheMenuDuringADepartureEndsTheProgram) {
    for (double moment : {0.0, 100.0, 703.125, 1234.375}) {
        Simulation sim;
        sim.click("Form1", "portal2");
        sim.wait_ms(moment);
        ASSERT_TRUE(sim.close("Form1"));
        EXPECT_FALSE(sim.runtime().running());
        sim.wait_ms(5000);
        EXPECT_EQ(sim.runtime().state(*sim.runtime().index_of("Form3")), SceneState::NotCreated) << moment;
    }
}

TEST(Lifecycle, ClosingTheServiceSceneEndsTheProgram) {
    Simulation sim;
    sim.click("Form1", "portal4");
    sim.wait_ms(1250);
    ASSERT_EQ(sim.scene("Form5")->state(), SceneState::Shown);
    EXPECT_EQ(sim.scene("Form1")->state(), SceneState::Hidden);
    sim.close("Form5");
    EXPECT_FALSE(sim.runtime().running());
    EXPECT_EQ(sim.runtime().state(*sim.runtime().index_of("Form5")), SceneState::Closed);
    EXPECT_EQ(sim.scene("Form5"), nullptr);
}

TEST(Lifecycle, InputToAHiddenOrUncreatedSceneReachesNothing) {
    Simulation sim;
    EXPECT_FALSE(sim.click("Form2", 10, 10));
    sim.click("Form1", "portal1");
    sim.wait_ms(1250);
    EXPECT_FALSE(sim.click("Form1", "portal1"));
    EXPECT_FALSE(sim.close("Form1"));
    EXPECT_TRUE(sim.runtime().running());
}

TEST(Pointer, AVisibleLabelsOwnPointerWinsOverTheScenes) {
    SceneTable table = small_table("Form1", {label("arrow", {.left = 0, .top = 0, .width = 300, .height = 300,
                                                             .enabled = false, .mouse_pointer = MousePointer::Arrow}),
                                             label("hidden", {.left = 600, .top = 0, .width = 300, .height = 300,
                                                              .visible = false, .mouse_pointer = MousePointer::Arrow}),
                                             label("plain", {.left = 0, .top = 0, .width = 900, .height = 900})});
    table.window.mouse_pointer = MousePointer::NoDrop;
    Simulation sim({{table, nullptr}});
    const Runtime& r = sim.runtime();
    const Scene& s = *sim.scene("Form1");
    EXPECT_EQ(r.pointer_at(s, 5, 5), MousePointer::Arrow);     // a disabled label keeps its pointer
    EXPECT_EQ(r.pointer_at(s, 45, 5), MousePointer::NoDrop);   // hidden labels do not count
    EXPECT_EQ(r.pointer_at(s, 5, 45), MousePointer::NoDrop);   // a label with pointer 0 shows the scene's
    EXPECT_EQ(r.pointer_at(s, 90, 90), MousePointer::NoDrop);
}
