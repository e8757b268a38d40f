// SPDX-License-Identifier: GPL-3.0-or-later
// The fire in the full game, the fire card clicked at 0: the pump, the
// clock and its gallons, the flare-ups, and the single ending.

#include "test_scenes.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace guardianes;

namespace {

constexpr double kCreated = 1250; // the menu's 80th light tick
constexpr double kWake = 15.625;

class Fire : public ::testing::Test {
protected:
    void SetUp() override {
        sim.click("Form1", "portal2");
        wait_until(kCreated);
        ASSERT_NE(sim.scene("Form3"), nullptr);
    }

    void wait_until(double ms) { sim.wait_ms(ms - static_cast<double>(sim.now()) / kMillisecond); }
    Label& label(const std::string& name) { return sim.scene("Form3")->label(name); }
    bool shown(const std::string& name) { return label(name).visible(); }
    const std::string& clock() { return label("Label1").caption(); }

    // Alternate spots 4 pixels apart, so no two presses pair into a double-click.
    void pump(int times) {
        for (int i = 0; i < times; ++i) sim.click("Form3", 95 + 4 * (presses++ % 2), 340);
    }

    // Lets the running clock go on, one wake-up at a time, until it shows `tick`.
    void run_clock_to(int tick) {
        for (int i = 0; i < 8 * 300 && clock() != std::to_string(tick); ++i) sim.wait_ms(kWake);
        ASSERT_EQ(clock(), std::to_string(tick));
    }

    // How many of Line1..Line15 and of Line16..Line30 are drawn: "15+0" is the upper jet alone.
    std::string jet() {
        int drawn[2] = {0, 0};
        for (int n = 1; n <= 30; ++n) drawn[n > 15] += sim.scene("Form3")->line("Line" + std::to_string(n)).visible();
        return std::to_string(drawn[0]) + "+" + std::to_string(drawn[1]);
    }

    // "1" for each window of ven1..ven8 that burns, "0" for each put out.
    std::string windows() {
        std::string burning;
        for (int n = 1; n <= 8; ++n) burning += shown("ven" + std::to_string(n)) ? '1' : '0';
        return burning;
    }

    Simulation sim;
    int presses = 0;
};

TEST_F(Fire, TheEngineLightsSwapTheColoursOfTheRoofLampAndTheTankOnTicksThreeAndSixOfEachCycle) {
    const Colour lamp = label("go1").back_color();
    const Colour tank = sim.scene("Form3")->shape("tan").back_color();
    for (const auto& [tick, first, second] : {std::tuple{3, lamp, tank}, {6, tank, lamp}, {9, lamp, tank}}) {
        wait_until(kCreated + tick * 109.375);
        EXPECT_EQ(std::pair(label("luz1").back_color(), label("luz2").back_color()), std::pair(first, second)) << tick;
    }
}

TEST_F(Fire, TheCountOfTwoHoldsTheClockUntilTheNextClick) {
    wait_until(1300);
    pump(1);
    wait_until(1421.875 - kWake);
    EXPECT_EQ(clock(), "0");
    wait_until(1421.875);
    EXPECT_EQ(clock(), "1");
    pump(1);
    wait_until(5000);
    EXPECT_EQ(clock(), "1");
    pump(1);
    wait_until(5125);
    EXPECT_EQ(clock(), "2");
}

TEST_F(Fire, TheStrokeThatTurnsTheJetDownRestartsTheClocksPeriod) {
    wait_until(1300);
    pump(21); // the third stroke starts the clock: its first tick is due at 1410 ms
    wait_until(1400);
    pump(1); // the 22nd: the next tick is a whole period away, at 1510 ms
    wait_until(1515.625 - kWake);
    EXPECT_EQ(clock(), "0");
    wait_until(1515.625);
    EXPECT_EQ(clock(), "1");
}

// The strokes that change anything, each with the jet and the windows then.
TEST_F(Fire, EveryFifthStrokePutsOutTheNextWindowAndTheJetTurnsUpAtTwoDownAtTwentyTwoAndOffAtForty) {
    std::string changes;
    std::string before = jet() + " " + windows();
    for (int count = 1; count <= 40; ++count) {
        pump(1);
        const std::string now = jet() + " " + windows();
        if (now != before) changes += std::to_string(count) + ":" + now + " ";
        before = now;
    }
    EXPECT_EQ(changes, "2:15+0 11111111 5:15+0 01111111 10:15+0 00111111 15:15+0 00011111 20:15+0 00001111 "
                       "22:0+15 00001111 25:0+15 00000111 30:0+15 00000011 35:0+15 00000001 40:0+0 00000000 ");
}

// The loss then hides the lower jet the 22nd stroke turned on.
TEST_F(Fire, AFlareUpAtThirtyNineRelightsEveryWindowAndRestartsTheCountAndTheLossHidesTheLowerJet) {
    pump(39);
    run_clock_to(81);
    EXPECT_EQ(windows(), "00000001");
    run_clock_to(82);
    EXPECT_EQ(windows(), "11111111");
    EXPECT_EQ(jet(), "0+15");
    pump(2);
    EXPECT_EQ(jet(), "15+0");
    pump(20);
    run_clock_to(265);
    EXPECT_EQ(jet(), "0+0");
}

// Three strokes at once leave the upper jet on and the clock running.
TEST_F(Fire, ThreeStrokesAt1300LoseAt34421ClearingTheBuildingButTheUpperJet) {
    wait_until(1300);
    pump(3);
    wait_until(34421.875);
    EXPECT_TRUE(shown("lose"));
    for (const char* name : {"edificio", "ven1", "ven8", "ama1", "ama8"}) EXPECT_FALSE(shown(name)) << name;
    for (const char* name : {"s1", "s5", "s9"}) EXPECT_TRUE(shown(name)) << name;
    EXPECT_EQ(jet(), "15+0");
}

TEST_F(Fire, AWinOnTheLastGallonPreventsTheLoss) {
    pump(1);
    run_clock_to(264);
    pump(40);
    wait_until(static_cast<double>(sim.now()) / kMillisecond + 5000);
    EXPECT_TRUE(shown("win"));
    EXPECT_TRUE(shown("edificio"));
    EXPECT_EQ(clock(), "264");
}

} // namespace
