// SPDX-License-Identifier: GPL-3.0-or-later
#include "paint/fonts.h"
#include "paint/glyphs.h"

namespace guardianes {

std::unique_ptr<GlyphSource> make_glyphs() { return std::make_unique<FontLibrary>(); }

} // namespace guardianes
