// SPDX-License-Identifier: GPL-3.0-or-later
// guardianes: the game, in real windows.

#include "app/host.h"
#include "app/minutes.h"
#include "app/monotonic_clock.h"
#include "paint/fonts.h"
#include "paint/painter.h"
#include "runtime/runtime.h"
#include "scenes/scenes.h"

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

namespace {

constexpr const char* kUsage = "Usage: guardianes [OPTION]\n"
                               "A game for children about the emergency services: choose the police, a fire\n"
                               "brigade or the ambulance and play its scene with the mouse or the keyboard.\n"
                               "\n"
                               "  --scale N              draw every window N times larger (1 to 8); by\n"
                               "                         default the desktop's resolution setting decides\n"
                               "  --fullscreen           fill the screen with each scene, as large as it\n"
                               "                         fits whole, on black\n"
                               "  --kiosk                for a shared classroom machine: full screen, the\n"
                               "                         windows cannot be closed, Escape starts a new game,\n"
                               "                         Shift+Ctrl+Escape ends the game, and a run-time\n"
                               "                         error is shown and followed by a new game\n"
                               "  --idle-restart MINUTES start a new game after MINUTES without a press; a\n"
                               "                         decimal number such as 0.5 is allowed, 0 turns it\n"
                               "                         off; 3 by default with --kiosk, off without\n"
                               "  --keyboard             play without a mouse: the arrow keys move the\n"
                               "                         pointer 8 pixels (1 with Shift), Tab and Shift+Tab\n"
                               "                         go to the next or previous button, and Space or\n"
                               "                         Enter click\n"
                               "  -h, --help             show this help and exit\n"
                               "  --version              show the version and exit\n";

// The value of an option given as "--name VALUE" or "--name=VALUE", moving
// past it; null when it is missing.
const char* option_value(const char* name, int argc, char** argv, int& i) {
    const std::size_t length = std::strlen(name);
    if (std::strncmp(argv[i], name, length) != 0) return nullptr;
    if (argv[i][length] == '=') return argv[i] + length + 1;
    if (argv[i][length] != '\0') return nullptr;
    return i + 1 < argc ? argv[++i] : "";
}

} // namespace

int main(int argc, char** argv) {
    using namespace guardianes;
    HostOptions options;
    long long idle_restart = -1; // not given
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::cout << kUsage;
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::cout << "guardianes " << GUARDIANES_VERSION << '\n';
            return 0;
        }
        if (std::strcmp(argv[i], "--fullscreen") == 0) {
            options.fullscreen = true;
            continue;
        }
        if (std::strcmp(argv[i], "--kiosk") == 0) {
            options.kiosk = true;
            continue;
        }
        if (std::strcmp(argv[i], "--keyboard") == 0) {
            options.keyboard = true;
            continue;
        }
        if (const char* value = option_value("--idle-restart", argc, argv, i)) {
            idle_restart = parse_minutes(value);
            if (idle_restart < 0) {
                std::cerr << "guardianes: --idle-restart takes a number of minutes from 0 to 1440, not '" << value
                          << "'\n";
                return 2;
            }
            continue;
        }
        if (const char* value = option_value("--scale", argc, argv, i)) {
            char* end = nullptr;
            const long scale = std::strtol(value, &end, 10);
            if (*value == '\0' || *end != '\0' || scale < 1 || scale > 8) {
                std::cerr << "guardianes: --scale takes a whole number from 1 to 8, not '" << value << "'\n";
                return 2;
            }
            options.scale = static_cast<int>(scale);
            continue;
        }
        std::cerr << "guardianes: unknown option '" << argv[i] << "' (try --help)\n";
        return 2;
    }
    // A shared machine fills the screen and starts over after three idle minutes.
    if (options.kiosk) options.fullscreen = true;
    options.idle_restart = idle_restart >= 0 ? idle_restart : options.kiosk ? 3 * 60 * 1000 * kMillisecond : 0;
    try {
        FontLibrary fonts;
        Painter painter(fonts);
        MonotonicClock clock;
        // Built once here, so that a scene table's mistake ends the program
        // before any window opens; each new game builds it again.
        auto first = std::make_unique<Runtime>(game_scenes(), clock);
        const RuntimeFactory new_game = [&]() {
            return first ? std::move(first) : std::make_unique<Runtime>(game_scenes(), clock);
        };
        if (const char* log = std::getenv("GUARDIANES_WAKEUP_LOG")) options.wakeup_log = log;
        return run_desktop(new_game, clock, painter, options);
    } catch (const std::exception& e) {
        std::cerr << "guardianes: " << e.what() << '\n';
        return 1;
    }
}
