// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace guardianes {

// Time on the runtime's clock, in nanoseconds since the program started.
using Nanos = std::int64_t;

inline constexpr Nanos kMillisecond = 1'000'000;
// The timer service wakes 64 times a second.
inline constexpr Nanos kWakeupPeriod = 15'625'000;

// Where the runtime reads the time: the monotonic clock in the live game, a
// clock that only moves when told to in the simulator and the tests.
class Clock {
public:
    virtual ~Clock() = default;
    virtual Nanos now() const = 0;
};

class VirtualClock final : public Clock {
public:
    Nanos now() const override { return now_; }
    void set(Nanos t) { now_ = t; }

private:
    Nanos now_ = 0;
};

} // namespace guardianes
