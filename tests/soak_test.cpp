// A day of play in each service scene: 24 hours of virtual time under
// seeded random clicks, on the scene's buttons and anywhere else, with the
// game's rules checked after every press, release and wake-up, and the heap
// no larger at the end of the day than after its first hour.

#include "fuzz/game_rules.h"
#include "sim/simulation.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <malloc.h>
#include <random>
#include <string>
#include <vector>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define GUARDIANES_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define GUARDIANES_ASAN 1
#endif
#ifdef GUARDIANES_ASAN
// The sanitizer's own count of the heap; GCC ships no header that declares it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

using namespace guardianes;

namespace {

constexpr Nanos kHour = 3600LL * 1000 * kMillisecond;
constexpr Nanos kDay = 24 * kHour;
// A leak of one byte per tick would grow the heap by megabytes in a day;
// the allowance only covers the allocator's own bookkeeping.
constexpr std::size_t kHeapAllowance = 16 * 1024;

// Bytes the program holds on the heap, as the allocator in use counts them.
std::size_t live_heap_bytes() {
#ifdef GUARDIANES_ASAN
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}

struct Day {
    const char* button; // on the menu
    const char* scene;
    std::vector<const char*> targets; // the scene's own buttons
    unsigned seed;
};

std::string name_of(const ::testing::TestParamInfo<Day>& info) { return info.param.scene; }

void PrintTo(const Day& day, std::ostream* out) { *out << day.scene; }

class ADayOfPlay : public ::testing::TestWithParam<Day> {
protected:
    void expect_rules(const char* after) {
        const auto broken = rules.broken();
        ASSERT_FALSE(broken) << *broken << " after " << after << " at " << sim.now() / kMillisecond << " ms";
    }

    // Every wake-up on the way is an event of its own, checked on its own.
    void wait(Nanos span) {
        const Nanos until = sim.now() + span;
        while (sim.now() < until) {
            const auto next = sim.runtime().next_wakeup();
            sim.wait((next && *next < until ? *next : until) - sim.now());
            expect_rules("a wake-up");
            if (HasFatalFailure()) return;
        }
    }

    Nanos random_wait() {
        const int kind = std::uniform_int_distribution(0, 99)(random);
        const double most = kind < 70 ? 400 : kind < 95 ? 5000 : 120000;
        return static_cast<Nanos>(std::uniform_real_distribution(0.0, most)(random) * kMillisecond);
    }

    // A press, a release and what lies between them: mostly on one of the
    // scene's buttons, a few pixels off its centre, or anywhere in or
    // around the window; now and then released somewhere else.
    void random_click(const Day& day) {
        const Scene& scene = *sim.scene(day.scene);
        const int width = to_pixels(scene.client_width());
        const int height = to_pixels(scene.client_height());
        std::uniform_int_distribution jitter(-3, 3);
        Pixel at{};
        if (std::uniform_int_distribution(0, 99)(random) < 65) {
            const auto which = std::uniform_int_distribution<std::size_t>(0, day.targets.size() - 1)(random);
            at = centre_pixel(*scene.find(day.targets[which]));
            at = {at.x + jitter(random), at.y + jitter(random)};
        } else {
            at = {std::uniform_int_distribution(-30, width + 30)(random),
                  std::uniform_int_distribution(-30, height + 30)(random)};
        }
        sim.press(day.scene, at.x, at.y);
        expect_rules("a press");
        if (std::uniform_int_distribution(0, 9)(random) == 0) {
            wait(random_wait());
            at = {std::uniform_int_distribution(0, width)(random), std::uniform_int_distribution(0, height)(random)};
        }
        sim.release(day.scene, at.x, at.y);
        expect_rules("a release");
        ++clicks;
    }

    // A child's fast clicking on one button: presses a fraction of a second
    // apart, at spots 4 pixels apart, so that each of them counts.
    void burst(const Day& day) {
        const auto which = std::uniform_int_distribution<std::size_t>(0, day.targets.size() - 1)(random);
        const int presses = std::uniform_int_distribution(20, 120)(random);
        const double gap_ms = std::uniform_real_distribution(80.0, 300.0)(random);
        for (int i = 0; i < presses && !HasFatalFailure(); ++i) {
            const Pixel centre = centre_pixel(*sim.scene(day.scene)->find(day.targets[which]));
            sim.click(day.scene, centre.x + 4 * (i % 2), centre.y);
            expect_rules("a click of a burst");
            ++clicks;
            wait(static_cast<Nanos>(gap_ms * kMillisecond));
        }
    }

    Simulation sim;
    GameRules rules{sim.runtime()};
    std::mt19937 random;
    long clicks = 0;
};

TEST_P(ADayOfPlay, KeepsEveryRuleAndNoMoreMemoryThanAfterItsFirstHour) {
    const Day& day = GetParam();
    random.seed(day.seed);
    ASSERT_TRUE(sim.click("Form1", day.button));
    wait(1250 * kMillisecond);
    ASSERT_TRUE(sim.scene(day.scene) && sim.scene(day.scene)->shown());

    std::size_t heap_after_first_hour = 0;
    while (sim.now() < kDay && !HasFatalFailure()) {
        if (heap_after_first_hour == 0 && sim.now() >= kHour) heap_after_first_hour = live_heap_bytes();
        if (std::uniform_int_distribution(0, 99)(random) < 3)
            burst(day);
        else
            random_click(day);
        wait(random_wait());
    }
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_TRUE(sim.runtime().running());
    EXPECT_LE(live_heap_bytes(), heap_after_first_hour + kHeapAllowance);
    RecordProperty("clicks", std::to_string(clicks));
    std::string counters;
    for (const Counter& c : sim.scene(day.scene)->counters())
        std::visit([&](const auto& k) { counters += " " + k.name() + "=" + std::to_string(k.value()); }, c);
    std::printf("%s: %ld clicks in 24 hours of virtual time, heap %zu bytes after the first hour and %zu at the "
                "end; counters at the end:%s\n",
                day.scene, clicks, heap_after_first_hour, live_heap_bytes(), counters.c_str());
}

INSTANTIATE_TEST_SUITE_P(EachServiceScene, ADayOfPlay,
                         ::testing::Values(Day{"portal1", "Form2", {"ava"}, 9}, Day{"portal2", "Form3", {"bomba"}, 5},
                                           Day{"portal3", "Form4", {"Label11", "lbl", "ag2", "va2"}, 3},
                                           Day{"portal4", "Form5", {"luz10", "cam1", "lbl"}, 4}),
                         name_of);

} // namespace
