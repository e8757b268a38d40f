// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/clock.h"

#include <functional>
#include <memory>
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
    // Each shown scene fills the screen at the largest whole scale that fits,
    // centred on black; `scale` is then unused.
    bool fullscreen = false;
    // For a shared machine: closing a window does not end the game, Escape
    // starts a new one, Shift+Ctrl+Escape ends it, and a run-time error is
    // shown and followed by a new game.
    bool kiosk = false;
    // The arrow keys, Tab, Space and Enter move the pointer and click.
    bool keyboard = false;
    // A new game starts after this long without a press; 0 never.
    Nanos idle_restart = 0;
};

// Builds the game afresh, as the program does when it starts.
using RuntimeFactory = std::function<std::unique_ptr<Runtime>()>;

// Runs the game in real windows until it ends; returns the exit status.
// This is the only part of the program that talks to the window system.
int run_desktop(const RuntimeFactory& new_game, Clock& clock, Painter& painter, const HostOptions& options);

} // namespace guardianes
