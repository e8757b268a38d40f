// SPDX-License-Identifier: GPL-3.0-or-later
// The police race in the full game, the police card clicked at 0: the start
// signal, the player's clicks, the rival's run and the single winner.

#include "test_scenes.h"

#include <gtest/gtest.h>

#include <array>

using namespace guardianes;
using namespace guardianes::testing;

namespace {

constexpr double kCreated = 1250;                      // the menu's 80th light tick
constexpr double kSignalTick = 203.125;                // Interval 200 on the wake-up grid
constexpr double kGreen = kCreated + 9 * kSignalTick;  // 3078.125
constexpr double kRivalFinish = kGreen + 90 * 171.875; // 18546.875
constexpr double kWake = 15.625;

class Race : public ::testing::Test {
protected:
    void SetUp() override {
        sim.click("Form1", "portal1");
        wait_until(kCreated);
        ASSERT_NE(sim.scene("Form2"), nullptr);
        start = positions(*sim.scene("Form2"));
        police = parts_within(*sim.scene("Form2"), "poli");
        rival = parts_within(*sim.scene("Form2"), "porch");
    }

    // Each car moves whole: every part within its body, and nothing else.
    void expect_moved(Twips police_dy, Twips rival_dy) {
        const Scene& form2 = *sim.scene("Form2");
        Positions expected;
        for (const auto& [parts, dy] : {std::pair{&police, police_dy}, {&rival, rival_dy}})
            for (const std::string& part : *parts)
                if (dy != 0) expected[part] = {0, -dy};
        EXPECT_EQ(moves(start, form2), expected);
    }

    void wait_until(double ms) { sim.wait_ms(ms - static_cast<double>(sim.now()) / kMillisecond); }
    Label& label(const char* name) { return sim.scene("Form2")->label(name); }
    Colour colour(const char* name) { return sim.scene("Form2")->shape(name).back_color(); }

    // Alternate spots 4 pixels apart, so no two presses pair into a double-click.
    void click_ava(int times, double gap_ms = 0) {
        for (int i = 0; i < times; ++i, ++presses, sim.wait_ms(gap_ms))
            sim.click("Form2", 150 + 4 * (presses % 2), 524);
    }

    Simulation sim;
    Positions start;
    std::set<std::string> police; // the parts of each car
    std::set<std::string> rival;
    int presses = 0;
};

// Each lamp of the signal takes its colours from the rival car and the swatches beside the track.
TEST_F(Race, SignalTurnsRedYellowGreenOnTicksThreeSixAndNine) {
    using Lamps = std::array<Colour, 3>;
    const auto signal = [&](double ms) { return wait_until(ms), Lamps{colour("se1"), colour("se2"), colour("se3")}; };
    const Lamps unlit = signal(kCreated);
    EXPECT_EQ(signal(kCreated + 3 * kSignalTick - kWake), unlit);
    EXPECT_EQ(signal(kCreated + 3 * kSignalTick), (Lamps{colour("luz4"), unlit[1], unlit[2]}));
    EXPECT_EQ(signal(kCreated + 6 * kSignalTick), (Lamps{colour("lr"), colour("porch"), unlit[2]}));
    EXPECT_EQ(signal(kGreen), (Lamps{colour("lr"), colour("la"), colour("lv")}));
}

// One click counts, from the green light on; the rival still wins on its 90th tick.
TEST_F(Race, ClicksCountFromTheGreenLightAndTheRivalWinsOnItsNinetiethTick) {
    wait_until(kGreen);
    click_ava(1);
    expect_moved(160, 0);
    wait_until(kRivalFinish - kWake);
    expect_moved(160, 89 * 90);
    wait_until(kRivalFinish);
    expect_moved(160, 90 * 90);
}

// The 52nd click one wake-up before the rival's 90th tick wins; the rival stops short.
TEST_F(Race, FiftyTwoCountedClicksWinOneWakeupBeforeTheRivalWould) {
    wait_until(kRivalFinish - 51 * 300 - kWake);
    click_ava(52, 300);
    EXPECT_TRUE(label("play1").visible());
    expect_moved(52 * 160, 89 * 90);
}

} // namespace
