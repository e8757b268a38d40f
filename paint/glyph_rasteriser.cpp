// SPDX-License-Identifier: GPL-3.0-or-later
#include "paint/glyph_rasteriser.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_DRIVER_H
#include FT_MODULE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace guardianes {

namespace {

int from_26_6(FT_Pos value) { return static_cast<int>(std::lround(static_cast<double>(value) / 64.0)); }

} // namespace

struct GlyphRasteriser::Library {
    Library() {
        if (FT_Init_FreeType(&library) != 0) throw std::runtime_error("cannot start FreeType");
        // The environment may ask FreeType for other hinting engines; the
        // same glyphs on every run and every machine matter more, so these
        // are fixed.
        FT_UInt interpreter = TT_INTERPRETER_VERSION_40;
        FT_Property_Set(library, "truetype", "interpreter-version", &interpreter);
        FT_UInt cff_engine = FT_HINTING_ADOBE;
        FT_Property_Set(library, "cff", "hinting-engine", &cff_engine);
    }
    ~Library() { FT_Done_FreeType(library); }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    FT_Face open(const FaceFile& file) const {
        FT_Face face = nullptr;
        return FT_New_Face(library, file.path.c_str(), file.index, &face) == 0 ? face : nullptr;
    }

    FT_Library library = nullptr;
};

namespace {

// One open face at one size. It keeps the library alive, since a typeface
// may outlive the rasteriser that opened it.
struct OpenFace {
    OpenFace(std::shared_ptr<GlyphRasteriser::Library> lib, FT_Face f, const FaceFile& file)
        : library(std::move(lib)), face(f), embolden(file.embolden), slant(file.slant) {}
    ~OpenFace() { FT_Done_Face(face); }
    OpenFace(const OpenFace&) = delete;
    OpenFace& operator=(const OpenFace&) = delete;

    Glyph rasterise(char32_t code) const;
    bool covers(char32_t code) const { return FT_Get_Char_Index(face, code) != 0; }

    std::shared_ptr<GlyphRasteriser::Library> library;
    FT_Face face;
    bool embolden;
    bool slant;
};

// A character the face lacks has glyph index 0, its missing-glyph box.
Glyph OpenFace::rasterise(char32_t code) const {
    Glyph glyph;
    const FT_UInt index = FT_Get_Char_Index(face, code);
    const FT_Int32 flags = FT_IS_SCALABLE(face) ? FT_LOAD_NO_BITMAP : FT_LOAD_DEFAULT;
    if (FT_Load_Glyph(face, index, flags) != 0) return glyph;
    FT_GlyphSlot slot = face->glyph;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        if (slant) FT_GlyphSlot_Oblique(slot);
        if (embolden) FT_GlyphSlot_Embolden(slot);
    }
    glyph.advance = from_26_6(slot->advance.x);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY && bitmap.pixel_mode != FT_PIXEL_MODE_MONO) return glyph;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.height = static_cast<int>(bitmap.rows);
    glyph.coverage.resize(static_cast<std::size_t>(glyph.width) * static_cast<std::size_t>(glyph.height));
    for (int y = 0; y < glyph.height; ++y) {
        const unsigned char* row = bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
        for (int x = 0; x < glyph.width; ++x) {
            const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
            const std::uint8_t value = mono ? ((row[x / 8] >> (7 - x % 8)) & 1u ? 255 : 0) : row[x];
            glyph.coverage[static_cast<std::size_t>(y * glyph.width + x)] = value;
        }
    }
    return glyph;
}

// The face's lines at its current size. Bars: the font's own placement
// where it gives one, else a thin bar just under the baseline and one a
// third of the way up.
FaceMetrics metrics_of(FT_Face face) {
    const FT_Size_Metrics& size = face->size->metrics;
    FaceMetrics m;
    m.ascent = static_cast<int>((size.ascender + 63) >> 6);
    m.descent = static_cast<int>((-size.descender + 63) >> 6);
    m.underline = {1, 1};
    m.strikeout = {-std::max(1, m.ascent / 3), 1};
    if (FT_IS_SCALABLE(face)) {
        const double scale = static_cast<double>(size.y_scale) / 65536.0 / 64.0;
        const double thickness = std::max(1.0, std::round(face->underline_thickness * scale));
        const double centre = -face->underline_position * scale;
        m.underline = {std::max(0, static_cast<int>(std::lround(centre - thickness / 2))), static_cast<int>(thickness)};
        if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
            os2 && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
            m.strikeout = {-static_cast<int>(std::lround(os2->yStrikeoutPosition * scale)),
                           std::max(1, static_cast<int>(std::lround(os2->yStrikeoutSize * scale)))};
        }
    }
    return m;
}

} // namespace

GlyphRasteriser::GlyphRasteriser() : library_(std::make_shared<Library>()) {}
GlyphRasteriser::~GlyphRasteriser() = default;

bool GlyphRasteriser::can_open(const FaceFile& file) const {
    FT_Face face = library_->open(file);
    if (face) FT_Done_Face(face);
    return face != nullptr;
}

std::unique_ptr<Typeface> GlyphRasteriser::open(const FaceFile& file, int pixels) const {
    FT_Face raw = library_->open(file);
    if (!raw) throw std::runtime_error("cannot open font file '" + file.path + "'");
    auto face = std::make_shared<OpenFace>(library_, raw, file);
    if (FT_IS_SCALABLE(raw)) {
        FT_Set_Pixel_Sizes(raw, 0, static_cast<FT_UInt>(pixels));
    } else if (raw->num_fixed_sizes > 0) {
        // A bitmap face offers a few sizes only; the nearest one draws.
        int best = 0;
        for (int i = 1; i < raw->num_fixed_sizes; ++i)
            if (std::abs(raw->available_sizes[i].height - pixels) <
                std::abs(raw->available_sizes[best].height - pixels))
                best = i;
        FT_Select_Size(raw, best);
    }
    return std::make_unique<Typeface>(
        file.family, metrics_of(raw), file.capitals, [face](char32_t code) { return face->rasterise(code); },
        [face](char32_t code) { return face->covers(code); });
}

} // namespace guardianes
