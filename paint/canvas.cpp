// SPDX-License-Identifier: GPL-3.0-or-later
#include "paint/canvas.h"

#include "runtime/utf8.h"

#include <algorithm>
#include <cstdlib>

namespace guardianes {

Canvas::Canvas(Image& image, const PixelRect& clip)
    : image_(&image), clip_(clip.intersected({0, 0, image.width, image.height})) {}

void Canvas::fill(const PixelRect& rect, Colour colour) {
    const PixelRect area = rect.intersected(clip_);
    if (area.empty()) return;
    fill_pixels(area, colour.resolve());
}

// Most rectangles of a scene are small, so the work per row counts as much
// as the work per pixel: each row is a pointer step and a fill. The sides
// of the sunken edges, one pixel wide, make up most of a scene's rows and
// are set pixel by pixel.
void Canvas::fill_pixels(const PixelRect& r, std::uint32_t colour) {
    const std::ptrdiff_t stride = image_->width;
    std::uint32_t* row = &pixel(r.x0, r.y0);
    if (r.width() == 1) {
        for (int y = r.y0; y < r.y1; ++y, row += stride) *row = colour;
        return;
    }
    for (int y = r.y0; y < r.y1; ++y, row += stride) std::fill_n(row, r.width(), colour);
}

void Canvas::line(const Stroke& stroke, Colour colour, RunCache& runs) {
    const PixelRect area = stroke.bounds().intersected(clip_);
    if (area.empty()) return;
    if (stroke.width <= 1) return trace(stroke, colour.resolve());
    const RunCache::Runs rows = runs.stroke(stroke);
    const std::uint32_t c = colour.resolve();
    for (int y = area.y0; y < area.y1; ++y) fill_run(y, rows.row(y), c);
}

// Bresenham's walk from one end to the other, both end pixels included,
// setting only the pixels inside the clip.
void Canvas::trace(const Stroke& stroke, std::uint32_t colour) {
    const long long dx = std::llabs(static_cast<long long>(stroke.x2) - stroke.x1);
    const long long dy = -std::llabs(static_cast<long long>(stroke.y2) - stroke.y1);
    const int sx = stroke.x1 < stroke.x2 ? 1 : -1;
    const int sy = stroke.y1 < stroke.y2 ? 1 : -1;
    long long error = dx + dy;
    int x = stroke.x1;
    int y = stroke.y1;
    for (;;) {
        if (clip_.contains(x, y)) pixel(x, y) = colour;
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

void Canvas::shape(const ShapeProps& shape, const Figure& figure, RunCache& cache) {
    const PixelRect area = figure.box.intersected(clip_);
    if (area.empty()) return;
    const bool opaque = shape.back_style == BackStyle::Opaque;
    const bool hatched = shape.fill_style != FillStyle::Transparent;
    const bool outlined = shape.border_width > 0;
    const std::uint32_t back = shape.back_color.resolve();
    const std::uint32_t pattern = shape.fill_color.resolve();
    const std::uint32_t border = shape.border_color.resolve();
    const RunCache::Runs runs = cache.figure(figure);
    const RunCache::Runs holes = cache.figure(figure.inset(std::max(shape.border_width, 0)));
    for (int y = area.y0; y < area.y1; ++y) {
        const PixelRun run = runs.row(y);
        if (run.empty()) continue;
        if (opaque) fill_run(y, run, back);
        if (hatched) hatch_run(y, run, shape.fill_style, figure.box, pattern);
        if (!outlined) continue;
        const PixelRun hole = holes.row(y);
        if (hole.empty()) {
            fill_run(y, run, border);
            continue;
        }
        fill_run(y, {run.x0, std::min(run.x1, hole.x0)}, border);
        fill_run(y, {std::max(run.x0, hole.x1), run.x1}, border);
    }
}

void Canvas::hatch_run(int y, PixelRun run, FillStyle style, const PixelRect& origin, std::uint32_t colour) {
    for (int x = std::max(run.x0, clip_.x0); x < std::min(run.x1, clip_.x1); ++x)
        if (pattern_covers(style, x - origin.x0, y - origin.y0)) pixel(x, y) = colour;
}

void Canvas::text(int x, int baseline, const CaptionLine& line, const Typeface& typeface, const Font& font,
                  Colour colour) {
    const std::uint32_t c = colour.resolve();
    int pen = x;
    for (const char32_t ch : Utf8Chars(line.text)) {
        const Glyph& glyph = typeface.glyph(ch);
        blend(pen + glyph.left, baseline - glyph.top, glyph, c);
        pen += glyph.advance;
    }
    for (const auto& [drawn, bar] :
         {std::pair{font.underline, typeface.underline()}, std::pair{font.strikethrough, typeface.strikeout()}}) {
        const int top = baseline + bar.offset;
        if (drawn) fill({x, top, x + line.width, top + bar.thickness}, colour);
    }
}

void Canvas::blend(int x, int y, const Glyph& glyph, std::uint32_t colour) {
    const PixelRect area = PixelRect{x, y, x + glyph.width, y + glyph.height}.intersected(clip_);
    if (area.empty()) return;
    for (int py = area.y0; py < area.y1; ++py) {
        // Pointers to the row, taken once: the compiler cannot tell that
        // writing a pixel leaves the image's size alone, so pixel() would
        // be worked out anew for every pixel.
        const std::uint8_t* mask =
            glyph.coverage.data() + static_cast<std::ptrdiff_t>(py - y) * glyph.width + (area.x0 - x);
        std::uint32_t* row = &pixel(area.x0, py);
        for (int i = 0; i < area.width(); ++i) {
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
