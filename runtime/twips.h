// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/geometry.h"

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

constexpr PixelRect to_pixels(const TwipsRect& r) {
    return {to_pixels(r.left), to_pixels(r.top), to_pixels(r.left + r.width), to_pixels(r.top + r.height)};
}

} // namespace guardianes
