// SPDX-License-Identifier: GPL-3.0-or-later
// The file is a header, then each typeface: its key (face, pixel size,
// bold, italic), the family that drew it, its metrics and its glyphs. All
// numbers are little-endian 16-bit, signed where they can be negative. A
// glyph's coverage is stored as runs, since most of it is either empty or
// full: a count byte n, then either n + 1 - 128 bytes as they are (n >= 128)
// or n + 1 repeats of the byte that follows (n < 128).

#include "paint/baked_glyphs.h"

#include <array>
#include <stdexcept>
#include <variant>

namespace guardianes {

namespace {

constexpr std::string_view kMagic = "guardianes glyphs 1\n";
constexpr unsigned char kFirst = 32; // printable ASCII, space to tilde
constexpr unsigned char kLast = 126;

void put16(std::string& out, int value) {
    const auto v = static_cast<std::uint16_t>(value);
    out.push_back(static_cast<char>(v & 0xFFu));
    out.push_back(static_cast<char>(v >> 8));
}

void put_text(std::string& out, const std::string& text) {
    put16(out, static_cast<int>(text.size()));
    out += text;
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
};

using Glyphs = std::array<Glyph, 256>;

} // namespace

std::string bake_glyphs(GlyphSource& source, const std::vector<Font>& fonts) {
    std::string out(kMagic);
    put16(out, static_cast<int>(fonts.size()));
    for (const Font& font : fonts) {
        const Typeface& face = source.typeface(font);
        put_text(out, font.face);
        put16(out, pixel_size(font.size));
        out.push_back(static_cast<char>((font.bold ? 1 : 0) | (font.italic ? 2 : 0)));
        put_text(out, face.family());
        const FaceMetrics& m = face.metrics();
        for (const int v : {m.ascent, m.descent, m.underline.offset, m.underline.thickness, m.strikeout.offset,
                            m.strikeout.thickness})
            put16(out, v);
        for (int c = kFirst; c <= kLast; ++c) {
            const Glyph& glyph = face.glyph(static_cast<char32_t>(c));
            for (const int v : {glyph.advance, glyph.left, glyph.top, glyph.width, glyph.height}) put16(out, v);
            put_runs(out, glyph.coverage);
        }
    }
    return out;
}

std::vector<Font> fonts_of(const std::vector<SceneDef>& scenes) {
    std::map<std::tuple<std::string, int, bool, bool>, Font> fonts;
    for (const SceneDef& scene : scenes) {
        for (const ControlRow& row : scene.table.controls) {
            if (const auto* label = std::get_if<LabelProps>(&row.props)) {
                const Font& f = label->font;
                fonts.try_emplace(std::make_tuple(f.face, pixel_size(f.size), f.bold, f.italic),
                                  Font{.face = f.face, .size = f.size, .bold = f.bold, .italic = f.italic});
            }
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
        auto glyphs = std::make_shared<Glyphs>();
        for (int c = kFirst; c <= kLast; ++c) {
            Glyph& glyph = (*glyphs)[static_cast<std::size_t>(c)];
            glyph.advance = in.signed16();
            glyph.left = in.signed16();
            glyph.top = in.signed16();
            glyph.width = in.unsigned16();
            glyph.height = in.unsigned16();
            glyph.coverage.resize(static_cast<std::size_t>(glyph.width) * static_cast<std::size_t>(glyph.height));
            in.runs(glyph.coverage);
        }
        // Characters outside the baked set draw nothing and take no room.
        auto typeface = std::make_unique<Typeface>(
            std::move(family), m, false, [glyphs](char32_t c) { return c < glyphs->size() ? (*glyphs)[c] : Glyph{}; });
        typefaces_[std::make_tuple(std::move(face), pixels, (style & 1) != 0, (style & 2) != 0)] = std::move(typeface);
    }
    if (in.at != file.size()) Reader::damaged();
}

const Typeface& BakedGlyphs::typeface(const Font& font) {
    const auto found = typefaces_.find(std::make_tuple(font.face, pixel_size(font.size), font.bold, font.italic));
    if (found == typefaces_.end())
        throw std::runtime_error("no glyphs were baked for the font '" + font.face + "' at " +
                                 std::to_string(pixel_size(font.size)) + " pixels");
    return *found->second;
}

} // namespace guardianes
