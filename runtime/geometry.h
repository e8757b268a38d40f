// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>

namespace guardianes {

// A pixel: of a scene's client area, a window's, or a screen's.
struct Pixel {
    int x;
    int y;
    friend bool operator==(const Pixel&, const Pixel&) = default;
};

// A width and a height in pixels.
struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// How far each side of a rectangle lies out from another inside it: a
// window's frame around its client area.
struct Edges {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    // The width and the height they add.
    Size size() const { return {left + right, top + bottom}; }
    friend bool operator==(const Edges&, const Edges&) = default;
};

// A rectangle of pixels, half open: [x0, x1) by [y0, y1).
struct PixelRect {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;

    // The rectangle of that size with its top left corner there.
    static PixelRect at(Pixel corner, Size size) {
        return {corner.x, corner.y, corner.x + size.width, corner.y + size.height};
    }

    int width() const { return x1 - x0; }
    int height() const { return y1 - y0; }
    Size size() const { return {width(), height()}; }
    Pixel corner() const { return {x0, y0}; }
    bool empty() const { return x1 <= x0 || y1 <= y0; }
    bool contains(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
    bool contains(const PixelRect& other) const {
        return other.x0 >= x0 && other.y0 >= y0 && other.x1 <= x1 && other.y1 <= y1;
    }
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
    // The rectangle inside edges as wide as these.
    PixelRect shrunken(const Edges& by) const { return {x0 + by.left, y0 + by.top, x1 - by.right, y1 - by.bottom}; }
    // The rectangle that holds this one inside edges as wide as these.
    PixelRect grown(const Edges& by) const { return {x0 - by.left, y0 - by.top, x1 + by.right, y1 + by.bottom}; }
    // Where a rectangle of that size goes to lie in the middle of this one,
    // or along its top and left sides where it is larger.
    Pixel centred(Size size) const {
        return {x0 + std::max(0, (width() - size.width) / 2), y0 + std::max(0, (height() - size.height) / 2)};
    }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

} // namespace guardianes
