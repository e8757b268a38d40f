// The timer service: due times, one pending tick at most, and what enabling
// and disabling do to a running schedule.

#include "test_scenes.h"

#include <gtest/gtest.h>

using namespace guardianes;
using namespace guardianes::testing;

namespace {

// A scene with one button that starts `Timer1` (and optionally `Timer2`)
// and two timers that count their ticks.
struct Counting {
    int ticks1 = 0;
    int ticks2 = 0;
    std::vector<Nanos> times1;
    const Simulation* sim = nullptr; // the clock the ticks are timed by
};

SceneDef counting_scene(Counting& seen, int interval1, int interval2, bool enabled_at_load = false) {
    SceneTable table = small_table("Form1",
                                   {timer("Timer1", {.interval = interval1, .enabled = enabled_at_load}),
                                    timer("Timer2", {.interval = interval2, .enabled = false}),
                                    label("go", box(0, 0)), label("stop", box(40, 0)), label("both", box(80, 0))});
    return {table, [&seen](Scene& s) {
                Timer& t1 = s.timer("Timer1");
                Timer& t2 = s.timer("Timer2");
                t1.on_tick = [&seen] {
                    ++seen.ticks1;
                    if (seen.sim) seen.times1.push_back(seen.sim->now());
                };
                t2.on_tick = [&seen] { ++seen.ticks2; };
                s.label("go").on_click = [&t1] { t1.set_enabled(true); };
                s.label("stop").on_click = [&t1] { t1.set_enabled(false); };
                s.label("both").on_click = [&t1, &t2] {
                    t1.set_enabled(true);
                    t2.set_enabled(true);
                };
            }};
}

constexpr double kWake = 15.625;

} // namespace

TEST(TimerSchedule, FirstTickComesOnePeriodAfterTheClickRoundedUpToAWakeup) {
    Counting seen;
    Simulation sim({counting_scene(seen, 100, 10)});
    seen.sim = &sim;
    sim.wait_ms(5);
    sim.click("Form1", "go");
    sim.wait_ms(100); // due at 105 ms: not yet served
    EXPECT_EQ(seen.ticks1, 0);
    sim.wait_ms(5); // the wake-up at 109.375 ms serves it
    ASSERT_EQ(seen.ticks1, 1);
    EXPECT_EQ(seen.times1[0], 109'375'000);
}

TEST(TimerSchedule, LongerIntervalsTickEveryCeilOfIntervalOverTheWakeupPeriod) {
    const std::pair<int, int> expected[] = {{100, 7}, {110, 8}, {150, 10}, {165, 11}, {171, 11}, {200, 13}, {250, 16}};
    for (auto [interval, wakeups] : expected) {
        Counting seen;
        Simulation sim({counting_scene(seen, interval, 10, true)});
        seen.sim = &sim;
        sim.wait_ms(kWake * wakeups * 5);
        ASSERT_EQ(seen.ticks1, 5) << "interval " << interval;
        for (std::size_t i = 1; i < seen.times1.size(); ++i)
            EXPECT_EQ(seen.times1[i] - seen.times1[i - 1], wakeups * kWakeupPeriod) << "interval " << interval;
    }
}

TEST(TimerSchedule, IntervalsOneAndTenTickInStepAtEveryWakeup) {
    Counting seen;
    Simulation sim({counting_scene(seen, 1, 10)});
    seen.sim = &sim;
    sim.wait_ms(3);
    sim.click("Form1", "both");
    for (int i = 0; i < 50; ++i) {
        sim.wait_ms(kWake);
        EXPECT_EQ(seen.ticks1, seen.ticks2);
    }
    EXPECT_EQ(seen.ticks1, 50);
}

TEST(TimerSchedule, EnablingARunningTimerLeavesItsScheduleAlone) {
    Counting seen;
    Simulation sim({counting_scene(seen, 100, 10, true)});
    seen.sim = &sim;
    sim.wait_ms(200); // ticks at 109.375
    sim.click("Form1", "go"); // already running: no restart, no extra tick
    sim.wait_ms(30);
    EXPECT_EQ(seen.ticks1, 2);
    EXPECT_EQ(seen.times1[1], 218'750'000);
}

TEST(TimerSchedule, DisablingStopsTicksAndReenablingStartsAFreshPeriod) {
    Counting seen;
    Simulation sim({counting_scene(seen, 100, 10, true)});
    seen.sim = &sim;
    sim.wait_ms(150);
    sim.click("Form1", "stop");
    sim.wait_ms(1000);
    EXPECT_EQ(seen.ticks1, 1);
    sim.click("Form1", "go"); // at 1150 ms: due 1250 ms, a wake-up exactly
    sim.wait_ms(100);
    ASSERT_EQ(seen.ticks1, 2);
    EXPECT_EQ(seen.times1[1], 1'250'000'000);
}

TEST(TimerSchedule, AWaitThatEndsOnAWakeupServesIt) {
    Counting seen;
    Simulation sim({counting_scene(seen, 1, 10, true)});
    seen.sim = &sim;
    sim.wait_ms(kWake);
    EXPECT_EQ(seen.ticks1, 1);
    sim.wait_ms(0);
    EXPECT_EQ(seen.ticks1, 1);
}

TEST(TimerSchedule, MissedWakeupsAreNeverMadeUp) {
    Counting seen;
    VirtualClock clock;
    Runtime runtime({counting_scene(seen, 10, 10, true)}, clock);
    runtime.start();
    // The host was busy for a whole second and serves only the latest wake-up.
    clock.set(64 * kWakeupPeriod);
    runtime.serve_wakeup();
    EXPECT_EQ(seen.ticks1, 1);
    EXPECT_EQ(runtime.next_wakeup(), 65 * kWakeupPeriod);
}

TEST(TimerSchedule, NoRunningTimerMeansNoWakeupToWaitFor) {
    Counting seen;
    VirtualClock clock;
    Runtime runtime({counting_scene(seen, 100, 10)}, clock);
    runtime.start();
    EXPECT_FALSE(runtime.next_wakeup().has_value());
}

TEST(HiddenScenes, KeepTickingAndShowTheirChangesWhenShownAgain) {
    // Form1 hides itself and shows Form2 on its first click; Form1's timer
    // keeps moving its label while hidden.
    SceneTable one = small_table("Form1", {timer("Timer1", {.interval = 100}), label("mover", box(0, 40)),
                                           label("away", box(0, 0))});
    SceneTable two = small_table("Form2", {label("back", box(0, 0))});
    SceneDef first{one, [](Scene& s) {
                       Label& mover = s.label("mover");
                       s.timer("Timer1").on_tick = [&mover] { mover.set_left(mover.left() + 15); };
                       SceneLink form1 = s.link("Form1");
                       SceneLink form2 = s.link("Form2");
                       s.label("away").on_click = [form1, form2] {
                           form1.hide();
                           form2.show();
                       };
                   }};
    SceneDef second{two, [](Scene& s) {
                        SceneLink form1 = s.link("Form1");
                        s.label("back").on_click = [form1] { form1.show(); };
                    }};
    Simulation sim({first, second});
    sim.click("Form1", 5, 5);
    EXPECT_EQ(sim.scene("Form1")->state(), SceneState::Hidden);
    sim.wait_ms(1000);
    const Twips moved = sim.scene("Form1")->label("mover").left();
    EXPECT_EQ(moved, 9 * 15); // ticks at 109.375, 218.75, ... 984.375
    sim.click("Form2", 5, 5);
    EXPECT_EQ(sim.scene("Form1")->state(), SceneState::Shown);
    EXPECT_EQ(sim.scene("Form1")->label("mover").left(), moved);
}
