// SPDX-License-Identifier: GPL-3.0-or-later
// guardianes: the game, in real windows.

#include "app/desktop/desktop_host.h"
#include "app/desktop/monotonic_clock.h"
#include "paint/glyphs.h"
#include "paint/painter.h"
#include "runtime/runtime.h"
#include "scenes/scenes.h"
#include "session/options.h"
#include "session/session.h"

#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

int main(int argc, char** argv) {
    using namespace guardianes;
    const std::vector<std::string> languages = system_languages();
    const ProgramOptions given = read_program_options({argv + 1, argv + argc}, languages);
    const OptionReading& reading = given.reading;
    if (const std::optional<int> status =
            answer_at_once(reading, given.texts, "guardianes", kGameUsage, GUARDIANES_VERSION))
        return *status;
    try {
        const std::unique_ptr<GlyphSource> glyphs = make_glyphs();
        Painter painter(*glyphs);
        MonotonicClock clock;
        // Built once here, so that a scene table's mistake ends the program
        // before any window opens; each new game builds it again.
        auto first = std::make_unique<Runtime>(game_scenes(), clock);
        Session session([&]() { return first ? std::move(first) : std::make_unique<Runtime>(game_scenes(), clock); },
                        clock, reading.options, languages);
        std::string why;
        const std::unique_ptr<Platform> platform = start_platform(why);
        if (!platform) {
            write_line(session.window_failed(why));
            return session.exit_status();
        }
        const char* log = std::getenv("GUARDIANES_WAKEUP_LOG");
        DesktopHost host(session, clock, painter, *platform, log ? log : "");
        return host.run();
    } catch (const std::exception& e) {
        write_line(e.what());
        return 1;
    }
}
