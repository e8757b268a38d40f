// SPDX-License-Identifier: GPL-3.0-or-later
#include "paint/baked_glyphs.h"
#include "paint/glyphs.h"

#include <string_view>

namespace guardianes {

// Made by guardianes-bake-glyphs --cpp at build time.
std::string_view baked_glyphs();

std::unique_ptr<GlyphSource> make_glyphs() { return std::make_unique<BakedGlyphs>(baked_glyphs()); }

} // namespace guardianes
