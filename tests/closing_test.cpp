// SPDX-License-Identifier: GPL-3.0-or-later
// The closing street, played through the whole game: the "Bomberos V." card
// is clicked at 0 and the street is created at 1250 ms. Every time below is
// counted from the program's start.

#include "test_scenes.h"

#include <gtest/gtest.h>

#include <array>

using namespace guardianes;
using namespace guardianes::testing;

namespace {

// Ticks land on the 64 Hz grid of wake-ups: the lamps and the car every
// 203.125 ms from 1453.125, the sky every 171.875 ms from 1421.875, and the
// convoy every 156.25 ms from the car's last tick.
double tick_200ms(int n) { return 1453.125 + 203.125 * (n - 1); }
double tick_165ms(int n) { return 1421.875 + 171.875 * (n - 1); }
constexpr double kCarStops = 5515.625;
constexpr double kClosingText = 28406.25;
constexpr double kWakeup = 15.625;

class Closing : public ::testing::Test {
protected:
    void SetUp() override {
        sim.click("Form1", "portal4");
        until(1250);
        ASSERT_NE(sim.scene("Form5"), nullptr);
        start = positions(form5());
    }

    // How many controls have moved by each distance since the scene opened.
    std::map<std::pair<Twips, Twips>, int> moved() {
        std::map<std::pair<Twips, Twips>, int> by_distance;
        for (const auto& [name, move] : moves(start, form5())) ++by_distance[move];
        return by_distance;
    }

    void until(double ms) { sim.wait(static_cast<Nanos>(ms * kMillisecond) - sim.now()); }
    Scene& form5() { return *sim.scene("Form5"); }
    Colour colour(std::string_view name) {
        return form5().find(name)->kind() == ControlKind::Shape ? form5().shape(name).back_color()
                                                                : form5().label(name).back_color();
    }

    Simulation sim;
    Positions start;
};

} // namespace

// Every colour is taken from a swatch of the palette, or the grass. The
// light bar flashes from the third lamp tick on, its cycle comes round, and
// it flashes on after the closing text; the traffic light turns amber, then
// red, its green lamp taking the grass colour; the sky darkens on its 60th
// tick, the 30th and 90th keeping its colour (the 30th repaints nothing);
// night brings out the stars and the moon.
TEST_F(Closing, TheLampsTheTrafficLightAndTheSkyKeepTheirTimeline) {
    using Colours = std::array<Colour, 3>;
    const auto bar = [&](double ms) { return until(ms), Colours{colour("luz1"), colour("luz2"), colour("cam9")}; };
    const Colours opened = bar(1250);
    const Colours first{colour("ro"), colour("ro2"), colour("ama")};
    const Colours second{colour("ro2"), colour("ro"), colour("ama2")};
    EXPECT_EQ(bar(tick_200ms(3) - kWakeup), opened);
    EXPECT_EQ(bar(tick_200ms(3)), first);
    EXPECT_EQ(bar(tick_200ms(8)), second);
    EXPECT_EQ(bar(tick_200ms(9)), first);
    const auto light = [&](double ms) { return until(ms), Colours{colour("sem1"), colour("sem2"), colour("sem3")}; };
    const Colour unlit_red = colour("sem1");
    EXPECT_EQ(light(tick_200ms(15)), (Colours{unlit_red, colour("ama"), colour("grama")}));
    const Colours red{colour("ro"), colour("ama2"), colour("grama")};
    EXPECT_EQ(light(tick_200ms(20)), red);
    struct Repaints : RuntimeObserver {
        int count = 0;
        void scene_changed(Scene&) override { ++count; }
    } repaints;
    until(tick_165ms(30) - kWakeup);
    sim.watch(&repaints);
    until(tick_165ms(30));
    sim.watch(nullptr);
    EXPECT_EQ(repaints.count, 0);
    EXPECT_EQ(colour("cielo"), colour("azu2"));
    until(tick_165ms(90));
    EXPECT_EQ(colour("cielo"), colour("azu3"));
    until(tick_165ms(120) - kWakeup);
    EXPECT_FALSE(form5().shape("es6").visible());
    until(tick_165ms(120));
    EXPECT_EQ(colour("cielo"), colour("azu4"));
    for (const char* star : {"es1", "es2", "es3", "es4", "es5", "es6"})
        EXPECT_TRUE(form5().shape(star).visible()) << star;
    EXPECT_EQ(light(40000), red);
    EXPECT_EQ(bar(tick_200ms(195) - kWakeup), second);
    EXPECT_EQ(bar(tick_200ms(195)), first);
}

// The car is ten labels; the truck and the credits it tows are 23 controls.
TEST_F(Closing, TheCarMovesWholeOnAllTwentyOneTicksAndThenTheConvoyWholeUpToTheClosingText) {
    using Moved = std::map<std::pair<Twips, Twips>, int>;
    until(kCarStops);
    EXPECT_EQ(moved(), (Moved{{{0, -21 * 90}, 10}}));
    until(kCarStops + 156.25);
    EXPECT_EQ(moved(), (Moved{{{0, -21 * 90}, 10}, {{-90, 0}, 23}}));
    until(kClosingText - kWakeup);
    EXPECT_FALSE(form5().label("lbl").visible());
    until(kClosingText);
    EXPECT_TRUE(form5().label("lbl").visible());
    EXPECT_EQ(moved(), (Moved{{{0, -21 * 90}, 10}, {{-146 * 90, 0}, 23}}));
}
