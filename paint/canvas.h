#pragma once

#include "paint/figure.h"
#include "paint/image.h"

#include <algorithm>
#include <cstdint>

namespace guardianes {

// Inline: every control of a scene is checked against the area being
// repainted, on every repaint.
inline PixelRect intersect(const PixelRect& a, const PixelRect& b) {
    const PixelRect r{std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
    return r.empty() ? PixelRect{} : r;
}

// The drawing verbs of the painter. Each one confines itself to the canvas's
// clip rectangle, which never reaches outside the image, and returns early
// when nothing of it is left there. Colours are 0xRRGGBB.
class Canvas {
public:
    Canvas(Image& image, const PixelRect& clip);

    const PixelRect& clip() const { return clip_; }
    // The same image, drawn only where `area` and this clip overlap.
    Canvas clipped(const PixelRect& area) const { return Canvas(*image_, intersect(clip_, area)); }

    void fill_rect(const PixelRect& rect, std::uint32_t colour);
    // Fills the part of a run of row y that lies inside the clip. Shapes
    // are painted run by run, most runs a few pixels long, so this is
    // inline and sets a single pixel without a loop.
    void fill_run(int y, PixelRun run, std::uint32_t colour) {
        if (y < clip_.y0 || y >= clip_.y1) return;
        run.x0 = std::max(run.x0, clip_.x0);
        run.x1 = std::min(run.x1, clip_.x1);
        if (run.x1 - run.x0 == 1) pixel(run.x0, y) = colour;
        else if (!run.empty()) std::fill_n(&pixel(run.x0, y), run.x1 - run.x0, colour);
    }
    // Draws a fill pattern over a run of row y; the pattern starts at the
    // figure's top-left corner, `origin`, so that it moves with the figure.
    void hatch_run(int y, PixelRun run, FillStyle style, const PixelRect& origin, std::uint32_t colour);
    void draw_line(const Stroke& stroke, std::uint32_t colour);
    // Lays `colour` over the pixels beneath in proportion to an 8-bit
    // coverage mask, `width` x `height`, whose top-left lands at (x, y).
    void blend(int x, int y, int width, int height, const std::uint8_t* coverage, std::uint32_t colour);

private:
    std::uint32_t& pixel(int x, int y) {
        return image_->pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image_->width) +
                              static_cast<std::size_t>(x)];
    }
    void plot(int x, int y, std::uint32_t colour);
    void trace(const Stroke& stroke, std::uint32_t colour);

    Image* image_;
    PixelRect clip_;
};

} // namespace guardianes
