// The menu and the departure of each service.

#include "test_scenes.h"

#include <gtest/gtest.h>

#include <set>

using namespace guardianes;
using namespace guardianes::testing;

namespace {

struct Service {
    const char* button;
    const char* card;
    const char* body;
    const char* scene;
};

const Service kServices[] = {{"portal1", "portal5", "lcop", "Form2"},
                             {"portal2", "portal6", "lbm", "Form3"},
                             {"portal3", "portal7", "lam", "Form4"},
                             {"portal4", "portal8", "lbv", "Form5"}};

constexpr double kWake = 15.625;

} // namespace

TEST(MenuPointer, NoDropOverTheMenuAndTheArrowOverTheButtons) {
    Simulation sim;
    const Scene& menu = *sim.scene("Form1");
    const Runtime& r = sim.runtime();
    EXPECT_EQ(r.pointer_at(menu, 5, 300), MousePointer::NoDrop);   // an edge strip
    EXPECT_EQ(r.pointer_at(menu, 220, 20), MousePointer::NoDrop);  // the title
    EXPECT_EQ(r.pointer_at(menu, 60, 70), MousePointer::NoDrop);   // a card
    EXPECT_EQ(r.pointer_at(menu, 80, 140), MousePointer::NoDrop);  // a door
    EXPECT_EQ(r.pointer_at(menu, 50, 110), MousePointer::Arrow);   // portal1
    EXPECT_EQ(r.pointer_at(menu, 170, 128), MousePointer::NoDrop); // the second door's top row lies over its button
    EXPECT_EQ(r.pointer_at(menu, 80, 128), MousePointer::Arrow);   // but the police button lies over its door
}

TEST(Departure, EveryPartOfTheVehicleMovesWithItFortyFiveStepsAndNothingElseMoves) {
    for (const Service& s : kServices) {
        SCOPED_TRACE(s.button);
        Simulation sim;
        const Scene& menu = *sim.scene("Form1");
        // The vehicle: all that lies in its body and is drawn beneath its card.
        const std::set<std::string> parts = parts_within(menu, s.body, s.card);
        ASSERT_GE(parts.size(), 8u);
        const Positions start = positions(menu);
        sim.click("Form1", s.button);
        for (const int tick : {1, 44, 45, 75}) {
            sim.wait(tick * kWakeupPeriod - sim.now());
            const Twips step = 100 * std::min(tick, 45);
            for (const auto& [name, move] : moves(start, menu)) {
                EXPECT_TRUE(parts.count(name)) << name << " moved at tick " << tick;
                EXPECT_EQ(move, std::pair(0, step)) << name << " at tick " << tick;
            }
            EXPECT_EQ(moves(start, menu).size(), parts.size()) << "at tick " << tick;
            // The hourglass shows from the 45th light tick on.
            EXPECT_EQ(menu.mouse_pointer(), tick < 45 ? MousePointer::NoDrop : MousePointer::Hourglass);
        }
    }
}

TEST(Departure, TheOuterLightsFlashAtTicksThreeAndSixOfEachCycleAndTheMiddleOneNever) {
    Simulation sim;
    sim.click("Form1", "portal4");
    const Scene& menu = *sim.scene("Form1");
    std::string changed;
    Colour first = menu.label("vi").back_color(), second = menu.label("vd").back_color();
    const Colour middle = menu.label("cen4").back_color();
    for (int tick = 1; tick < 80; ++tick) {
        sim.wait_ms(kWake);
        if (menu.label("vi").back_color() != first || menu.label("vd").back_color() != second)
            changed += std::to_string(tick) + " ";
        first = menu.label("vi").back_color();
        second = menu.label("vd").back_color();
        EXPECT_EQ(menu.label("cen4").back_color(), middle);
    }
    // The cycle restarts at 1, so after the first the flashes come 3 and 2 ticks apart.
    EXPECT_EQ(changed, "3 6 8 11 13 16 18 21 23 26 28 31 33 36 38 41 43 46 48 51 53 56 58 61 63 66 68 71 73 76 78 ");
}

