// SPDX-License-Identifier: GPL-3.0-or-later
// guardianes-sim: the game on a virtual clock, driven by a script.
//
//   guardianes-sim [SCRIPT]     reads SCRIPT, or standard input without one

#include "paint/fonts.h"
#include "sim/session.h"

#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    using namespace guardianes;
    if (argc > 2) {
        std::cerr << "usage: guardianes-sim [SCRIPT]\n";
        return 2;
    }
    std::ifstream file;
    if (argc == 2) {
        file.open(argv[1]);
        if (!file) {
            std::cerr << "guardianes-sim: cannot read '" << argv[1] << "'\n";
            return 2;
        }
    }
    return run_sim_script(argc == 2 ? file : std::cin, std::cout, std::cerr,
                          [] { return std::make_unique<FontLibrary>(); });
}
