// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The software painter: what the player sees of a scene, as pixels. The
// desktop window and the simulator's pictures both come from here, so the
// same scene always gives the same pixels.

#include "paint/caption_cache.h"
#include "paint/caption_layout.h"
#include "paint/typeface.h"
// The desktop's glyph source, which most painters are made with.
#include "paint/fonts.h"
#include "paint/image.h"
#include "paint/png.h"
#include "paint/run_cache.h"
#include "runtime/scene.h"

#include <vector>

namespace guardianes {

class Canvas;

// Where a label's caption goes: its rectangle in client pixels less the
// sunken edge, if it has one. There is no inner margin.
PixelRect text_area(const LabelProps& label);

class Painter {
public:
    explicit Painter(GlyphSource& fonts) : fonts_(&fonts), captions_(fonts) {}

    // Paints the scene's client area at its current client size into
    // `image`, resizing it to fit, and makes every caption of the scene
    // ready for later repaints.
    void paint(const Scene& scene, Image& image);
    // Repaints only the pixels of `area` (clipped to the image) and leaves
    // the rest untouched, with the same pixels a whole repaint would give.
    void paint(const Scene& scene, Image& image, PixelRect area);

    // The caption's lines as a label draws them, in its own font.
    std::vector<CaptionLine> caption_lines(const LabelProps& label);

    // How many captions and rows of figures and strokes it keeps for later
    // repaints. They are kept by the label's place in its scene, and by a
    // figure's or stroke's kind and size, so a new game adds none.
    std::size_t kept() const { return captions_.size() + runs_.size(); }

private:
    void paint_label(Canvas& canvas, CaptionCache::Place place, const LabelProps& label, const PixelRect& rect);

    GlyphSource* fonts_;
    CaptionCache captions_;
    RunCache runs_;
};

} // namespace guardianes
