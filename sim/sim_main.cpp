// SPDX-License-Identifier: GPL-3.0-or-later
// guardianes-sim: the game on a virtual clock, driven by a script.

#include "paint/glyphs.h"
#include "session/options.h"
#include "sim/run_script.h"

#include <fstream>
#include <iostream>
#include <optional>
#include <string_view>
#include <vector>

namespace {

constexpr const char* kUsage = "Usage: guardianes-sim [OPTION]... [SCRIPT]\n"
                               "Runs the game on a virtual clock, headless, driven by a script read from\n"
                               "SCRIPT or standard input: one command a line, one JSON answer a line.\n"
                               "\n"
                               "  --kiosk                as the game's: closes do nothing, Escape starts a\n"
                               "                         new game, Shift+Ctrl+Escape ends it, and a run-time\n"
                               "                         error is followed by a new game\n"
                               "  --idle-restart MINUTES as the game's: a new game after MINUTES without a\n"
                               "                         press (3 by default with --kiosk)\n"
                               "  --keyboard             as the game's; the keys always play here\n"
                               "  --mute                 as the game's: no sound, so `sounds` lists none\n"
                               "  --volume PERCENT       as the game's; the simulator plays no samples, so\n"
                               "                         only 0, which is --mute, changes what `sounds` lists\n"
                               "  --lang LANGUAGE        as the game's: the scenes' texts in that language;\n"
                               "                         the game's own texts by default, whatever the\n"
                               "                         system's language\n"
                               "  -h, --help             show this help and exit\n"
                               "  --version              show the version and exit\n"
                               "\n"
                               "With any of these options but --lang, `status` also says how many games have\n"
                               "started.\n";

} // namespace

int main(int argc, char** argv) {
    using namespace guardianes;
    std::vector<std::string_view> options;
    // The classroom's options, which make `status` say how many games have started.
    bool classroom_given = false;
    std::optional<std::string_view> script;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (!argument.starts_with('-') || argument == "-") {
            if (script) {
                std::cerr << "guardianes-sim: one script at most, not '" << argument << "' too (try --help)\n";
                return 2;
            }
            script = argument;
        } else {
            options.push_back(argument);
            classroom_given = classroom_given || !argument.starts_with("--lang");
            // The value of "--idle-restart MINUTES" is the option's, not a script.
            if (option_takes_value(argument) && i + 1 < argc) options.push_back(argv[++i]);
        }
    }
    const OptionReading reading = read_command_line(options);
    if (const std::optional<int> status =
            answer_at_once(reading, Texts(), "guardianes-sim", {"", kUsage}, GUARDIANES_VERSION))
        return *status;
    const GameOptions& given = reading.options;
    if (given.scale != 0 || (given.fullscreen && !given.kiosk)) {
        std::cerr << "guardianes-sim: --scale and --fullscreen are the game's window options, not the simulator's\n";
        return 2;
    }
    std::optional<GameOptions> classroom;
    if (classroom_given) classroom = given;

    std::ifstream file;
    if (script && *script != "-") {
        file.open(std::string(*script));
        if (!file) {
            std::cerr << "guardianes-sim: cannot read '" << *script << "'\n";
            return 2;
        }
    }
    return run_sim_script(file.is_open() ? file : std::cin, std::cout, std::cerr, make_glyphs, classroom,
                          given.language);
}
