// SPDX-License-Identifier: GPL-3.0-or-later
// Laying a caption out in lines, with every character 1 pixel wide, so
// that widths are simply lengths.

#include "paint/caption_layout.h"

#include <gtest/gtest.h>

using namespace guardianes;

namespace {

struct FixedWidth final : TextMeasure {
    int width(std::string_view text) const override { return static_cast<int>(text.size()); }
};

std::vector<std::string> lines(std::string_view caption, int width) {
    std::vector<std::string> out;
    for (const CaptionLine& line : layout_caption(caption, width, Alignment::Left, FixedWidth{}))
        out.push_back(line.text);
    return out;
}

using Lines = std::vector<std::string>;

} // namespace

TEST(CaptionLayout, BreaksIntoLinesAtRunsOfSpacesAndInsideWordsTooWide) {
    const struct {
        std::string caption;
        int width;
        Lines lines;
    } cases[] = {
        // Words fill a line and keep their spaces whole.
        {"ab   cd ef", 8, {"ab   cd", "ef"}},
        // A run that does not fit, or whose word does not, ends the line and is dropped.
        {"abc      def", 8, {"abc", "def"}},
        {"abc  defgh", 8, {"abc", "defgh"}},
        // A leading run stays only when the first word fits after it: in an
        // area narrower than the spaces the word starts a lower line.
        {"   ab", 8, {"   ab"}},
        {"      Avanzar", 10, {"", "Avanzar"}},
        // A word wider than the area is broken between characters, at least one a line.
        {"x abcdefgh yz", 4, {"x", "abcd", "efgh", "yz"}},
        {"abc", 0, {"a", "b", "c"}},
        // Trailing spaces are kept when they fit and dropped when not.
        {"Draw  Game   ", 20, {"Draw  Game   "}},
        {"Draw  Game   ", 11, {"Draw  Game"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lines(c.caption, c.width), c.lines) << '"' << c.caption << "\" in " << c.width;
}

TEST(CaptionLayout, EachLineIsPlacedByTheAlignment) {
    const auto centred = layout_caption("ab cdef", 10, Alignment::Centre, FixedWidth{});
    ASSERT_EQ(centred.size(), 1u);
    EXPECT_EQ(centred[0].x, 1);
    const auto right = layout_caption("ab cdef", 5, Alignment::Right, FixedWidth{});
    ASSERT_EQ(right.size(), 2u);
    EXPECT_EQ(right[0].x, 3);
    EXPECT_EQ(right[1].x, 1);
}
