#include "paint/canvas.h"

#include <algorithm>
#include <cstdlib>

namespace guardianes {

Canvas::Canvas(Image& image, const PixelRect& clip)
    : image_(&image), clip_(intersect(clip, {0, 0, image.width, image.height})) {}

void Canvas::plot(int x, int y, std::uint32_t colour) {
    if (clip_.contains(x, y)) pixel(x, y) = colour;
}

// Most rectangles of a scene are small, so the work per row counts as much
// as the work per pixel: each row is a pointer step and a fill. The sides
// of the sunken edges, one pixel wide, make up most of a scene's rows and
// are set pixel by pixel.
void Canvas::fill_rect(const PixelRect& rect, std::uint32_t colour) {
    const PixelRect r = intersect(rect, clip_);
    if (r.empty()) return;
    const std::ptrdiff_t stride = image_->width;
    std::uint32_t* row = &pixel(r.x0, r.y0);
    if (r.x1 - r.x0 == 1) {
        for (int y = r.y0; y < r.y1; ++y, row += stride) *row = colour;
        return;
    }
    for (int y = r.y0; y < r.y1; ++y, row += stride) std::fill_n(row, r.x1 - r.x0, colour);
}

void Canvas::hatch_run(int y, PixelRun run, FillStyle style, const PixelRect& origin, std::uint32_t colour) {
    if (y < clip_.y0 || y >= clip_.y1) return;
    for (int x = std::max(run.x0, clip_.x0); x < std::min(run.x1, clip_.x1); ++x)
        if (pattern_covers(style, x - origin.x0, y - origin.y0)) pixel(x, y) = colour;
}

void Canvas::draw_line(const Stroke& stroke, std::uint32_t colour) {
    if (stroke.width <= 1) return trace(stroke, colour);
    const PixelRect r = intersect(stroke.bounds(), clip_);
    for (int y = r.y0; y < r.y1; ++y) fill_run(y, stroke.row(y, r.x0, r.x1), colour);
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
        // Pointers to the row, taken once: the compiler cannot tell that
        // writing a pixel leaves the image's size alone, so pixel() would
        // be worked out anew for every pixel.
        const std::uint8_t* mask = coverage + static_cast<std::ptrdiff_t>(py - y) * width + (r.x0 - x);
        std::uint32_t* row = &pixel(r.x0, py);
        for (int i = 0; i < r.x1 - r.x0; ++i) {
            const std::uint32_t a = mask[i];
            if (a == 0) continue;
            // Full coverage mixes to the colour itself; most of a glyph is either none or full.
            if (a == 255) {
                row[i] = colour;
                continue;
            }
            std::uint32_t mixed = 0;
            for (int shift = 0; shift <= 16; shift += 8) {
                const std::uint32_t s = (colour >> shift) & 0xFFu;
                const std::uint32_t d = (row[i] >> shift) & 0xFFu;
                mixed |= ((s * a + d * (255 - a) + 127) / 255) << shift;
            }
            row[i] = mixed;
        }
    }
}

} // namespace guardianes
