// Laying a caption out in lines, with every character 1 pixel wide, so
// that widths are simply lengths.

#include "runtime/caption_layout.h"

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

TEST(CaptionLayout, WordsFillALineAndKeepTheirSpacesWhole) {
    EXPECT_EQ(lines("ab   cd", 10), (Lines{"ab   cd"}));
    EXPECT_EQ(lines("ab   cd ef", 8), (Lines{"ab   cd", "ef"}));
    EXPECT_EQ(lines("", 8), Lines{});
}

TEST(CaptionLayout, ARunThatDoesNotFitOrWhoseWordDoesNotEndsTheLineAndIsDropped) {
    EXPECT_EQ(lines("abc      def", 8), (Lines{"abc", "def"})); // the run itself does not fit
    EXPECT_EQ(lines("abc  defgh", 8), (Lines{"abc", "defgh"})); // the run fits, its word does not
}

TEST(CaptionLayout, ALeadingRunStaysOnlyWhenTheFirstWordFitsAfterIt) {
    EXPECT_EQ(lines("   ab", 8), (Lines{"   ab"}));
    // 30 spaces, a word, 15 spaces and a number, in an area narrower than the spaces:
    // the word starts a lower line, the number another.
    const std::string card = std::string(30, ' ') + "Policia" + std::string(15, ' ') + "110";
    EXPECT_EQ(lines(card, 20), (Lines{"", "Policia", "110"}));
    EXPECT_EQ(lines("      Avanzar", 10), (Lines{"", "Avanzar"}));
}

TEST(CaptionLayout, LettersSeparatedByLongRunsStandOneAboveAnother) {
    const std::string bottle =
        std::string(12, ' ') + "A" + std::string(7, ' ') + "G" + std::string(6, ' ') + "U" + std::string(6, ' ') + "A";
    EXPECT_EQ(lines(bottle, 5), (Lines{"", "A", "G", "U", "A"}));
}

TEST(CaptionLayout, AWordWiderThanTheAreaIsBrokenBetweenCharacters) {
    EXPECT_EQ(lines("abcdefghij", 4), (Lines{"abcd", "efgh", "ij"}));
    EXPECT_EQ(lines("x abcdefgh yz", 4), (Lines{"x", "abcd", "efgh", "yz"}));
    EXPECT_EQ(lines("abc", 0), (Lines{"a", "b", "c"})); // every line takes a character at least
}

TEST(CaptionLayout, TrailingSpacesAreKeptWhenTheyFitAndDroppedWhenNot) {
    EXPECT_EQ(lines("Draw  Game   ", 20), (Lines{"Draw  Game   "}));
    EXPECT_EQ(lines("Draw  Game   ", 11), (Lines{"Draw  Game"}));
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
