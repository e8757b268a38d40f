#include "runtime/paint/figure.h"

#include <algorithm>

namespace guardianes {

namespace {

// Hatch lines stand this many pixels apart.
constexpr int kHatchSpacing = 8;
// A rounded rectangle's corner radius is this fraction of its shorter side.
constexpr int kCornerFraction = 6;

int wrap(int value, int period) { return ((value % period) + period) % period; }

double square(double v) { return v * v; }

// Works in doubled coordinates, where pixel centres are odd numbers, so that
// every test below compares whole numbers: a double holds them exactly for
// any figure that fits on a screen.
bool ellipse_contains(const PixelRect& box, int x, int y) {
    const double w = box.x1 - box.x0;
    const double h = box.y1 - box.y0;
    const double dx = 2.0 * (x - box.x0) + 1 - w;
    const double dy = 2.0 * (y - box.y0) + 1 - h;
    return square(dx) * square(h) + square(dy) * square(w) <= square(w) * square(h);
}

bool rounded_contains(const PixelRect& box, int radius, int x, int y) {
    const int r = std::min({radius, (box.x1 - box.x0) / 2, (box.y1 - box.y0) / 2});
    const int px = 2 * x + 1;
    const int py = 2 * y + 1;
    int cx = px;
    int cy = py;
    if (px < 2 * (box.x0 + r)) cx = 2 * (box.x0 + r);
    else if (px > 2 * (box.x1 - r)) cx = 2 * (box.x1 - r);
    if (py < 2 * (box.y0 + r)) cy = 2 * (box.y0 + r);
    else if (py > 2 * (box.y1 - r)) cy = 2 * (box.y1 - r);
    return square(px - cx) + square(py - cy) <= square(2 * r);
}

} // namespace

bool Figure::contains(int x, int y) const {
    if (!box.contains(x, y)) return false;
    switch (contour) {
    case Contour::Rectangle: return true;
    case Contour::Ellipse: return ellipse_contains(box, x, y);
    case Contour::RoundedRectangle: return rounded_contains(box, radius, x, y);
    }
    return false;
}

Figure Figure::inset(int by) const {
    return {{box.x0 + by, box.y0 + by, box.x1 - by, box.y1 - by}, contour, std::max(radius - by, 0)};
}

Figure figure_of(const ShapeProps& shape) {
    TwipsRect r{shape.left, shape.top, shape.width, shape.height};
    const bool square_kind = shape.shape == ShapeKind::Square || shape.shape == ShapeKind::Circle ||
                             shape.shape == ShapeKind::RoundedSquare;
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
        figure.radius = std::min(figure.box.x1 - figure.box.x0, figure.box.y1 - figure.box.y0) / kCornerFraction;
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
bool Stroke::covers(int x, int y) const {
    const int centre = width % 2;
    const double ax = 2.0 * x1 + centre;
    const double ay = 2.0 * y1 + centre;
    const double bx = 2.0 * x2 + centre;
    const double by = 2.0 * y2 + centre;
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

Stroke stroke_of(const LineProps& line) {
    return {to_pixels(line.x1), to_pixels(line.y1), to_pixels(line.x2), to_pixels(line.y2), line.border_width};
}

} // namespace guardianes
