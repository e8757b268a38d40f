// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace guardianes {

// Positions and sizes in the scene model are whole twips, 1440 to the inch.
using Twips = std::int32_t;

inline constexpr Twips kTwipsPerPixel = 15;

// Converts one edge to pixels, rounding to the nearest pixel (halves go up).
// Every edge is converted on its own, so adjoining controls never gap.
constexpr int to_pixels(Twips t) {
    const std::int64_t twice = 2 * static_cast<std::int64_t>(t) + kTwipsPerPixel;
    const std::int64_t den = 2 * kTwipsPerPixel;
    const std::int64_t q = twice / den;
    return static_cast<int>((twice % den != 0 && twice < 0) ? q - 1 : q);
}

// A rectangle in twips: left and top edges with their extent.
struct TwipsRect {
    Twips left = 0;
    Twips top = 0;
    Twips width = 0;
    Twips height = 0;

    Twips right() const { return left + width; }
    Twips bottom() const { return top + height; }
    bool empty() const { return width <= 0 || height <= 0; }
    friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

// A rectangle in client-area pixels, half open: [x0, x1) by [y0, y1).
struct PixelRect {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;

    bool empty() const { return x1 <= x0 || y1 <= y0; }
    bool contains(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

constexpr PixelRect to_pixels(const TwipsRect& r) {
    return {to_pixels(r.left), to_pixels(r.top), to_pixels(r.left + r.width), to_pixels(r.top + r.height)};
}

} // namespace guardianes
