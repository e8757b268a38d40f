#pragma once

#include "sim/script.h"

namespace guardianes {

// Adds the commands that look at the game as the player would:
//   shot SCENE FILE    paints the scene's client area now, at its current
//                      size, and writes it to FILE as PNG (a hidden scene
//                      is painted all the same: it exists)
//   resize SCENE W H   resizes a shown scene's client area to W x H pixels
// Fonts are opened at the first shot, so scripts without one need none.
void add_picture_commands(ScriptRunner& runner);

} // namespace guardianes
