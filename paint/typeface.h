// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paint/caption_layout.h"
#include "runtime/controls.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace guardianes {

// One character as the rasteriser drew it, kept for every later repaint.
struct Glyph {
    int advance = 0; // pixels from this glyph's origin to the next one's
    int left = 0;    // from the origin to the coverage's left column
    int top = 0;     // from the baseline up to the coverage's top row
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> coverage; // width x height, 0 (none) to 255 (full)
};

// A bar drawn across a line of text, as underline or strikethrough: its top
// row counted down from the baseline (negative above it) and its thickness.
struct TextBar {
    int offset = 0;
    int thickness = 1;
    friend bool operator==(const TextBar&, const TextBar&) = default;
};

// How a face sits on its lines at one pixel size.
struct FaceMetrics {
    int ascent = 0;  // baseline below the top of a line
    int descent = 0; // bottom of a line below the baseline
    TextBar underline;
    TextBar strikeout;
};

// Point sizes at 96 pixels to the inch, rounded to whole pixels: 8.25 pt is 11 px.
int pixel_size(double points);

// A face at one pixel size for one Font. It measures text the way it draws
// it: UTF-8, one glyph per character, whole-pixel advances, no kerning. Each
// character's glyph is made once, by `rasterise`, the first time it is
// asked for, and kept.
class Typeface final : public TextMeasure {
public:
    // The glyph the face draws for a character: for one it has no glyph of,
    // its missing-glyph box.
    using Rasterise = std::function<Glyph(char32_t code)>;
    // Whether the face has a glyph of its own for a character.
    using Covers = std::function<bool(char32_t code)>;

    // A code beyond Unicode, which no face has: what a face draws for it is
    // its missing-glyph box.
    static constexpr char32_t kNoCharacter = 0x110000;

    // With `capitals`, the face draws every letter as its capital: a stand-in
    // for a face that has only capitals. Without `covers`, the face has
    // every character.
    Typeface(std::string family, FaceMetrics metrics, bool capitals, Rasterise rasterise, Covers covers = {});

    int width(std::string_view text) const override;
    // Inline for a glyph of Latin-1 already made, which nearly every
    // character of the scenes' captions is.
    const Glyph& glyph(char32_t code) const {
        if (capitals_) code = capital_of(code);
        if (code < latin1_.size() && latin1_[code]) return *latin1_[code];
        return make_glyph(code);
    }
    const Glyph& missing() const { return glyph(kNoCharacter); }
    // Whether the glyph drawn for the character is the face's own, not its
    // missing-glyph box; for a face of capitals, whether it has the capital.
    bool has(char32_t code) const;

    int ascent() const { return metrics_.ascent; }
    int line_height() const { return metrics_.ascent + metrics_.descent; }
    TextBar underline() const { return metrics_.underline; }
    TextBar strikeout() const { return metrics_.strikeout; }
    const FaceMetrics& metrics() const { return metrics_; }

    // The family that actually draws, which may stand in for the one asked for.
    const std::string& family() const { return family_; }

private:
    // The capital that a face of capitals draws for a character.
    static char32_t capital_of(char32_t code) {
        if (code < 0x80) return code >= 'a' && code <= 'z' ? code - 0x20 : code;
        return capital_beyond_ascii(code);
    }
    static char32_t capital_beyond_ascii(char32_t code);
    const Glyph& make_glyph(char32_t code) const;

    std::string family_;
    FaceMetrics metrics_;
    bool capitals_;
    Rasterise rasterise_;
    Covers covers_;
    // Latin-1, which most captions are written in, is looked up directly.
    mutable std::array<std::unique_ptr<Glyph>, 256> latin1_{};
    mutable std::unordered_map<char32_t, Glyph> others_;
};

// Where the painter gets its glyphs: on the desktop, the machine's fonts
// rasterised as needed; in the browser, glyphs baked from those same fonts
// at build time. Typefaces stay valid as long as the source does.
class GlyphSource {
public:
    virtual ~GlyphSource() = default;
    // Underline and strikethrough are drawn by the painter, so fonts that
    // differ only in those share one typeface.
    virtual const Typeface& typeface(const Font& font) = 0;
};

} // namespace guardianes
