// SPDX-License-Identifier: GPL-3.0-or-later
#include "paint/font_finder.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <vector>

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

struct FcPatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using FcPatternPtr = std::unique_ptr<FcPattern, FcPatternDeleter>;

} // namespace

struct FontFinder::Config {
    struct Deleter {
        void operator()(FcConfig* fc_config) const { FcConfigDestroy(fc_config); }
    };
    std::unique_ptr<FcConfig, Deleter> config{FcInitLoadConfigAndFonts()};
};

FontFinder::FontFinder(Warning warning, CanOpen can_open)
    : warning_(std::move(warning)), can_open_(std::move(can_open)), config_(std::make_unique<Config>()) {
    if (!match(kLastResort, false, false, false))
        throw std::runtime_error("no usable font: fontconfig finds no face that FreeType can open");
}

FontFinder::~FontFinder() = default;

// The face fontconfig picks for a family, weight and slant. With `exact`,
// only a face of that very family will do: fontconfig's own aliases would
// otherwise answer for a missing face with whatever it likes.
std::optional<FaceFile> FontFinder::match(std::string_view family, bool bold, bool italic, bool exact) const {
    FcConfig* config = config_->config.get();
    if (!config) return std::nullopt;
    const std::string name(family);
    const FcPatternPtr pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    const FcPatternPtr found(FcFontMatch(config, pattern.get(), &result));
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
    if (!can_open_(file)) return std::nullopt;
    return file;
}

const FaceFile& FontFinder::find(const std::string& face, bool bold, bool italic) {
    const auto key = std::make_tuple(face, bold, italic);
    if (const auto known = files_.find(key); known != files_.end()) return known->second;

    std::optional<FaceFile> file = match(face, bold, italic, true);
    const auto entry =
        std::find_if(stand_ins().begin(), stand_ins().end(), [&](const StandIn& s) { return same_name(s.face, face); });
    const bool capitals = entry != stand_ins().end() && entry->capitals;
    if (!file && entry != stand_ins().end()) {
        for (const std::string_view family : entry->families) {
            if ((file = match(family, bold, italic, true))) break;
        }
    }
    if (!file) {
        file = match(kLastResort, bold, italic, false);
        if (!file) throw std::runtime_error("no usable font face for '" + face + "'");
        if (warned_.insert(face).second && warning_)
            warning_("guardianes: font '" + face + "' not found; drawing it in '" + file->family + "'");
    }
    // A real face of the name draws its own capitals; a stand-in has to be told.
    file->capitals = capitals && !same_name(file->family, face);
    return files_.emplace(key, std::move(*file)).first->second;
}

} // namespace guardianes
