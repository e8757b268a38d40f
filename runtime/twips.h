// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstdint>

namespace guardianes {

// Positions and sizes in the scene model are whole twips, 1440 to the inch.
using Twips = std::int32_t;

inline constexpr Twips kTwipsPerPixel = 15;

// The pixel a point falls in, rounding down: pixel k holds the points from
// k pixels up to but not including k + 1. The point is given in half twips,
// so that the middle of a rectangle is a whole number too, and in 64 bits,
// since the sum of two Twips may not fit in 32.
constexpr int pixel_of_half_twips(std::int64_t half_twips) {
    const std::int64_t per_pixel = 2 * kTwipsPerPixel;
    const std::int64_t q = half_twips / per_pixel;
    return static_cast<int>((half_twips % per_pixel != 0 && half_twips < 0) ? q - 1 : q);
}

// Converts one edge to pixels, rounding to the nearest pixel (halves go up).
// Every edge is converted on its own, so adjoining controls never gap.
constexpr int to_pixels(Twips t) { return pixel_of_half_twips(2 * std::int64_t{t} + kTwipsPerPixel); }

// A client pixel of a scene.
struct Pixel {
    int x;
    int y;
    friend bool operator==(const Pixel&, const Pixel&) = default;
};

// A rectangle in twips: left and top edges with their extent.
struct TwipsRect {
    Twips left = 0;
    Twips top = 0;
    Twips width = 0;
    Twips height = 0;

    Twips right() const { return left + width; }
    Twips bottom() const { return top + height; }
    bool empty() const { return width <= 0 || height <= 0; }
    // The pixel its middle falls in: where a click on it by name aims.
    Pixel centre() const {
        return {pixel_of_half_twips(2 * std::int64_t{left} + width),
                pixel_of_half_twips(2 * std::int64_t{top} + height)};
    }
    friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

// A rectangle in client-area pixels, half open: [x0, x1) by [y0, y1).
struct PixelRect {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;

    int width() const { return x1 - x0; }
    int height() const { return y1 - y0; }
    bool empty() const { return x1 <= x0 || y1 <= y0; }
    bool contains(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
    // The pixels in both, or the empty rectangle when they do not overlap.
    // Inline: every control of a scene is checked against the area being
    // repainted, on every repaint.
    PixelRect intersected(const PixelRect& other) const {
        const PixelRect r{std::max(x0, other.x0), std::max(y0, other.y0), std::min(x1, other.x1),
                          std::min(y1, other.y1)};
        return r.empty() ? PixelRect{} : r;
    }
    // The smallest rectangle that holds both.
    PixelRect united(const PixelRect& other) const {
        return {std::min(x0, other.x0), std::min(y0, other.y0), std::max(x1, other.x1), std::max(y1, other.y1)};
    }
    // The rectangle `by` pixels in from every side.
    PixelRect shrunken(int by) const { return {x0 + by, y0 + by, x1 - by, y1 - by}; }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

constexpr PixelRect to_pixels(const TwipsRect& r) {
    return {to_pixels(r.left), to_pixels(r.top), to_pixels(r.left + r.width), to_pixels(r.top + r.height)};
}

} // namespace guardianes
