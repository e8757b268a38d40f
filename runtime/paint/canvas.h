#pragma once

#include "runtime/paint/figure.h"
#include "runtime/paint/image.h"

#include <cstdint>

namespace guardianes {

PixelRect intersect(const PixelRect& a, const PixelRect& b);

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
    void fill_figure(const Figure& figure, std::uint32_t colour);
    void hatch_figure(const Figure& figure, FillStyle style, std::uint32_t colour);
    // An outline `width` pixels wide, inside the figure's box.
    void outline_figure(const Figure& figure, int width, std::uint32_t colour);
    void draw_line(const Stroke& stroke, std::uint32_t colour);
    // Lays `colour` over the pixels beneath in proportion to an 8-bit
    // coverage mask, `width` x `height`, whose top-left lands at (x, y).
    void blend(int x, int y, int width, int height, const std::uint8_t* coverage, std::uint32_t colour);

private:
    std::uint32_t& pixel(int x, int y);
    void plot(int x, int y, std::uint32_t colour);
    void trace(const Stroke& stroke, std::uint32_t colour);

    Image* image_;
    PixelRect clip_;
};

} // namespace guardianes
