// The closing street, played through the whole game: the "Bomberos V." card
// is clicked at 0 and the street is created at 1250 ms. Every time below is
// counted from the program's start.

#include "runtime/scene.h"
#include "sim/json.h"
#include "sim/simulation.h"

#include <gtest/gtest.h>

using namespace guardianes;

namespace {

// Ticks land on the 64 Hz grid of wake-ups: the lamps and the car every
// 203.125 ms from 1453.125, the sky every 171.875 ms from 1421.875, and the
// convoy every 156.25 ms from the car's last tick.
double tick_200ms(int n) { return 1453.125 + 203.125 * (n - 1); }
double tick_165ms(int n) { return 1421.875 + 171.875 * (n - 1); }
constexpr double kCarStops = 5515.625;
constexpr double kClosingText = 28406.25;
constexpr double kWakeup = 15.625;

class ClosingStreet : public ::testing::Test {
protected:
    void SetUp() override {
        sim.click("Form1", "portal4");
        until(1250);
        ASSERT_NE(sim.scene("Form5"), nullptr);
    }

    void until(double ms) { sim.wait(static_cast<Nanos>(ms * kMillisecond) - sim.now()); }
    Scene& form5() { return *sim.scene("Form5"); }
    std::string back(std::string_view name) {
        return to_string(form5().find(name)->kind() == ControlKind::Shape ? form5().shape(name).back_color()
                                                                         : form5().label(name).back_color());
    }
    std::string dump() { return dump_json(sim.runtime(), form5().index(), 0); }

    Simulation sim;
};

} // namespace

TEST_F(ClosingStreet, TheLightBarFlashesFromTheThirdLampTickOn) {
    until(tick_200ms(3) - kWakeup);
    EXPECT_EQ(back("luz1") + back("luz2") + back("cam9"), "#FF0000#FF0000#FFFF00");
    until(tick_200ms(3));
    EXPECT_EQ(back("luz1") + back("luz2") + back("cam9"), "#FF0000#800000#FFFF00");
    until(tick_200ms(8));
    EXPECT_EQ(back("luz1") + back("luz2") + back("cam9"), "#800000#FF0000#808000");
    until(tick_200ms(9));
    EXPECT_EQ(back("luz1") + back("luz2") + back("cam9"), "#FF0000#800000#FFFF00");
}

TEST_F(ClosingStreet, TheLightTurnsAmberThenRedAndTheGreenLampTakesTheGrassColour) {
    until(tick_200ms(15));
    EXPECT_EQ(back("sem1") + back("sem2") + back("sem3"), "#800000#FFFF00#008000");
    until(tick_200ms(20));
    EXPECT_EQ(back("sem1") + back("sem2") + back("sem3"), "#FF0000#808000#008000");
    until(40000);
    EXPECT_EQ(back("sem1") + back("sem2") + back("sem3"), "#FF0000#808000#008000");
}

TEST_F(ClosingStreet, TheCarMovesOnAllTwentyOneTicksAndThenTheConvoyStarts) {
    until(kCarStops - kWakeup);
    EXPECT_EQ(form5().label("luz1").top(), 5880 - 20 * 90);
    until(kCarStops);
    EXPECT_EQ(form5().label("luz1").top(), 5880 - 21 * 90);
    EXPECT_EQ(form5().label("luz10").top(), 6000 - 21 * 90);
    EXPECT_EQ(form5().label("cam1").left(), 5640);
    until(kCarStops + 156.25);
    EXPECT_EQ(form5().label("cam1").left(), 5640 - 90);
    EXPECT_EQ(form5().shape("ba9").left(), 11400 - 90);
    EXPECT_EQ(form5().label("luz1").top(), 5880 - 21 * 90);
}

TEST_F(ClosingStreet, TicksThirtyAndNinetyLeaveTheSkyAsItIsAndRepaintNothing) {
    struct Repaints : RuntimeObserver {
        int count = 0;
        void scene_changed(Scene&) override { ++count; }
    } repaints;
    sim.runtime().set_observer(&repaints);
    for (int tick : {30, 90}) {
        until(tick_165ms(tick) - kWakeup);
        const std::string before = back("cielo");
        repaints.count = 0;
        until(tick_165ms(tick));
        EXPECT_EQ(back("cielo"), before) << "tick " << tick;
        EXPECT_EQ(repaints.count, 0) << "tick " << tick;
    }
    sim.runtime().set_observer(nullptr);
}

TEST_F(ClosingStreet, TheSkyDarkensAndNightBringsOutTheStarsAndTheMoon) {
    until(tick_165ms(60));
    EXPECT_EQ(back("cielo"), "#000080");
    until(tick_165ms(120) - kWakeup);
    EXPECT_FALSE(form5().shape("es6").visible());
    until(tick_165ms(120));
    EXPECT_EQ(back("cielo"), "#000040");
    for (const char* star : {"es1", "es2", "es3", "es4", "es5", "es6"})
        EXPECT_TRUE(form5().shape(star).visible()) << star;
}

TEST_F(ClosingStreet, TheConvoyHasLeftTheWindowWhenTheClosingTextAppears) {
    until(kClosingText - kWakeup);
    EXPECT_LE(form5().label("ba6").left() + 1815, 0);
    EXPECT_FALSE(form5().label("lbl").visible());
    until(kClosingText);
    EXPECT_TRUE(form5().label("lbl").visible());
    EXPECT_EQ(form5().label("cam1").left(), 5640 - 146 * 90);
}

TEST_F(ClosingStreet, AfterTheClosingTextOnlyTheLampsChange) {
    until(kClosingText);
    const std::string at_rest = dump();
    const std::string lamp = back("luz1");
    // Half a lamp cycle later the lamps differ; a whole cycle later nothing does.
    until(kClosingText + 3 * 203.125);
    EXPECT_NE(back("luz1"), lamp);
    until(kClosingText + 10 * 6 * 203.125);
    EXPECT_EQ(dump(), at_rest);
}
