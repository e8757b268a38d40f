// SPDX-License-Identifier: GPL-3.0-or-later
#include "paint/typeface.h"

#include "runtime/utf8.h"

#include <algorithm>
#include <cmath>

namespace guardianes {

int pixel_size(double points) { return std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0))); }

Typeface::Typeface(std::string family, FaceMetrics metrics, bool capitals, Rasterise rasterise, Covers covers)
    : family_(std::move(family)), metrics_(metrics), capitals_(capitals), rasterise_(std::move(rasterise)),
      covers_(std::move(covers)) {}

int Typeface::width(std::string_view text) const {
    int total = 0;
    for (const char32_t c : Utf8Chars(text)) total += glyph(c).advance;
    return total;
}

// Of the Latin alphabets Western captions are written in, Latin-1 and
// Latin Extended-A; a letter without a capital of its own, such as ß, and
// any other character stay as they are.
char32_t Typeface::capital_beyond_ascii(char32_t c) {
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20; // à to þ, but not ÷
    if (c == 0xFF) return 0x178;                              // ÿ
    if (c == 0x131) return 'I';                               // dotless i
    if (c == 0x17F) return 'S';                               // long s
    // Latin Extended-A pairs each capital with its small letter: from Ā to
    // ķ and from Ŋ to ŷ the capital comes first, from Ĺ to ň and from Ź to
    // ž the small letter.
    const bool capital_first = (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
    if (capital_first && c % 2 == 1) return c - 1;
    const bool small_first = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (small_first && c % 2 == 0) return c - 1;
    return c;
}

// The first time a character of Latin-1 is drawn, or any time another is.
const Glyph& Typeface::make_glyph(char32_t code) const {
    if (code < latin1_.size()) return *(latin1_[code] = std::make_unique<Glyph>(rasterise_(code)));
    if (const auto found = others_.find(code); found != others_.end()) return found->second;
    return others_.emplace(code, rasterise_(code)).first->second;
}

bool Typeface::has(char32_t code) const {
    if (capitals_) code = capital_of(code);
    if (code >= kNoCharacter) return false;
    return !covers_ || covers_(code);
}

} // namespace guardianes
