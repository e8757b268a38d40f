// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/clock.h"

#include <chrono>

namespace guardianes {

// Real time for the live game: the monotonic clock, counted from start-up.
class MonotonicClock final : public Clock {
public:
    Nanos now() const override {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start_).count();
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

} // namespace guardianes
