// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paint/caption_layout.h"
#include "paint/figure.h"
#include "paint/image.h"
#include "paint/run_cache.h"
#include "paint/typeface.h"
#include "runtime/colour.h"

#include <algorithm>
#include <cstdint>

namespace guardianes {

// The drawing verbs of the painter. Each one works the same way: it places
// what it draws in client pixels, intersects that with the canvas's clip
// rectangle, which never reaches outside the image, and returns at once
// when nothing is left; only then does it touch pixels, and only inside.
class Canvas {
public:
    Canvas(Image& image, const PixelRect& clip);

    const PixelRect& clip() const { return clip_; }
    // The same image, drawn only where `area` and this clip overlap.
    Canvas clipped(const PixelRect& area) const { return Canvas(*image_, clip_.intersected(area)); }

    void fill(const PixelRect& rect, Colour colour);
    // A line one pixel wide follows the pixels of the segment one by one; a
    // wider one covers the rows `runs` keeps for strokes of its kind.
    void line(const Stroke& stroke, Colour colour, RunCache& runs);
    // A shape's opaque fill, its pattern over that, then its outline, which
    // is the figure less the figure shrunk by the outline's width.
    void shape(const ShapeProps& shape, const Figure& figure, RunCache& runs);
    // One line of a caption, its pen starting at x on the baseline, with the
    // font's underline and strikethrough across the line's width.
    void text(int x, int baseline, const CaptionLine& line, const Typeface& typeface, const Font& font, Colour colour);

private:
    std::uint32_t& pixel(int x, int y) {
        return image_->pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image_->width) +
                              static_cast<std::size_t>(x)];
    }
    // Fills the part of a run of row y that lies inside the clip. Shapes
    // are painted run by run, most runs a few pixels long, so this is
    // inline and sets a single pixel without a loop.
    void fill_run(int y, PixelRun run, std::uint32_t colour) {
        if (y < clip_.y0 || y >= clip_.y1) return;
        run.x0 = std::max(run.x0, clip_.x0);
        run.x1 = std::min(run.x1, clip_.x1);
        if (run.x1 - run.x0 == 1)
            pixel(run.x0, y) = colour;
        else if (!run.empty())
            std::fill_n(&pixel(run.x0, y), run.x1 - run.x0, colour);
    }
    void fill_pixels(const PixelRect& rect, std::uint32_t colour);
    // The pattern starts at the figure's top-left corner, `origin`, so that
    // it moves with the figure.
    void hatch_run(int y, PixelRun run, FillStyle style, const PixelRect& origin, std::uint32_t colour);
    void trace(const Stroke& stroke, std::uint32_t colour);
    // Lays `colour` over the pixels beneath in proportion to the glyph's
    // coverage, its top-left corner at (x, y).
    void blend(int x, int y, const Glyph& glyph, std::uint32_t colour);

    Image* image_;
    PixelRect clip_;
};

} // namespace guardianes
