// SPDX-License-Identifier: GPL-3.0-or-later
// guardianes: the game, in real windows.

#include "app/glyphs.h"
#include "app/host.h"
#include "app/monotonic_clock.h"
#include "paint/painter.h"
#include "runtime/runtime.h"
#include "scenes/scenes.h"
#include "session/options.h"
#include "session/session.h"

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string_view>
#include <vector>

int main(int argc, char** argv) {
    using namespace guardianes;
    const OptionReading reading = read_command_line(std::vector<std::string_view>(argv + 1, argv + argc));
    if (!reading.error.empty()) {
        std::cerr << "guardianes: " << reading.error << '\n';
        return 2;
    }
    if (reading.help) {
        std::cout << kGameUsage;
        return 0;
    }
    if (reading.version) {
        std::cout << "guardianes " << GUARDIANES_VERSION << '\n';
        return 0;
    }
    try {
        const std::unique_ptr<GlyphSource> glyphs = make_glyphs();
        Painter painter(*glyphs);
        MonotonicClock clock;
        // Built once here, so that a scene table's mistake ends the program
        // before any window opens; each new game builds it again.
        auto first = std::make_unique<Runtime>(game_scenes(), clock);
        Session session([&]() { return first ? std::move(first) : std::make_unique<Runtime>(game_scenes(), clock); },
                        clock, reading.options);
        HostOptions options;
        if (const char* log = std::getenv("GUARDIANES_WAKEUP_LOG")) options.wakeup_log = log;
        return run_desktop(session, clock, painter, options);
    } catch (const std::exception& e) {
        std::cerr << "guardianes: " << e.what() << '\n';
        return 1;
    }
}
