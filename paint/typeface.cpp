// SPDX-License-Identifier: GPL-3.0-or-later
#include "paint/typeface.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace guardianes {

int pixel_size(double points) { return std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0))); }

Typeface::Typeface(std::string family, FaceMetrics metrics, bool capitals, Rasterise rasterise)
    : family_(std::move(family)), metrics_(metrics), capitals_(capitals), rasterise_(std::move(rasterise)) {}

int Typeface::width(std::string_view text) const {
    int total = 0;
    for (const char c : text) total += glyph(c).advance;
    return total;
}

const Glyph& Typeface::glyph(char c) const {
    auto code = static_cast<unsigned char>(c);
    if (capitals_) code = static_cast<unsigned char>(std::toupper(code));
    std::unique_ptr<Glyph>& slot = glyphs_[code];
    if (!slot) slot = std::make_unique<Glyph>(rasterise_(code));
    return *slot;
}

} // namespace guardianes
