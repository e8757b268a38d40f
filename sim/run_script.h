// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "session/options.h"
#include "sim/picture_commands.h"

#include <iosfwd>
#include <optional>
#include <string_view>

namespace guardianes {

// Runs one guardianes-sim script on a game of its own, started on the menu
// at virtual time 0: answers go to `out`, the first bad line's message to
// `err`. Returns the program's status: 0, 2 after a bad line, or 1 with a
// one-line message when the game cannot run at all.
// With the classroom's options, the game runs as the live game would with
// them, and `status` also says how many games have started. The scenes'
// texts are in `language` ("es"), or the game's own without one.
int run_sim_script(std::istream& in, std::ostream& out, std::ostream& err, GlyphSourceMaker make_glyphs,
                   const std::optional<GameOptions>& classroom = std::nullopt, std::string_view language = {});

} // namespace guardianes
