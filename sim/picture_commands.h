// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paint/typeface.h"
#include "sim/script.h"

#include <functional>
#include <memory>

namespace guardianes {

// Adds the commands that look at the game as the player would:
//   shot SCENE FILE    paints the scene's client area now, at its current
//                      size, and writes it to FILE as PNG (a hidden scene
//                      is painted all the same: it exists)
//   resize SCENE W H   resizes a shown scene's client area to W x H pixels
// The glyph source is made at the first shot, so scripts without one need
// no fonts.
using GlyphSourceMaker = std::function<std::unique_ptr<GlyphSource>()>;
void add_picture_commands(ScriptRunner& runner, GlyphSourceMaker make_glyphs);
// The same, drawing with the desktop's fonts.
void add_picture_commands(ScriptRunner& runner);

} // namespace guardianes
