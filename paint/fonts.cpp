#include "paint/fonts.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_DRIVER_H
#include FT_MODULE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <tuple>

namespace guardianes {

namespace {

// The faces the scenes name, with the faces of the same character that
// stand in for them on a machine without them, best first.
struct StandIn {
    std::string_view face;
    std::vector<std::string_view> families;
    bool capitals; // the face draws only capitals, so its stand-in upper-cases
};

const std::vector<StandIn>& stand_ins() {
    // Of the fixed-pitch faces, DejaVu Sans Mono comes first: it is a plain
    // sans-serif like the face it replaces, and the menu's title fits its
    // label on one line in either.
    static const std::vector<StandIn> table{
        {"MS Sans Serif", {"Liberation Sans", "Arimo", "Arial"}, false},
        {"Fixedsys", {"DejaVu Sans Mono", "Liberation Mono"}, false},
        {"Comic Sans MS", {"Comic Neue"}, false},
        {"Copperplate Gothic Bold", {"DejaVu Serif", "Liberation Serif"}, true},
    };
    return table;
}

constexpr std::string_view kLastResort = "sans-serif";

bool same_name(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

int from_26_6(FT_Pos value) { return static_cast<int>(std::lround(static_cast<double>(value) / 64.0)); }

// Where a face comes from, and what FreeType must add because the file
// lacks the weight or slant asked for.
struct FaceFile {
    std::string path;
    int index = 0;
    std::string family;
    bool embolden = false;
    bool slant = false;
    bool capitals = false;
};

struct FtLibraryDeleter {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FtFaceDeleter {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
struct FcConfigDeleter {
    void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
struct FcPatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};

using FtLibraryPtr = std::unique_ptr<std::remove_pointer_t<FT_Library>, FtLibraryDeleter>;
using FtFacePtr = std::unique_ptr<std::remove_pointer_t<FT_Face>, FtFaceDeleter>;
using FcPatternPtr = std::unique_ptr<FcPattern, FcPatternDeleter>;

} // namespace

int pixel_size(double points) { return std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0))); }

struct Typeface::Impl {
    FtFacePtr face;
    FaceFile file;
    int pixels = 0;
    int ascent = 0;
    int descent = 0;
    TextBar underline;
    TextBar strikeout;
    mutable std::array<std::unique_ptr<Glyph>, 256> glyphs{};

