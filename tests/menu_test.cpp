// The menu: its picture at load and the departure of each service.

#include "scenes/scenes.h"
#include "sim/simulation.h"

#include <gtest/gtest.h>

using namespace guardianes;

namespace {

struct Service {
    const char* button;
    const char* body;
    const char* first_light;
    const char* second_light;
    const char* middle_light;
    Colour load_first, load_second, phase3_first, phase3_second, phase6_first, phase6_second;
    const char* scene;
};

const Service kServices[] = {
    {"portal1", "lcop", "ci", "cd", "cen1", rgb(0x000080), rgb(0x800000), rgb(0x0000FF), rgb(0x800000),
     rgb(0x000080), rgb(0xFF0000), "Form2"},
    {"portal2", "lbm", "mi", "md", "cen2", rgb(0x800000), rgb(0x800000), rgb(0xFFFFFF), rgb(0xFF0000),
     rgb(0xFF0000), rgb(0xFFFFFF), "Form3"},
    {"portal3", "lam", "ai", "ad", "cen3", rgb(0x800000), rgb(0x800000), rgb(0xFF0000), rgb(0xFF0000),
     rgb(0x800000), rgb(0x800000), "Form4"},
    {"portal4", "lbv", "vi", "vd", "cen4", rgb(0xC0C000), rgb(0xC0C000), rgb(0xFFFFFF), rgb(0xFFFF00),
     rgb(0xFFFF00), rgb(0xFFFFFF), "Form5"},
};

constexpr double kWake = 15.625;

Label& menu_label(Simulation& sim, const char* name) { return sim.scene("Form1")->label(name); }

} // namespace

TEST(MenuAtLoad, HoldsEveryControlInOrderWithTheDefaultsFilledIn) {
    Simulation sim;
    const Scene& menu = *sim.scene("Form1");
    ASSERT_EQ(menu.controls().size(), 59u);
    EXPECT_EQ(menu.controls().front()->name(), "Timer8");
    EXPECT_EQ(menu.controls()[8]->name(), "Label13");
    EXPECT_EQ(menu.controls().back()->name(), "lbm");
    const LabelProps& title = menu.label("Label1").props();
    EXPECT_EQ(title.back_color, Colour(SystemColour::ButtonFace)); // left out, so the role
    EXPECT_EQ(title.back_style, BackStyle::Transparent);
    EXPECT_EQ(title.font.face, "Fixedsys");
    const LabelProps& door = menu.label("Label3").props();
    EXPECT_EQ(door.border_style, BorderStyle::None);
    EXPECT_EQ(door.fore_color, Colour(SystemColour::ButtonText));
    EXPECT_EQ(door.font, Font{});
    const ShapeProps& box = menu.shape("lin1").props();
    EXPECT_EQ(box.border_width, 1);
    EXPECT_EQ(menu.label("portal5").caption().size(), 78u);
    EXPECT_EQ(menu.label("portal6").caption().size(), 49u);
    EXPECT_EQ(menu.label("portal7").caption().size(), 66u);
    EXPECT_EQ(menu.label("portal8").caption().size(), 50u);
}

TEST(MenuAtLoad, EveryVehicleLiesInsideItsCardAndBeneathIt) {
    Simulation sim;
    const Scene& menu = *sim.scene("Form1");
    const auto index = [&](const std::string& name) {
        for (std::size_t i = 0; i < menu.controls().size(); ++i)
            if (menu.controls()[i]->name() == name) return i;
        return menu.controls().size();
    };
    const char* cards[] = {"portal5", "portal6", "portal7", "portal8"};
    const std::vector<std::vector<const char*>> vehicles = {
        {"lcop", "ci", "cd", "v1", "para1", "cen1", "bom1", "lc1", "lc2"},
        {"lbm", "mi", "md", "para2", "cen2", "bom2", "lm1", "lm2"},
        {"lam", "ai", "ad", "para3", "cen3", "bom3", "la1", "la2", "cru1", "cru2"},
        {"lbv", "vi", "vd", "para4", "cen4", "bom4", "lv1", "lv2"}};
    for (std::size_t n = 0; n < 4; ++n) {
        const TwipsRect card = menu.label(cards[n]).rect();
        for (const char* part : vehicles[n]) {
            const TwipsRect r = menu.label(part).rect();
            EXPECT_GE(r.left, card.left) << part;
            EXPECT_LE(r.right(), card.right()) << part;
            EXPECT_GE(r.top, card.top) << part;
            EXPECT_LE(r.bottom(), card.bottom()) << part;
            EXPECT_GT(index(part), index(cards[n])) << part << " must be drawn beneath " << cards[n];
        }
    }
}

