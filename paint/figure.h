// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/controls.h"
#include "runtime/twips.h"

namespace guardianes {

// The outline a shape's figure follows inside its box.
enum class Contour : std::uint8_t { Rectangle, Ellipse, RoundedRectangle };

// Pixels x0 up to but not including x1 of one row.
struct PixelRun {
    int x0 = 0;
    int x1 = 0;
    bool empty() const { return x1 <= x0; }
};

// A shape's figure in client pixels. A pixel belongs to it when the pixel's
// centre lies inside the contour, so that a figure and its inset are exact
// and a hatch or an outline never strays outside the fill.
struct Figure {
    PixelRect box;
    Contour contour = Contour::Rectangle;
    int radius = 0; // of the corners of a rounded rectangle

    // The pixels of row `y` inside the contour: one run, from x0 up to but
    // not including x1, empty when the row misses the figure.
    PixelRun row(int y) const;
    // The same contour shrunk by `by` pixels on every side.
    Figure inset(int by) const;
};

// The figure a shape draws: rectangles, ovals and rounded rectangles fill
// their bounding box; the square kinds take the shorter side and sit centred
// along the longer one.
Figure figure_of(const ShapeProps& shape);

// Whether the fill pattern covers a pixel (u, v) pixels from the figure's
// top-left corner, so the pattern travels with a moving shape.
bool pattern_covers(FillStyle style, int u, int v);

// A straight stroke between two client pixels. A stroke one pixel wide
// follows the pixels of the segment one by one; a wider one covers every
// pixel whose centre lies within half the width of the segment, which gives
// it round ends.
struct Stroke {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    int width = 1;

    // The pixels a wide stroke can touch.
    PixelRect bounds() const;
    bool covers(int x, int y) const;
    // The pixels of row `y` that a wide stroke covers, looked for from
    // `from` up to but not including `to`, which must take in every one of
    // them, as bounds() does: one run, since the stroke is convex.
    PixelRun row(int y, int from, int to) const;
};

Stroke stroke_of(const LineProps& line);

} // namespace guardianes
