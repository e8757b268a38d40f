// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/clock.h"

#include <string>

namespace guardianes {

class Painter;
class Session;

struct HostOptions {
    // When set, the time of every wake-up is appended to this file, one
    // line of nanoseconds each, for measuring the schedule's accuracy.
    std::string wakeup_log;
};

// Runs the session's games in real windows until it ends; returns the exit
// status. This is the only part of the program that talks to the window
// system.
int run_desktop(Session& session, Clock& clock, Painter& painter, const HostOptions& options);

} // namespace guardianes
