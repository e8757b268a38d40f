#include "runtime/paint/canvas.h"

#include <algorithm>
#include <cstdlib>

namespace guardianes {

PixelRect intersect(const PixelRect& a, const PixelRect& b) {
    const PixelRect r{std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
    return r.empty() ? PixelRect{} : r;
}

Canvas::Canvas(Image& image, const PixelRect& clip)
    : image_(&image), clip_(intersect(clip, {0, 0, image.width, image.height})) {}

std::uint32_t& Canvas::pixel(int x, int y) {
    return image_->pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image_->width) +
                          static_cast<std::size_t>(x)];
}

void Canvas::plot(int x, int y, std::uint32_t colour) {
    if (clip_.contains(x, y)) pixel(x, y) = colour;
}

void Canvas::fill_rect(const PixelRect& rect, std::uint32_t colour) {
    const PixelRect r = intersect(rect, clip_);
    for (int y = r.y0; y < r.y1; ++y)
        for (int x = r.x0; x < r.x1; ++x) pixel(x, y) = colour;
}

void Canvas::fill_figure(const Figure& figure, std::uint32_t colour) {
    const PixelRect r = intersect(figure.box, clip_);
    for (int y = r.y0; y < r.y1; ++y)
        for (int x = r.x0; x < r.x1; ++x)
            if (figure.contains(x, y)) pixel(x, y) = colour;
}

void Canvas::hatch_figure(const Figure& figure, FillStyle style, std::uint32_t colour) {
    const PixelRect r = intersect(figure.box, clip_);
    for (int y = r.y0; y < r.y1; ++y)
        for (int x = r.x0; x < r.x1; ++x)
            if (pattern_covers(style, x - figure.box.x0, y - figure.box.y0) && figure.contains(x, y))
                pixel(x, y) = colour;
}

void Canvas::outline_figure(const Figure& figure, int width, std::uint32_t colour) {
    if (width <= 0) return;
    const Figure inner = figure.inset(width);
    const PixelRect r = intersect(figure.box, clip_);
    for (int y = r.y0; y < r.y1; ++y)
        for (int x = r.x0; x < r.x1; ++x)
            if (figure.contains(x, y) && !inner.contains(x, y)) pixel(x, y) = colour;
}

void Canvas::draw_line(const Stroke& stroke, std::uint32_t colour) {
    if (stroke.width <= 1) return trace(stroke, colour);
    const PixelRect r = intersect(stroke.bounds(), clip_);
    for (int y = r.y0; y < r.y1; ++y)
        for (int x = r.x0; x < r.x1; ++x)
            if (stroke.covers(x, y)) pixel(x, y) = colour;
}

// Bresenham's walk from one end to the other, both end pixels included.
void Canvas::trace(const Stroke& stroke, std::uint32_t colour) {
    if (intersect({std::min(stroke.x1, stroke.x2), std::min(stroke.y1, stroke.y2),
                   std::max(stroke.x1, stroke.x2) + 1, std::max(stroke.y1, stroke.y2) + 1},
                  clip_)
            .empty())
        return;
    const long long dx = std::llabs(static_cast<long long>(stroke.x2) - stroke.x1);
    const long long dy = -std::llabs(static_cast<long long>(stroke.y2) - stroke.y1);
    const int sx = stroke.x1 < stroke.x2 ? 1 : -1;
    const int sy = stroke.y1 < stroke.y2 ? 1 : -1;
    long long error = dx + dy;
    int x = stroke.x1;
    int y = stroke.y1;
    for (;;) {
        plot(x, y, colour);
        if (x == stroke.x2 && y == stroke.y2) break;
        const long long twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

void Canvas::blend(int x, int y, int width, int height, const std::uint8_t* coverage, std::uint32_t colour) {
    const PixelRect r = intersect({x, y, x + width, y + height}, clip_);
    for (int py = r.y0; py < r.y1; ++py) {
        for (int px = r.x0; px < r.x1; ++px) {
            const std::uint32_t a = coverage[static_cast<std::size_t>(py - y) * static_cast<std::size_t>(width) +
                                             static_cast<std::size_t>(px - x)];
            if (a == 0) continue;
            std::uint32_t& dst = pixel(px, py);
            std::uint32_t mixed = 0;
            for (int shift = 0; shift <= 16; shift += 8) {
                const std::uint32_t s = (colour >> shift) & 0xFFu;
                const std::uint32_t d = (dst >> shift) & 0xFFu;
                mixed |= ((s * a + d * (255 - a) + 127) / 255) << shift;
            }
            dst = mixed;
        }
    }
}

} // namespace guardianes