    Glyph rasterise(unsigned char c) const;
};

Typeface::Typeface(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Typeface::~Typeface() = default;

const std::string& Typeface::family() const { return impl_->file.family; }
int Typeface::ascent() const { return impl_->ascent; }
int Typeface::line_height() const { return impl_->ascent + impl_->descent; }
TextBar Typeface::underline() const { return impl_->underline; }
TextBar Typeface::strikeout() const { return impl_->strikeout; }

int Typeface::width(std::string_view text) const {
    int total = 0;
    for (const char c : text) total += glyph(c).advance;
    return total;
}

const Glyph& Typeface::glyph(char c) const {
    auto code = static_cast<unsigned char>(c);
    if (impl_->file.capitals) code = static_cast<unsigned char>(std::toupper(code));
    std::unique_ptr<Glyph>& slot = impl_->glyphs[code];
    if (!slot) slot = std::make_unique<Glyph>(impl_->rasterise(code));
    return *slot;
}

// Captions are in the Western character set, whose codes are Unicode's first 256.
Glyph Typeface::Impl::rasterise(unsigned char c) const {
    Glyph glyph;
    const FT_UInt index = FT_Get_Char_Index(face.get(), c);
    const FT_Int32 flags = FT_IS_SCALABLE(face.get()) ? FT_LOAD_NO_BITMAP : FT_LOAD_DEFAULT;
    if (FT_Load_Glyph(face.get(), index, flags) != 0) return glyph;
    FT_GlyphSlot slot = face->glyph;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        if (file.slant) FT_GlyphSlot_Oblique(slot);
        if (file.embolden) FT_GlyphSlot_Embolden(slot);
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

struct FontLibrary::Impl {
    explicit Impl(Warning warn) : warning(std::move(warn)) {
        FT_Library raw = nullptr;
        if (FT_Init_FreeType(&raw) != 0) throw std::runtime_error("cannot start FreeType");
        library.reset(raw);
        // The environment may ask FreeType for other hinting engines; the
        // same glyphs on every run and every machine matter more, so these
        // are fixed.
        FT_UInt interpreter = TT_INTERPRETER_VERSION_40;
        FT_Property_Set(library.get(), "truetype", "interpreter-version", &interpreter);
        FT_UInt cff_engine = FT_HINTING_ADOBE;
        FT_Property_Set(library.get(), "cff", "hinting-engine", &cff_engine);
        config.reset(FcInitLoadConfigAndFonts());
    }

    std::optional<FaceFile> match(std::string_view family, bool bold, bool italic, bool exact) const;
    const FaceFile& resolve(const std::string& face, bool bold, bool italic);
    FtFacePtr open(const FaceFile& file) const;

    Warning warning;
    FtLibraryPtr library;
    std::unique_ptr<FcConfig, FcConfigDeleter> config;
    std::map<std::tuple<std::string, bool, bool>, FaceFile> files;
    std::map<std::tuple<std::string, int, bool, bool>, std::unique_ptr<Typeface>> typefaces;
    std::set<std::string> warned;
};

FtFacePtr FontLibrary::Impl::open(const FaceFile& file) const {
    FT_Face raw = nullptr;
    if (FT_New_Face(library.get(), file.path.c_str(), file.index, &raw) != 0) return nullptr;
    return FtFacePtr(raw);
}

// The face fontconfig picks for a family, weight and slant. With `exact`,
// only a face of that very family will do: fontconfig's own aliases would
// otherwise answer for a missing face with whatever it likes.
std::optional<FaceFile> FontLibrary::Impl::match(std::string_view family, bool bold, bool italic, bool exact) const {
    if (!config) return std::nullopt;
    const std::string name(family);
    const FcPatternPtr pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(config.get(), pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    const FcPatternPtr found(FcFontMatch(config.get(), pattern.get(), &result));
    if (!found) return std::nullopt;

    FcChar8* first_family = nullptr;
    if (FcPatternGetString(found.get(), FC_FAMILY, 0, &first_family) != FcResultMatch) return std::nullopt;
    bool named = !exact;
    FcChar8* each = nullptr;
    for (int i = 0; FcPatternGetString(found.get(), FC_FAMILY, i, &each) == FcResultMatch; ++i)
        if (same_name(reinterpret_cast<const char*>(each), family)) named = true;
    FcChar8* path = nullptr;
    if (!named || FcPatternGetString(found.get(), FC_FILE, 0, &path) != FcResultMatch) return std::nullopt;

    FaceFile file;
    file.path = reinterpret_cast<const char*>(path);
    file.family = exact ? name : reinterpret_cast<const char*>(first_family);
    FcPatternGetInteger(found.get(), FC_INDEX, 0, &file.index);
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(found.get(), FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(found.get(), FC_SLANT, 0, &slant);
    file.embolden = bold && weight < FC_WEIGHT_DEMIBOLD;
    file.slant = italic && slant == FC_SLANT_ROMAN;
    if (!open(file)) return std::nullopt;
    return file;
}

const FaceFile& FontLibrary::Impl::resolve(const std::string& face, bool bold, bool italic) {
    const auto key = std::make_tuple(face, bold, italic);
    if (const auto known = files.find(key); known != files.end()) return known->second;

    std::optional<FaceFile> file = match(face, bold, italic, true);
    const auto entry = std::find_if(stand_ins().begin(), stand_ins().end(),
                                    [&](const StandIn& s) { return same_name(s.face, face); });
    const bool capitals = entry != stand_ins().end() && entry->capitals;
    if (!file && entry != stand_ins().end()) {
        for (const std::string_view family : entry->families) {
            if ((file = match(family, bold, italic, true))) break;
        }
    }
    if (!file) {
        file = match(kLastResort, bold, italic, false);
        if (!file) throw std::runtime_error("no usable font face for '" + face + "'");
        if (warned.insert(face).second && warning)
            warning("guardianes: font '" + face + "' not found; drawing it in '" + file->family + "'");
    }
    // A real face of the name draws its own capitals; a stand-in has to be told.
    file->capitals = capitals && !same_name(file->family, face);
    return files.emplace(key, std::move(*file)).first->second;
}

FontLibrary::FontLibrary()
    : FontLibrary([](const std::string& message) { std::cerr << message << '\n'; }) {}

FontLibrary::FontLibrary(Warning warning) : impl_(std::make_unique<Impl>(std::move(warning))) {
    if (!impl_->match(kLastResort, false, false, false))
        throw std::runtime_error("no usable font: fontconfig finds no face that FreeType can open");
}

FontLibrary::~FontLibrary() = default;

const Typeface& FontLibrary::typeface(const Font& font) {
    const int pixels = pixel_size(font.size);
    const auto key = std::make_tuple(font.face, pixels, font.bold, font.italic);
    if (const auto open = impl_->typefaces.find(key); open != impl_->typefaces.end()) return *open->second;

    auto impl = std::make_unique<Typeface::Impl>();
    impl->file = impl_->resolve(font.face, font.bold, font.italic);
    impl->pixels = pixels;
    impl->face = impl_->open(impl->file);
    if (!impl->face) throw std::runtime_error("cannot open font file '" + impl->file.path + "'");
    FT_Face face = impl->face.get();
    if (FT_IS_SCALABLE(face)) {
        FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels));
    } else if (face->num_fixed_sizes > 0) {
        // A bitmap face offers a few sizes only; the nearest one draws.
        int best = 0;
        for (int i = 1; i < face->num_fixed_sizes; ++i)
            if (std::abs(face->available_sizes[i].height - pixels) <
                std::abs(face->available_sizes[best].height - pixels))
                best = i;
        FT_Select_Size(face, best);
    }
    const FT_Size_Metrics& metrics = face->size->metrics;
    impl->ascent = static_cast<int>((metrics.ascender + 63) >> 6);
    impl->descent = static_cast<int>((-metrics.descender + 63) >> 6);

    // Bars: the font's own placement where it gives one, else a thin bar
    // just under the baseline and one a third of the way up.
    impl->underline = {1, 1};
    impl->strikeout = {-std::max(1, impl->ascent / 3), 1};
    if (FT_IS_SCALABLE(face)) {
        const double scale = static_cast<double>(metrics.y_scale) / 65536.0 / 64.0;
        const double thickness = std::max(1.0, std::round(face->underline_thickness * scale));
        const double centre = -face->underline_position * scale;
        impl->underline = {std::max(0, static_cast<int>(std::lround(centre - thickness / 2))),
                           static_cast<int>(thickness)};
        if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
            os2 && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
            impl->strikeout = {-static_cast<int>(std::lround(os2->yStrikeoutPosition * scale)),
                               std::max(1, static_cast<int>(std::lround(os2->yStrikeoutSize * scale)))};
        }
    }
    auto typeface = std::make_unique<Typeface>(std::move(impl));
    return *impl_->typefaces.emplace(key, std::move(typeface)).first->second;
}

} // namespace guardianes
