// SPDX-License-Identifier: GPL-3.0-or-later
// The menu and the departure of each service.

#include "test_scenes.h"

#include <gtest/gtest.h>

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

} // namespace

// Where a door and its button overlap, the one on top sets the pointer.
TEST(MenuPointer, WhereADoorAndItsButtonOverlapTheOneOnTopSetsThePointer) {
    Simulation sim;
    const Scene& menu = *sim.scene("Form1");
    EXPECT_EQ(sim.runtime().pointer_shape_at(menu, 170, 128), MousePointer::NoDrop); // the second door over its button
    EXPECT_EQ(sim.runtime().pointer_shape_at(menu, 80, 128), MousePointer::Arrow);   // the police button over its door
}

// Every button is clicked again after each look, while driving and once
// parked: the vehicle moves whole, 100 twips a tick for 45 ticks, nothing
// else moves, and the service scene replaces the menu at wake-up 80.
TEST(Departure, TheVehicleMovesWholeWhateverIsClickedAndItsSceneOpensAtWakeupEighty) {
    for (const Service& s : kServices) {
        SCOPED_TRACE(s.button);
        Simulation sim;
        const Scene& menu = *sim.scene("Form1");
        // The vehicle: all that lies in its body and is drawn beneath its card.
        const std::set<std::string> parts = parts_within(menu, s.body, s.card);
        ASSERT_GE(parts.size(), 8u);
        const Positions start = positions(menu);
        sim.click("Form1", s.button);
        for (const int tick : {1, 44, 45, 75, 79}) {
            sim.wait(tick * kWakeupPeriod - sim.now());
            Positions expected;
            for (const std::string& part : parts) expected[part] = {0, 100 * std::min(tick, 45)};
            EXPECT_EQ(moves(start, menu), expected) << "at tick " << tick;
            for (const Service& any : kServices) sim.click("Form1", any.button);
        }
        EXPECT_EQ(sim.scene(s.scene), nullptr);
        sim.wait(kWakeupPeriod);
        ASSERT_NE(sim.scene(s.scene), nullptr);
        EXPECT_EQ(sim.scene(s.scene)->state(), SceneState::Shown);
    }
}

TEST(Departure, TheOuterLightsFlashAtTicksThreeAndSixOfEachCycleAndTheMiddleOneNever) {
    Simulation sim;
    sim.click("Form1", "portal4");
    const Scene& menu = *sim.scene("Form1");
    const auto colours = [&] {
        return to_string(menu.label("vi").back_color()) + to_string(menu.label("vd").back_color());
    };
    const Colour middle = menu.label("cen4").back_color();
    std::string changed, before = colours();
    for (int tick = 1; tick < 80; ++tick) {
        sim.wait(kWakeupPeriod);
        if (colours() != before) changed += std::to_string(tick) + " ";
        before = colours();
        EXPECT_EQ(menu.label("cen4").back_color(), middle);
    }
    // The cycle restarts at 1, so after the first the flashes come 3 and 2 ticks apart.
    EXPECT_EQ(changed, "3 6 8 11 13 16 18 21 23 26 28 31 33 36 38 41 43 46 48 51 53 56 58 61 63 66 68 71 73 76 78 ");
}
