#pragma once

#include "runtime/clock.h"

#include <string>

namespace guardianes {

class Runtime;
class Painter;

struct HostOptions {
    // When set, the time of every wake-up is appended to this file, one
    // line of nanoseconds each, for measuring the schedule's accuracy.
    std::string wakeup_log;
    // Every window drawn this many times larger; 0 asks the desktop.
    int scale = 0;
};

// Runs the game in real windows until it ends; returns the exit status.
// This is the only part of the program that talks to the window system.
int run_desktop(Runtime& runtime, Clock& clock, Painter& painter, const HostOptions& options);

} // namespace guardianes
