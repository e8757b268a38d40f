// SPDX-License-Identifier: GPL-3.0-or-later
#include "paint/figure.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace guardianes {

namespace {

// Hatch lines stand this many pixels apart.
constexpr int kHatchSpacing = 8;
// A rounded rectangle's corner radius is this fraction of its shorter side.
constexpr int kCornerFraction = 6;

int wrap(int value, int period) { return ((value % period) + period) % period; }

double square(double v) { return v * v; }

// The largest whole number whose square is at most n.
std::int64_t root(std::int64_t n) {
    auto r = static_cast<std::int64_t>(std::sqrt(static_cast<double>(n)));
    while (r > 0 && r * r > n) --r;
    while ((r + 1) * (r + 1) <= n) ++r;
    return r;
}

// The rows below work in doubled coordinates, where pixel centres are odd
// numbers, so that every test compares whole numbers; 64 bits hold them
// for any figure that fits on a screen. Both contours are symmetric about
// the middle of the box, so a row's run leaves out as many pixels, `q`, at
// each end.

// A pixel is inside when dx^2 h^2 + dy^2 w^2 <= w^2 h^2, dx and dy being its
// centre's offsets from the box's centre, doubled.
PixelRun ellipse_row(const PixelRect& box, int y) {
    const std::int64_t w = box.width();
    const std::int64_t h = box.height();
    const std::int64_t dy = 2 * std::int64_t{y - box.y0} + 1 - h;
    // The widest |dx| allowed on this row; the pixels' dx run 1 - w, 3 - w, ... w - 1.
    const std::int64_t widest = root(w * w * (h * h - dy * dy) / (h * h));
    const auto q = static_cast<int>((w - widest) / 2);
    return {box.x0 + q, box.x1 - q};
}

// A pixel is inside when its centre lies within 2r, doubled, of the nearest
// point of the rectangle that the corners' centres span.
PixelRun rounded_row(const PixelRect& box, int radius, int y) {
    const int r = std::min({radius, box.width() / 2, box.height() / 2});
    const std::int64_t py = 2 * std::int64_t{y} + 1;
    const std::int64_t dy = py - std::clamp<std::int64_t>(py, 2 * (box.y0 + r), 2 * (box.y1 - r));
    const std::int64_t reach2 = 4 * std::int64_t{r} * r - dy * dy;
    if (reach2 < 0) return {};
    const auto q = static_cast<int>((2 * std::int64_t{r} - root(reach2)) / 2);
    return {box.x0 + q, box.x1 - q};
}

} // namespace

PixelRun Figure::row(int y) const {
    if (box.empty() || y < box.y0 || y >= box.y1) return {};
    switch (contour) {
    case Contour::Rectangle: return {box.x0, box.x1};
    case Contour::Ellipse: return ellipse_row(box, y);
    case Contour::RoundedRectangle: return rounded_row(box, radius, y);
    }
    return {};
}

Figure Figure::inset(int by) const { return {box.shrunken(by), contour, std::max(radius - by, 0)}; }

Figure figure_of(const ShapeProps& shape) {
    TwipsRect r{shape.left, shape.top, shape.width, shape.height};
    const bool square_kind =
        shape.shape == ShapeKind::Square || shape.shape == ShapeKind::Circle || shape.shape == ShapeKind::RoundedSquare;
    if (square_kind) {
        const Twips side = std::min(r.width, r.height);
        r.left += (r.width - side) / 2;
        r.top += (r.height - side) / 2;
        r.width = side;
        r.height = side;
    }
    Figure figure{to_pixels(r)};
    switch (shape.shape) {
    case ShapeKind::Rectangle:
    case ShapeKind::Square: figure.contour = Contour::Rectangle; break;
    case ShapeKind::Oval:
    case ShapeKind::Circle: figure.contour = Contour::Ellipse; break;
    case ShapeKind::RoundedRectangle:
    case ShapeKind::RoundedSquare:
        figure.contour = Contour::RoundedRectangle;
        figure.radius = std::min(figure.box.width(), figure.box.height()) / kCornerFraction;
        break;
    }
    return figure;
}

