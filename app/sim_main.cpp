// guardianes-sim: the game on a virtual clock, driven by a script.
//
//   guardianes-sim [SCRIPT]     reads SCRIPT, or standard input without one

#include "sim/picture_commands.h"
#include "sim/script.h"
#include "sim/simulation.h"

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
    try {
        Simulation sim;
        ScriptRunner runner(sim, std::cout);
        add_picture_commands(runner);
        return runner.run(argc == 2 ? file : std::cin, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "guardianes-sim: " << e.what() << '\n';
        return 1;
    }
}
