// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paint/typeface.h"

#include <memory>

namespace guardianes {

// The glyphs the programs draw captions with: on the desktop the machine's
// fonts, elsewhere the ones baked into the build from them. Throws
// std::runtime_error with a one-line message when there are none.
std::unique_ptr<GlyphSource> make_glyphs();

} // namespace guardianes
