// SPDX-License-Identifier: GPL-3.0-or-later
#include "paint/fonts.h"
#include "sim/picture_commands.h"

namespace guardianes {

void add_picture_commands(ScriptRunner& runner) {
    add_picture_commands(runner, [] { return std::make_unique<FontLibrary>(); });
}

} // namespace guardianes