bool pattern_covers(FillStyle style, int u, int v) {
    const int mid = kHatchSpacing / 2;
    const bool across = wrap(v, kHatchSpacing) == mid;
    const bool down = wrap(u, kHatchSpacing) == mid;
    const bool rising = wrap(u + v, kHatchSpacing) == mid;
    const bool falling = wrap(u - v, kHatchSpacing) == mid;
    switch (style) {
    case FillStyle::Solid: return true;
    case FillStyle::Transparent: return false;
    case FillStyle::Horizontal: return across;
    case FillStyle::Vertical: return down;
    case FillStyle::UpwardDiagonal: return rising;
    case FillStyle::DownwardDiagonal: return falling;
    case FillStyle::Cross: return across || down;
    case FillStyle::DiagonalCross: return rising || falling;
    }
    return false;
}

PixelRect Stroke::bounds() const {
    return {std::min(x1, x2) - width, std::min(y1, y2) - width, std::max(x1, x2) + width + 1,
            std::max(y1, y2) + width + 1};
}

// Odd widths centre the stroke on the middle of the end pixels, even widths
// on their top-left corners, so that a stroke is exactly `width` pixels across.
namespace {

// The end points in doubled coordinates, in which pixel centres are odd.
struct Ends {
    double ax, ay, bx, by;
};

Ends doubled_ends(const Stroke& s) {
    const int centre = s.width % 2;
    return {2.0 * s.x1 + centre, 2.0 * s.y1 + centre, 2.0 * s.x2 + centre, 2.0 * s.y2 + centre};
}

} // namespace

bool Stroke::covers(int x, int y) const {
    const auto [ax, ay, bx, by] = doubled_ends(*this);
    const double px = 2.0 * x + 1;
    const double py = 2.0 * y + 1;
    const double dx = bx - ax;
    const double dy = by - ay;
    const double length2 = square(dx) + square(dy);
    const double along = (px - ax) * dx + (py - ay) * dy;
    const double reach2 = square(width); // half the width, doubled, squared
    if (length2 == 0 || along <= 0) return square(px - ax) + square(py - ay) <= reach2;
    if (along >= length2) return square(px - bx) + square(py - by) <= reach2;
    const double across = (px - ax) * dy - (py - ay) * dx;
    return square(across) <= reach2 * length2;
}

// The run is found from the point where the centre line comes closest to
// the row: where it crosses the row, or else its end nearer the row. Every
// point of the row that the stroke covers lies on one side of that point
// or the other, so if any pixel of the row is covered, one of the two
// pixels beside that point is too, and the run grows out from it.
PixelRun Stroke::row(int y, int from, int to) const {
    if (from >= to) return {};
    const auto [ax, ay, bx, by] = doubled_ends(*this);
    const double py = 2.0 * y + 1;
    // Doubled, like the pixel centres.
    double closest = std::abs(py - ay) <= std::abs(py - by) ? ax : bx;
    if (ay != by && (py - ay) * (py - by) <= 0) closest = ax + (py - ay) / (by - ay) * (bx - ax);

    const int before = static_cast<int>(std::floor((closest - 1) / 2)); // centre at or left of it
    const int seed = covers(before, y) ? before : before + 1;
    if (!covers(seed, y)) return {};
    int first = seed;
    while (first > from && covers(first - 1, y)) --first;
    int last = seed;
    while (last + 1 < to && covers(last + 1, y)) ++last;
    return {first, last + 1};
}

Stroke stroke_of(const LineProps& line) {
    return {to_pixels(line.x1), to_pixels(line.y1), to_pixels(line.x2), to_pixels(line.y2), line.border_width};
}

} // namespace guardianes
