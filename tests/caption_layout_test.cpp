// SPDX-License-Identifier: GPL-3.0-or-later
// Laying a caption out in lines, with every character 1 pixel wide, so
// that widths are simply lengths.

#include "paint/caption_layout.h"
#include "paint/typeface.h"
#include "runtime/utf8.h"

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

// Captions are UTF-8. Here every character, of one byte or four, is 1 pixel
// wide, in a face that measures them as the painter does.
namespace {

const Typeface& one_pixel_a_character() {
    static const Typeface face("Test", {}, false, [](char32_t) { return Glyph{.advance = 1, .coverage = {}}; });
    return face;
}

// The same, but for U+FFFD, which takes no room: the pieces of a character
// cut apart are narrower than the character.
const Typeface& pieces_nothing_wide() {
    static const Typeface face("Test", {}, false, [](char32_t code) {
        return Glyph{.advance = code == kReplacementCharacter ? 0 : 1, .coverage = {}};
    });
    return face;
}

struct Case {
    std::string caption;
    int width;
    Lines lines;
};

void expect_lines_in_characters(const std::vector<Case>& cases, const Typeface& face = one_pixel_a_character()) {
    for (const Case& c : cases) {
        Lines out;
        for (const CaptionLine& line : layout_caption(c.caption, c.width, Alignment::Left, face))
            out.push_back(line.text);
        EXPECT_EQ(out, c.lines) << '"' << c.caption << "\" in " << c.width;
    }
}

} // namespace

TEST(CaptionLayoutInCharacters, AccentedLettersFillALineAndAWordTooWideBreaksBetweenThem) {
    expect_lines_in_characters({
        // Exactly as wide as the area, counted in characters, not bytes; one more does not fit.
        {"¡Señal  única!", 14, {"¡Señal  única!"}},
        {"¡Señal  única!", 13, {"¡Señal", "única!"}},
        {"Sí  añadió", 10, {"Sí  añadió"}},
        // A word too wide breaks after a character of two bytes, of three, of four, never inside one.
        {"añoñé", 2, {"añ", "oñ", "é"}},
        {"a…b…", 2, {"a…", "b…"}},
        {"x😀😀y", 3, {"x😀😀", "y"}},
        // However narrow the area, a line takes one whole character.
        {"éß", 0, {"é", "ß"}},
    });
    // Were a character's bytes parted, their pieces would fit where the character does not.
    expect_lines_in_characters({{"añ", 1, {"a", "ñ"}}, {"a…", 1, {"a", "…"}}}, pieces_nothing_wide());
}

// A line break ends the line; between two breaks the runs of spaces keep
// their rules, as if each part were a caption of its own.
TEST(CaptionLayoutInCharacters, ALineBreakEndsTheLineWhereItStands) {
    expect_lines_in_characters({
        {"Bomberos\n123", 20, {"Bomberos", "123"}},
        {"ab\r\ncd", 20, {"ab", "cd"}},
        {"ab\n\ncd\n", 20, {"ab", "", "cd", ""}},
        {"\nab", 20, {"", "ab"}},
        // A line exactly full before the break, and the run a break follows,
        // dropped when it does not fit, make no empty line of their own.
        {"abcd\nef", 4, {"abcd", "ef"}},
        {"ab      \ncd", 4, {"ab", "cd"}},
        {"ab  \ncd", 4, {"ab  ", "cd"}},
        // After a break, a run of spaces whose word does not fit leaves its line empty.
        {"ab\n      Avanzar", 10, {"ab", "", "Avanzar"}},
        {"ab\n   cd", 10, {"ab", "   cd"}},
        // A word too wide still breaks, and runs that fit are kept on either side of a break.
        {"añoñé\nx", 2, {"añ", "oñ", "é", "x"}},
        {"ab   \n   cd", 20, {"ab   ", "   cd"}},
    });
}

TEST(CaptionLayoutInCharacters, EachLineOfABrokenCaptionIsPlacedByTheAlignment) {
    const auto xs = [](Alignment alignment) {
        std::vector<int> out;
        for (const CaptionLine& line : layout_caption("ñandú\n¿y?\n", 9, alignment, one_pixel_a_character()))
            out.push_back(line.x);
        return out;
    };
    EXPECT_EQ(xs(Alignment::Left), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(xs(Alignment::Right), (std::vector<int>{4, 6, 9}));
    EXPECT_EQ(xs(Alignment::Centre), (std::vector<int>{2, 3, 4}));
}

// Bytes that are not UTF-8 read as one replacement character for each
// broken sequence: laid out whole, never cut, never read past the end.
TEST(CaptionLayoutInCharacters, BrokenUtf8IsLaidOutAsReplacementCharacters) {
    expect_lines_in_characters({
        {"ab\xE2\x82", 2, {"ab", "\xE2\x82"}},          // a sequence cut short at the end
        {"\x80\xBFx", 1, {"\x80", "\xBF", "x"}},        // continuation bytes alone
        {"a\xF0\x9F\x98 b", 3, {"a\xF0\x9F\x98", "b"}}, // cut short before a space
        {"\xC3", 0, {"\xC3"}},
    });
    EXPECT_EQ(one_pixel_a_character().width("\xE2\x82"), 1);
    // Text ending inside a sequence is read no further: not the rest of the
    // character in the caption around it, nor memory after the last byte.
    EXPECT_EQ(pieces_nothing_wide().width(std::string_view("añ").substr(0, 2)), 1);
    const std::vector<char> cut{'a', '\xF0', '\x9F'};
    EXPECT_EQ(pieces_nothing_wide().width({cut.data(), cut.size()}), 1);
    // Overlong forms, a surrogate and a code beyond U+10FFFF are broken too, byte by byte.
    EXPECT_EQ(one_pixel_a_character().width("\xC0\xAF\xE0\x80\xAF\xF0\x80\x80\xAF"), 9);
    EXPECT_EQ(one_pixel_a_character().width("\xED\xA0\x80\xF4\x90\x80\x80"), 7);
}
