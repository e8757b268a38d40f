// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paint/caption_layout.h"
#include "paint/typeface.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace guardianes {

// The lines of every caption the painter has laid out, and the typeface
// they are drawn in, kept until the label's caption, width, alignment or
// font changes. A repaint then finds its text ready: no font lookup, no
// layout and no allocation, however often a tick repaints the label.
class CaptionCache {
public:
    struct Text {
        const Typeface* typeface = nullptr;
        std::vector<CaptionLine> lines;
    };

    explicit CaptionCache(GlyphSource& fonts) : fonts_(&fonts) {}

    // The label's text laid out in a text area `area_width` pixels wide.
    const Text& text(const LabelProps& label, int area_width);

private:
    // What a layout depends on, to tell when it is out of date.
    struct Entry {
        std::string caption;
        int area_width = 0;
        Alignment alignment = Alignment::Left;
        Font font;
        Text text;
    };

    GlyphSource* fonts_;
    // Keyed by the label's properties, which stay in one place for the
    // label's life; a key reused by a later label is caught by the check.
    std::unordered_map<const LabelProps*, Entry> entries_;
};

} // namespace guardianes
