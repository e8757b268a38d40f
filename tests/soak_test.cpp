// SPDX-License-Identifier: GPL-3.0-or-later
// Whatever a child does for a day in a service scene, clicking its buttons
// and anywhere else, fast and slow, no rule of the game breaks.

#include "fuzz/game_rules.h"
#include "runtime/runtime_observer.h"
#include "sim/simulation.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace guardianes;

namespace {

constexpr Nanos kDay = 24LL * 3600 * 1000 * kMillisecond;

// Nothing on the street takes a click: there, a click changes nothing the player sees.
enum class Clicks { Play, ChangeNothing };

struct Day {
    const char* button; // on the menu
    const char* scene;
    std::vector<Pixel> targets; // the scene's own buttons, or anywhere
    Clicks clicks = Clicks::Play;
};
void PrintTo(const Day& day, std::ostream* out) { *out << day.scene; }

class ADayOfPlay : public ::testing::TestWithParam<Day> {
protected:
    void check(const char* after) {
        const auto broken = rules.broken();
        ASSERT_FALSE(broken) << *broken << " after " << after << " at " << sim.now() / kMillisecond << " ms";
    }

    // Every wake-up on the way is checked on its own.
    void wait(Nanos span) {
        const Nanos until = sim.now() + span;
        while (sim.now() < until && !HasFatalFailure()) {
            const auto next = sim.runtime().next_wakeup();
            sim.wait((next && *next < until ? *next : until) - sim.now());
            check("a wake-up");
        }
    }

    // Mostly a fraction of a second, as a child clicks; now and then minutes.
    Nanos random_wait() {
        const int kind = std::uniform_int_distribution(0, 99)(random);
        const double most = kind < 70 ? 300 : kind < 97 ? 5000 : 120000;
        return static_cast<Nanos>(std::uniform_real_distribution(0.0, most)(random) * kMillisecond);
    }

    struct Repaints : RuntimeObserver {
        int count = 0;
        void scene_changed(Scene&) override { ++count; }
    } repaints;
    Simulation sim;
    GameRules rules{sim.runtime()};
    std::mt19937 random{7};
};

TEST_P(ADayOfPlay, KeepsEveryRule) {
    const Day& day = GetParam();
    // Watched through the session, as a host watches, so that the session
    // still sees its own game: the departure's siren reaches the host.
    sim.watch(&repaints);
    ASSERT_TRUE(sim.click("Form1", day.button));
    wait(1250 * kMillisecond);
    ASSERT_FALSE(sim.take_sounds().empty()) << "the session did not pass on the departure's siren";
    const Scene& scene = *sim.scene(day.scene);
    std::uniform_int_distribution jitter(-3, 3);
    std::uniform_int_distribution anywhere(-30, 600);
    while (sim.now() < kDay && !HasFatalFailure()) {
        Pixel at = day.targets[std::uniform_int_distribution<std::size_t>(0, day.targets.size() - 1)(random)];
        at = std::uniform_int_distribution(0, 3)(random) ? Pixel{at.x + jitter(random), at.y + jitter(random)}
                                                         : Pixel{anywhere(random), anywhere(random)};
        const int repainted = repaints.count;
        sim.press(day.scene, at.x, at.y);
        check("a press");
        const bool held = std::uniform_int_distribution(0, 9)(random) == 0;
        if (held) wait(random_wait());
        sim.release(day.scene, at.x, at.y);
        check("a release");
        ASSERT_TRUE(day.clicks == Clicks::Play || held || repaints.count == repainted)
            << "a click at " << at.x << ", " << at.y << " changed the scene";
        wait(random_wait());
    }
    EXPECT_TRUE(scene.shown());
}

INSTANTIATE_TEST_SUITE_P(EachServiceScene, ADayOfPlay,
                         ::testing::Values(Day{"portal1", "Form2", {{150, 524}}}, Day{"portal2", "Form3", {{95, 340}}},
                                           Day{"portal3", "Form4", {{76, 240}, {56, 112}, {460, 96}, {440, 264}}},
                                           Day{"portal4", "Form5", {{200, 200}}, Clicks::ChangeNothing}),
                         [](const auto& param) { return std::string(param.param.scene); });

} // namespace