TEST(Departure, ClosingTheMenuBeforeTheSwitchEndsTheProgram) {
    for (double moment : {0.0, 703.125, 1234.375}) {
        Simulation sim;
        sim.click("Form1", "portal2");
        sim.wait_ms(moment);
        ASSERT_TRUE(sim.close("Form1"));
        EXPECT_FALSE(sim.runtime().running());
        sim.wait_ms(5000);
        EXPECT_EQ(sim.runtime().state(2), SceneState::NotCreated) << moment;
    }
}

TEST(Departure, TheServiceSceneReplacesTheMenuAtWakeupEighty) {
    for (const Service& s : kServices) {
        SCOPED_TRACE(s.button);
        Simulation sim;
        sim.click("Form1", s.button);
        sim.wait_ms(1250 - kWake);
        EXPECT_EQ(sim.scene(s.scene), nullptr);
        sim.wait_ms(kWake);
        ASSERT_NE(sim.scene(s.scene), nullptr);
        EXPECT_EQ(sim.scene(s.scene)->state(), SceneState::Shown);
        EXPECT_EQ(sim.scene("Form1")->state(), SceneState::Hidden);
        // The menu's timers have all stopped; nothing of it moves any more.
        for (const auto& control : sim.scene("Form1")->controls()) {
            if (control->kind() == ControlKind::Timer) {
                EXPECT_FALSE(static_cast<Timer&>(*control).enabled()) << control->name();
            }
        }
        // Only one service scene is ever created.
        int created = 0;
        for (const char* name : {"Form2", "Form3", "Form4", "Form5"}) created += sim.scene(name) != nullptr;
        EXPECT_EQ(created, 1);
    }
}

TEST(Departure, TheOtherButtonsGoDeadAndClicksOnThemDoNothing) {
    Simulation sim;
    sim.click("Form1", "portal3");
    for (const char* other : {"portal1", "portal2", "portal4"})
        EXPECT_FALSE(sim.scene("Form1")->label(other).enabled());
    EXPECT_TRUE(sim.scene("Form1")->label("portal3").enabled());
    sim.wait_ms(600);
    sim.click("Form1", "portal1");
    sim.wait_ms(600);
    sim.click("Form1", "portal4");
    EXPECT_EQ(sim.scene("Form1")->label("lcop").top(), 960);
    EXPECT_EQ(sim.scene("Form1")->label("lbv").top(), 960);
    sim.wait_ms(200);
    EXPECT_NE(sim.scene("Form4"), nullptr);
}

TEST(Departure, ASecondClickWhileDrivingChangesNothing) {
    Simulation plain;
    plain.click("Form1", "portal1");
    Simulation twice;
    twice.click("Form1", "portal1");
    plain.wait_ms(10 * kWake);
    twice.wait_ms(10 * kWake);
    twice.click("Form1", "portal1");
    plain.wait_ms(20 * kWake);
    twice.wait_ms(20 * kWake);
    EXPECT_EQ(twice.scene("Form1")->label("lcop").top(), plain.scene("Form1")->label("lcop").top());
    EXPECT_EQ(twice.scene("Form1")->int16("tiem1").value(), plain.scene("Form1")->int16("tiem1").value());
}

TEST(Departure, AClickAfterParkingLeavesTheVehicleParked) {
    Simulation sim;
    sim.click("Form1", "portal2");
    sim.wait_ms(50 * kWake);
    const Twips parked = sim.scene("Form1")->label("lbm").top();
    const Twips box = sim.scene("Form1")->shape("lin1").top();
    sim.click("Form1", "portal2");
    sim.wait_ms(20 * kWake);
    EXPECT_EQ(sim.scene("Form1")->label("lbm").top(), parked);
    EXPECT_EQ(sim.scene("Form1")->shape("lin1").top(), box);
    EXPECT_EQ(sim.scene("Form1")->variant("car2").value(), 45);
    sim.wait_ms(20 * kWake);
    EXPECT_NE(sim.scene("Form3"), nullptr);
}
