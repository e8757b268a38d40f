// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clock.h"

#include <functional>
#include <optional>
#include <vector>

namespace guardianes {

class Scene;
class Timer;

// Serves every live scene's timers on one grid of wake-ups, 64 a second.
// It keeps each running timer's due time and pending tick; the timers
// themselves hold only their Interval and whether they are enabled.
class TimerService {
public:
    // The latest wake-up of the grid at or before `t`.
    static Nanos wakeup_at_or_before(Nanos t) { return t - (t % kWakeupPeriod + kWakeupPeriod) % kWakeupPeriod; }

    // A new scene's timers, in list order; those it leaves enabled are due
    // one Interval after `now`.
    void add(const Scene& scene, Nanos now);
    // A closed scene's timers stop for good, pending ticks and all.
    void remove(const Scene& scene);

    // A handler switched a timer on or off at `now`. Starting makes the
    // first tick due one Interval on; stopping drops a pending tick.
    void started(const Timer& timer, Nanos now);
    void stopped(const Timer& timer);

    // The wake-up at which the next tick falls due; none while no timer runs.
    std::optional<Nanos> next_wakeup() const;

    // Serves the latest wake-up due at `now`, if any: every running timer
    // due by then gets one pending tick, and `deliver` runs each in order,
    // at the wake-up's time. Wake-ups missed before it are never made up.
    // Returns whether a wake-up was served.
    using Deliver = std::function<bool(Timer&, Nanos at)>; // false stops the delivery
    bool serve(Nanos now, const Deliver& deliver);

private:
    struct Entry {
        Timer* timer;
        Nanos due;
        bool pending;
    };
    Entry* find(const Timer& timer);

    std::vector<Entry> entries_; // every live scene's timers, in delivery order
    Nanos last_wakeup_ = 0;
};

} // namespace guardianes
