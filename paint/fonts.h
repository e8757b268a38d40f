// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paint/font_finder.h"
#include "paint/glyph_rasteriser.h"
#include "paint/typeface.h"

#include <map>
#include <memory>
#include <string>
#include <tuple>

namespace guardianes {

// The desktop's glyphs: each font the scenes name is found among the
// machine's faces (see FontFinder for the stand-ins) and rasterised as it is
// drawn. Every typeface stays open for the library's whole life.
class FontLibrary final : public GlyphSource {
public:
    using Warning = FontFinder::Warning;

    // Warnings go to standard error. Throws std::runtime_error with a
    // one-line message when the machine has no usable face at all.
    FontLibrary();
    explicit FontLibrary(Warning warning);

    const Typeface& typeface(const Font& font) override;

private:
    GlyphRasteriser rasteriser_;
    FontFinder finder_;
    std::map<std::tuple<std::string, int, bool, bool>, std::unique_ptr<Typeface>> typefaces_;
};

} // namespace guardianes
