// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/session.h"

#include "sim/script.h"
#include "sim/simulation.h"

#include <exception>
#include <ostream>

namespace guardianes {

int run_sim_script(std::istream& in, std::ostream& out, std::ostream& err, GlyphSourceMaker make_glyphs) {
    try {
        Simulation sim;
        ScriptRunner runner(sim, out);
        add_picture_commands(runner, std::move(make_glyphs));
        return runner.run(in, err);
    } catch (const std::exception& e) {
        err << "guardianes-sim: " << e.what() << '\n';
        return 1;
    }
}

} // namespace guardianes