TEST(MenuPointer, NoDropOverTheMenuAndTheArrowOverTheButtons) {
    Simulation sim;
    const Scene& menu = *sim.scene("Form1");
    const Runtime& r = sim.runtime();
    EXPECT_EQ(r.pointer_at(menu, 5, 300), MousePointer::NoDrop);    // an edge strip
    EXPECT_EQ(r.pointer_at(menu, 220, 20), MousePointer::NoDrop);   // the title
    EXPECT_EQ(r.pointer_at(menu, 60, 70), MousePointer::NoDrop);    // a card
    EXPECT_EQ(r.pointer_at(menu, 80, 140), MousePointer::NoDrop);   // a door
    EXPECT_EQ(r.pointer_at(menu, 50, 110), MousePointer::Arrow);    // portal1
    EXPECT_EQ(r.pointer_at(menu, 170, 128), MousePointer::NoDrop);  // the second door's top row lies over its button
    EXPECT_EQ(r.pointer_at(menu, 80, 128), MousePointer::Arrow);    // but the police button lies over its door
}

TEST(Departure, EachServicesLightsFlashFromThePaletteAndTheMiddleOneNeverChanges) {
    for (const Service& s : kServices) {
        SCOPED_TRACE(s.button);
        Simulation sim;
        sim.click("Form1", s.button);
        const Colour middle = menu_label(sim, s.middle_light).back_color();
        const auto lights = [&] {
            return std::pair{menu_label(sim, s.first_light).back_color(), menu_label(sim, s.second_light).back_color()};
        };
        sim.wait_ms(2 * kWake);
        EXPECT_EQ(lights(), std::pair(s.load_first, s.load_second));
        sim.wait_ms(kWake); // tick 3
        EXPECT_EQ(lights(), std::pair(s.phase3_first, s.phase3_second));
        sim.wait_ms(3 * kWake); // tick 6
        EXPECT_EQ(lights(), std::pair(s.phase6_first, s.phase6_second));
        sim.wait_ms(2 * kWake); // tick 8: phase 3 again
        EXPECT_EQ(lights(), std::pair(s.phase3_first, s.phase3_second));
        sim.wait_ms(70 * kWake); // tick 78: the last change, a phase-3 one
        EXPECT_EQ(lights(), std::pair(s.phase3_first, s.phase3_second));
        EXPECT_EQ(menu_label(sim, s.middle_light).back_color(), middle);
    }
}

TEST(Departure, TheVehicleMakesFortyFiveStepsAndParksWithTheHourglass) {
    for (const Service& s : kServices) {
        SCOPED_TRACE(s.button);
        Simulation sim;
        const Twips start = menu_label(sim, s.body).top();
        sim.click("Form1", s.button);
        sim.wait_ms(44 * kWake);
        EXPECT_EQ(menu_label(sim, s.body).top(), start + 4400);
        EXPECT_EQ(sim.scene("Form1")->mouse_pointer(), MousePointer::NoDrop);
        sim.wait_ms(kWake); // wake-up 45, 703.125 ms
        EXPECT_EQ(menu_label(sim, s.body).top(), start + 4500);
        EXPECT_EQ(sim.scene("Form1")->mouse_pointer(), MousePointer::Hourglass);
        sim.wait_ms(30 * kWake);
        EXPECT_EQ(menu_label(sim, s.body).top(), start + 4500);
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
    for (const char* other : {"portal1", "portal2", "portal4"}) EXPECT_FALSE(menu_label(sim, other).enabled());
    EXPECT_TRUE(menu_label(sim, "portal3").enabled());
    sim.wait_ms(600);
    sim.click("Form1", "portal1");
    sim.wait_ms(600);
    sim.click("Form1", "portal4");
    EXPECT_EQ(menu_label(sim, "lcop").top(), 960);
    EXPECT_EQ(menu_label(sim, "lbv").top(), 960);
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
    EXPECT_EQ(menu_label(twice, "lcop").top(), menu_label(plain, "lcop").top());
    EXPECT_EQ(twice.scene("Form1")->int16("tiem1").value(), plain.scene("Form1")->int16("tiem1").value());
}

TEST(Departure, AClickAfterParkingLeavesTheVehicleParked) {
    Simulation sim;
    sim.click("Form1", "portal2");
    sim.wait_ms(50 * kWake);
    const Twips parked = menu_label(sim, "lbm").top();
    const Twips box = sim.scene("Form1")->shape("lin1").top();
    sim.click("Form1", "portal2");
    sim.wait_ms(20 * kWake);
    EXPECT_EQ(menu_label(sim, "lbm").top(), parked);
    EXPECT_EQ(sim.scene("Form1")->shape("lin1").top(), box);
    EXPECT_EQ(sim.scene("Form1")->variant("car2").value(), 45);
    sim.wait_ms(20 * kWake);
    EXPECT_NE(sim.scene("Form3"), nullptr);
}
