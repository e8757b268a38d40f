// SPDX-License-Identifier: GPL-3.0-or-later
// The file is a header, then each typeface: its key (face, pixel size,
// bold, italic), the family that drew it, its metrics, its missing-glyph
// box, and its glyphs: how many, then each one's code point, in rising
// order, and the glyph. Numbers are little-endian, 16-bit, signed where
// they can be negative, but code points, 24-bit. A glyph is its advance,
// left, top, width and height, then its coverage, stored as runs, since
// most of it is either empty or full: a count byte n, then either
// n + 1 - 128 bytes as they are (n >= 128) or n + 1 repeats of the byte
// that follows (n < 128).

#include "paint/baked_glyphs.h"

#include "runtime/utf8.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_map>
#include <variant>

namespace guardianes {

namespace {

constexpr std::string_view kMagic = "guardianes glyphs 2\n";
constexpr char32_t kFirst = 32; // printable ASCII, space to tilde
constexpr char32_t kLast = 126;
constexpr char32_t kLastCode = 0x10FFFF;

using TypefaceKey = std::tuple<std::string, int, bool, bool>;
TypefaceKey key_of(const Font& f) { return std::make_tuple(std::string(f.face), pixel_size(f.size), f.bold, f.italic); }
// A font as its typeface draws it: underline and strikethrough are the painter's.
Font plain(const Font& f) { return Font{.face = f.face, .size = f.size, .bold = f.bold, .italic = f.italic}; }

void put16(std::string& out, int value) {
    const auto v = static_cast<std::uint16_t>(value);
    out.push_back(static_cast<char>(v & 0xFFu));
    out.push_back(static_cast<char>(v >> 8));
}

void put_text(std::string& out, std::string_view text) {
    put16(out, static_cast<int>(text.size()));
    out += text;
}

void put_code(std::string& out, char32_t code) {
    put16(out, static_cast<int>(code & 0xFFFFu));
    out.push_back(static_cast<char>(code >> 16));
}

void put_runs(std::string& out, const std::vector<std::uint8_t>& bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::size_t same = 1;
        while (i + same < bytes.size() && same < 128 && bytes[i + same] == bytes[i]) ++same;
        if (same >= 3) {
            out.push_back(static_cast<char>(same - 1));
            out.push_back(static_cast<char>(bytes[i]));
            i += same;
            continue;
        }
        // A literal run, up to where three equal bytes begin.
        std::size_t end = i;
        while (end < bytes.size() && end - i < 128 &&
               !(end + 2 < bytes.size() && bytes[end] == bytes[end + 1] && bytes[end] == bytes[end + 2]))
            ++end;
        out.push_back(static_cast<char>(128 + (end - i) - 1));
        out.append(reinterpret_cast<const char*>(bytes.data() + i), end - i);
        i = end;
    }
}

void sort_and_unique(std::u32string& codes) {
    std::sort(codes.begin(), codes.end());
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
}

void put_glyph(std::string& out, const Glyph& glyph) {
    for (const int v : {glyph.advance, glyph.left, glyph.top, glyph.width, glyph.height}) put16(out, v);
    put_runs(out, glyph.coverage);
}

// What a face bakes for a set: printable ASCII and the set's characters,
// each once, in rising order, and only those the face has.
std::u32string characters_to_bake(const Typeface& face, const GlyphSet& set) {
    std::u32string codes = set.characters;
    for (char32_t c = kFirst; c <= kLast; ++c) codes.push_back(c);
    sort_and_unique(codes);
    std::erase_if(codes, [&](char32_t c) { return c > kLastCode || !face.has(c); });
    if (codes.size() > 0xFFFF)
        throw std::runtime_error("too many characters to bake for the font '" + std::string(set.font.face) + "'");
    return codes;
}

struct Reader {
    std::string_view data;
    std::size_t at = 0;

    [[noreturn]] static void damaged() { throw std::runtime_error("the glyph file is damaged"); }
    std::uint8_t byte() {
        if (at >= data.size()) damaged();
        return static_cast<std::uint8_t>(data[at++]);
    }
    int unsigned16() {
        const int low = byte();
        return low | byte() << 8;
    }
    int signed16() { return static_cast<std::int16_t>(static_cast<std::uint16_t>(unsigned16())); }
    char32_t code() {
        const auto low = static_cast<char32_t>(unsigned16());
        return low | static_cast<char32_t>(byte()) << 16;
    }
    std::string text() {
        const auto size = static_cast<std::size_t>(unsigned16());
        if (data.size() - at < size) damaged();
        std::string out(data.substr(at, size));
        at += size;
        return out;
    }
    void runs(std::vector<std::uint8_t>& out) {
        std::size_t i = 0;
        while (i < out.size()) {
            const std::uint8_t count = byte();
            const std::size_t n = count >= 128 ? count - 127u : count + 1u;
            if (out.size() - i < n) damaged();
            if (count >= 128) {
                for (std::size_t k = 0; k < n; ++k) out[i++] = byte();
            } else {
                const std::uint8_t value = byte();
                for (std::size_t k = 0; k < n; ++k) out[i++] = value;
            }
        }
    }
    Glyph glyph() {
        Glyph glyph;
        glyph.advance = signed16();
        glyph.left = signed16();
        glyph.top = signed16();
        glyph.width = unsigned16();
        glyph.height = unsigned16();
        glyph.coverage.resize(static_cast<std::size_t>(glyph.width) * static_cast<std::size_t>(glyph.height));
        runs(glyph.coverage);
        return glyph;
    }
};

// One typeface's glyphs as baked: a character not among them draws the
// missing-glyph box.
struct BakedFace {
    Glyph missing;
    std::unordered_map<char32_t, Glyph> glyphs;

