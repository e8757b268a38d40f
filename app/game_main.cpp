// guardianes: the game, in real windows.

#include "app/host.h"
#include "app/monotonic_clock.h"
#include "paint/fonts.h"
#include "paint/painter.h"
#include "runtime/runtime.h"
#include "scenes/scenes.h"

#include <cstdlib>
#include <cstring>
#include <iostream>

namespace {

constexpr const char* kUsage =
    "Usage: guardianes [OPTION]\n"
    "A game for children about the emergency services: choose the police, a fire\n"
    "brigade or the ambulance and play its scene with the mouse.\n"
    "\n"
    "  --scale N    draw every window N times larger (1 to 8); by default the\n"
    "               desktop's resolution setting decides\n"
    "  -h, --help   show this help and exit\n"
    "  --version    show the version and exit\n";

} // namespace

int main(int argc, char** argv) {
    using namespace guardianes;
    HostOptions options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::cout << kUsage;
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::cout << "guardianes " << GUARDIANES_VERSION << '\n';
            return 0;
        }
        if (std::strcmp(argv[i], "--scale") == 0 || std::strncmp(argv[i], "--scale=", 8) == 0) {
            const char* value = argv[i][7] == '=' ? argv[i] + 8 : (i + 1 < argc ? argv[++i] : "");
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
    try {
        FontLibrary fonts;
        Painter painter(fonts);
        MonotonicClock clock;
        Runtime runtime(game_scenes(), clock);
        if (const char* log = std::getenv("GUARDIANES_WAKEUP_LOG")) options.wakeup_log = log;
        return run_desktop(runtime, clock, painter, options);
    } catch (const std::exception& e) {
        std::cerr << "guardianes: " << e.what() << '\n';
        return 1;
    }
}
