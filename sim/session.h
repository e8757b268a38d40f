// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/picture_commands.h"

#include <iosfwd>

namespace guardianes {

// Runs one guardianes-sim script on a game of its own, started on the menu
// at virtual time 0: answers go to `out`, the first bad line's message to
// `err`. Returns the program's status: 0, 2 after a bad line, or 1 with a
// one-line message when the game cannot run at all.
int run_sim_script(std::istream& in, std::ostream& out, std::ostream& err, GlyphSourceMaker make_glyphs);

} // namespace guardianes