    const Glyph& glyph(char32_t code) const {
        const auto found = glyphs.find(code);
        return found == glyphs.end() ? missing : found->second;
    }
};

} // namespace

std::string bake_glyphs(GlyphSource& source, const std::vector<GlyphSet>& sets) {
    std::string out(kMagic);
    put16(out, static_cast<int>(sets.size()));
    for (const GlyphSet& set : sets) {
        const Font& font = set.font;
        const Typeface& face = source.typeface(font);
        put_text(out, font.face);
        put16(out, pixel_size(font.size));
        out.push_back(static_cast<char>((font.bold ? 1 : 0) | (font.italic ? 2 : 0)));
        put_text(out, face.family());
        const FaceMetrics& m = face.metrics();
        for (const int v : {m.ascent, m.descent, m.underline.offset, m.underline.thickness, m.strikeout.offset,
                            m.strikeout.thickness})
            put16(out, v);
        put_glyph(out, face.missing());
        const std::u32string codes = characters_to_bake(face, set);
        put16(out, static_cast<int>(codes.size()));
        for (const char32_t c : codes) {
            put_code(out, c);
            put_glyph(out, face.glyph(c));
        }
    }
    return out;
}

std::string bake_glyphs(GlyphSource& source, const std::vector<Font>& fonts) {
    std::vector<GlyphSet> sets;
    for (const Font& font : fonts) sets.push_back({font, {}});
    return bake_glyphs(source, sets);
}

std::vector<GlyphSet> glyph_sets(const std::vector<std::pair<Font, std::string>>& texts) {
    std::map<TypefaceKey, GlyphSet> sets;
    for (const auto& [font, text] : texts) {
        GlyphSet& set = sets.try_emplace(key_of(font), GlyphSet{plain(font), {}}).first->second;
        for (std::size_t at = 0; at < text.size();) {
            const Utf8Char c = read_utf8(text, at);
            at += c.size;
            const bool line_break = c.code == '\n' || (c.code == '\r' && at < text.size() && text[at] == '\n');
            if (!line_break && (c.code < kFirst || c.code > kLast)) set.characters.push_back(c.code);
        }
    }
    std::vector<GlyphSet> out;
    for (auto& [key, set] : sets) {
        sort_and_unique(set.characters);
        out.push_back(std::move(set));
    }
    return out;
}

std::vector<Font> fonts_of(const std::vector<SceneDef>& scenes) {
    std::map<TypefaceKey, Font> fonts;
    for (const SceneDef& scene : scenes) {
        for (const ControlRow& row : scene.table.controls) {
            if (const auto* label = std::get_if<LabelProps>(&row.props))
                fonts.try_emplace(key_of(label->font), plain(label->font));
        }
    }
    std::vector<Font> out;
    for (auto& [key, font] : fonts) out.push_back(std::move(font));
    return out;
}

BakedGlyphs::BakedGlyphs(std::string_view file) {
    if (file.substr(0, kMagic.size()) != kMagic) throw std::runtime_error("not a glyph file");
    Reader in{file, kMagic.size()};
    for (int count = in.unsigned16(); count > 0; --count) {
        std::string face = in.text();
        const int pixels = in.unsigned16();
        const std::uint8_t style = in.byte();
        std::string family = in.text();
        FaceMetrics m;
        m.ascent = in.signed16();
        m.descent = in.signed16();
        m.underline = {in.signed16(), in.signed16()};
        m.strikeout = {in.signed16(), in.signed16()};
        auto baked = std::make_shared<BakedFace>();
        baked->missing = in.glyph();
        char32_t after = 0; // the codes rise: each is above the one before
        for (int glyphs = in.unsigned16(); glyphs > 0; --glyphs) {
            const char32_t code = in.code();
            if (code > kLastCode || (!baked->glyphs.empty() && code <= after)) Reader::damaged();
            baked->glyphs.emplace(code, in.glyph());
            after = code;
        }
        auto typeface = std::make_unique<Typeface>(
            std::move(family), m, false, [baked](char32_t code) { return baked->glyph(code); },
            [baked](char32_t code) { return baked->glyphs.contains(code); });
        typefaces_[std::make_tuple(std::move(face), pixels, (style & 1) != 0, (style & 2) != 0)] = std::move(typeface);
    }
    if (in.at != file.size()) Reader::damaged();
}

const Typeface& BakedGlyphs::typeface(const Font& font) {
    const auto found = typefaces_.find(key_of(font));
    if (found == typefaces_.end())
        throw std::runtime_error("no glyphs were baked for the font '" + std::string(font.face) + "' at " +
                                 std::to_string(pixel_size(font.size)) + " pixels");
    return *found->second;
}

} // namespace guardianes
