// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paint/font_finder.h"
#include "paint/typeface.h"

#include <memory>

namespace guardianes {

// Draws glyphs from font files with FreeType. Hinting is fixed here, and
// advances are whole pixels, so the same file gives the same pixels on every
// run and every machine.
class GlyphRasteriser {
public:
    // Throws std::runtime_error when FreeType cannot start.
    GlyphRasteriser();
    ~GlyphRasteriser();
    GlyphRasteriser(const GlyphRasteriser&) = delete;
    GlyphRasteriser& operator=(const GlyphRasteriser&) = delete;

    bool can_open(const FaceFile& file) const;
    // The face at a height of `pixels`; its glyphs are rasterised as they
    // are first asked for. Throws std::runtime_error when the file cannot
    // be opened.
    std::unique_ptr<Typeface> open(const FaceFile& file, int pixels) const;

    // FreeType's library, shared with every face opened from it.
    struct Library;

private:
    std::shared_ptr<Library> library_;
};

} // namespace guardianes
