// guardianes: the game, in real windows.

#include "app/host.h"
#include "app/monotonic_clock.h"
#include "runtime/paint/fonts.h"
#include "runtime/paint/painter.h"
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
    "  --help       show this help and exit\n"
    "  --version    show the version and exit\n";

} // namespace

int main(int argc, char** argv) {
    using namespace guardianes;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::cout << kUsage;
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::cout << "guardianes " << GUARDIANES_VERSION << '\n';
            return 0;
        }
        std::cerr << "guardianes: unknown option '" << argv[i] << "' (try --help)\n";
        return 2;
    }
    try {
        FontLibrary fonts;
        Painter painter(fonts);
        MonotonicClock clock;
        Runtime runtime(game_scenes(), clock);
        HostOptions options;
        if (const char* log = std::getenv("GUARDIANES_WAKEUP_LOG")) options.wakeup_log = log;
        return run_desktop(runtime, clock, painter, options);
    } catch (const std::exception& e) {
        std::cerr << "guardianes: " << e.what() << '\n';
        return 1;
    }
}
