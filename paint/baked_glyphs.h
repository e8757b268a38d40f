// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paint/typeface.h"
#include "runtime/scene_table.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace guardianes {

// Glyphs baked into a file at build time, for a painter that has no font
// rasteriser of its own (the browser's). Each font is baked whole for the
// characters captions are written in, printable ASCII, from the typeface
// the desktop draws it with, so both paint the same pixels.
std::string bake_glyphs(GlyphSource& source, const std::vector<Font>& fonts);

// Every font the scenes' labels draw in, once for each typeface: the set a
// baked file must hold for those scenes.
std::vector<Font> fonts_of(const std::vector<SceneDef>& scenes);

// The glyphs of a baked file. Asking for a font that was not baked throws
// std::runtime_error with a one-line message, as does a damaged file.
class BakedGlyphs final : public GlyphSource {
public:
    explicit BakedGlyphs(std::string_view file);

    const Typeface& typeface(const Font& font) override;

private:
    std::map<std::tuple<std::string, int, bool, bool>, std::unique_ptr<Typeface>> typefaces_;
};

} // namespace guardianes
