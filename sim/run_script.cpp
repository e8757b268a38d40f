// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/run_script.h"

#include "sim/script.h"
#include "sim/simulation.h"

#include <exception>
#include <ostream>

namespace guardianes {

int run_sim_script(std::istream& in, std::ostream& out, std::ostream& err, GlyphSourceMaker make_glyphs,
                   const std::optional<GameOptions>& classroom, std::string_view language) {
    try {
        GameOptions options = classroom.value_or(GameOptions{});
        options.language = language;
        Simulation sim(options);
        ScriptRunner runner(sim, out, classroom.has_value());
        add_picture_commands(runner, std::move(make_glyphs));
        return runner.run(in, err);
    } catch (const std::exception& e) {
        err << "guardianes-sim: " << e.what() << '\n';
        return 1;
    }
}

} // namespace guardianes
