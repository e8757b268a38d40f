// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paint/typeface.h"
#include "runtime/scene_table.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

namespace guardianes {

// The characters to bake for one font beyond printable ASCII, which every
// font gets.
struct GlyphSet {
    Font font;
    std::u32string characters;
};

// Glyphs baked into a file at build time, for a painter that has no font
// rasteriser of its own (the browser's, Windows'). Each font is baked from
// the typeface the desktop draws it with, so both paint the same pixels:
// printable ASCII and the set's characters, each that the face has a glyph
// for, and the face's missing-glyph box, which draws every other character.
std::string bake_glyphs(GlyphSource& source, const std::vector<GlyphSet>& sets);
// The same with printable ASCII alone.
std::string bake_glyphs(GlyphSource& source, const std::vector<Font>& fonts);

// The glyph sets that draw the texts given, each in its font: every font
// once for each typeface, with every character its texts hold beyond
// printable ASCII, line breaks aside.
std::vector<GlyphSet> glyph_sets(const std::vector<std::pair<Font, std::string>>& texts);

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
