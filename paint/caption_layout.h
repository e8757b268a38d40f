// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/controls.h"

#include <string>
#include <string_view>
#include <vector>

namespace guardianes {

// Measures UTF-8 text in pixels in one font.
class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    virtual int width(std::string_view text) const = 0;
};

struct CaptionLine {
    std::string text;
    int x = 0;     // from the left of the text area, after alignment
    int width = 0; // as measured
};

// Breaks a UTF-8 caption into the lines a label shows in a text area
// `area_width` pixels wide. A line break, '\n' or "\r\n", ends a line, and
// the text between two breaks is laid out as a caption of its own, at least
// one line, empty if it is. Words are separated by runs of spaces; a line
// takes as many words as fit, keeping the runs between them whole. A run
// that does not fit, or whose next word does not, ends the line and is
// dropped. A leading run stays on the first line only if the first word
// fits after it; else the first line is left empty. A word wider than the
// area is broken between characters, never inside one. Lines come top to
// bottom, each placed by `alignment`.
std::vector<CaptionLine> layout_caption(std::string_view caption, int area_width, Alignment alignment,
                                        const TextMeasure& measure);

} // namespace guardianes
