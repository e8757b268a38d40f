// SPDX-License-Identifier: GPL-3.0-or-later
// The painter, pixel by pixel: small scenes made up here, painted into small
// images. The scene's background is #404040 throughout.

#include "paint/canvas.h"
#include "paint/painter.h"
#include "test_scenes.h"

#include <gtest/gtest.h>

#include <map>

using namespace guardianes;
using namespace guardianes::testing;

namespace {

constexpr std::uint32_t kBack = 0x404040;

// A made-up face whose every glyph is 2 x 2 pixels of the given coverage,
// its top two pixels above the baseline, one glyph every 3 pixels.
Typeface square_face(std::vector<std::uint8_t> coverage) {
    return Typeface("Test", {.ascent = 3, .descent = 1, .underline = {1, 1}, .strikeout = {-1, 1}}, false,
                    [coverage](unsigned char) {
                        return Glyph{.advance = 3, .left = 0, .top = 2, .width = 2, .height = 2, .coverage = coverage};
                    });
}

// Every font drawn as solid squares, so that a caption's pixels are known.
GlyphSource& squares() {
    static struct : GlyphSource {
        Typeface face = square_face({255, 255, 255, 255});
        const Typeface& typeface(const Font&) override { return face; }
    } source;
    return source;
}

// A made-up scene, `width` x `height` pixels, painted whole.
struct Picture {
    explicit Picture(std::vector<ControlRow> rows, int width = 100, int height = 100)
        : sim(std::vector<SceneDef>{{sized(small_table("T", std::move(rows)), width, height)}}) {
        repaint();
    }
    static SceneTable sized(SceneTable table, int width, int height) {
        table.window.client_width = width * kTwipsPerPixel;
        table.window.client_height = height * kTwipsPerPixel;
        return table;
    }
    Scene& scene() const { return *sim.scene("T"); }
    void repaint() { Painter(squares()).paint(scene(), image); }

    Simulation sim;
    Image image;
};

LabelProps filled(int x, int y, int w, int h, std::uint32_t colour) {
    return {.left = x * 15, .top = y * 15, .width = w * 15, .height = h * 15, .back_color = rgb(colour)};
}

LineProps segment(int x1, int y1, int x2, int y2, int width) {
    return {.x1 = x1 * 15,
            .y1 = y1 * 15,
            .x2 = x2 * 15,
            .y2 = y2 * 15,
            .border_color = rgb(0xFF0000),
            .border_width = width};
}

// A tiny image for the canvas's own tests, all one colour.
Image blank(int width, int height, std::uint32_t colour = 0) {
    Image image;
    image.resize(width, height);
    std::fill(image.pixels.begin(), image.pixels.end(), colour);
    return image;
}

// The scene's background, the greys of a sunken edge and three colours.
const std::map<std::uint32_t, char> kMarks{{kBack, ' '},    {0x808080, 's'}, {0xFFFFFF, 'w'}, {0xC0C0C0, 'l'},
                                           {0xFF0000, 'r'}, {0x00FF00, 'g'}, {0x0000FF, 'b'}};

// The image as rows of characters, one per pixel: '.' for black, else the
// character `marks` gives for the pixel's colour, '?' for any other.
std::vector<std::string> rows(const Image& image, const std::map<std::uint32_t, char>& marks = kMarks) {
    std::vector<std::string> out;
    for (int y = 0; y < image.height; ++y) {
        std::string row;
        for (int x = 0; x < image.width; ++x) {
            const auto mark = marks.find(image.at(x, y));
            row += image.at(x, y) == 0 ? '.' : mark == marks.end() ? '?' : mark->second;
        }
        out.push_back(row);
    }
    return out;
}

using Rows = std::vector<std::string>;

void expect_colour(const Image& image, std::uint32_t colour, std::initializer_list<std::pair<int, int>> points) {
    for (const auto& [x, y] : points) EXPECT_EQ(image.at(x, y), colour) << x << ", " << y;
}

} // namespace

// Each verb on a tiny image, clipped: a rectangle and a line whose last
// pixels lie inside the clip, then each kind of shape.
TEST(Canvas, EachVerbDrawsItsExactPixelsAndNothingOutsideTheClip) {
    RunCache runs;
    Image image = blank(7, 7);
    Canvas canvas(image, {1, 1, 6, 6});
    canvas.fill({-3, -3, 4, 4}, rgb(0xFF0000));
    canvas.line({0, 6, 5, 3, 1}, rgb(0x00FF00), runs);
    EXPECT_EQ(rows(image), (Rows{".......", ".rrr...", ".rrr...", ".rrr.g.", "...gg..", ".gg....", "......."}));

    // Each contour to its last row and column; the rectangle is cut off by the clip and the image.
    image = blank(23, 7);
    const ShapeProps ring{.back_style = BackStyle::Opaque, .back_color = rgb(0x0000FF), .border_color = rgb(0xFF0000)};
    canvas = Canvas(image, {0, 0, 22, 7});
    canvas.shape(ring, {{0, 0, 7, 7}, Contour::Ellipse}, runs);
    canvas.shape(ring, {{8, 0, 16, 6}, Contour::RoundedRectangle, 2}, runs);
    canvas.shape(ring, {{17, 1, 24, 9}, Contour::Rectangle}, runs);
    EXPECT_EQ(rows(image), (Rows{"..rrr....rrrrrr........", ".rbbbr..rbbbbbbr.rrrrr.", "rbbbbbr.rbbbbbbr.rbbbb.",
                                 "rbbbbbr.rbbbbbbr.rbbbb.", "rbbbbbr.rbbbbbbr.rbbbb.", ".rbbbr...rrrrrr..rbbbb.",
                                 "..rrr............rbbbb."}));
}

TEST(Canvas, TextBlendsEachGlyphsCoverageAndRulesItsBarsAcrossTheLine) {
    const Typeface face = square_face({255, 128, 0, 255}); // full, half, none, full
    Image image = blank(8, 5);
    Canvas(image, {0, 0, 7, 5}).text(1, 2, {"ab", 0, 6}, face, {.underline = true}, rgb(0xFFFFFF));
    EXPECT_EQ(rows(image, {{0xFFFFFF, 'W'}, {0x808080, 'h'}}),
              (Rows{".Wh.Wh..", "..W..W..", "........", ".WWWWWW.", "........"}));

    // A greyed caption's white copy lies under the grey: coverage mixes with what is beneath.
    image = blank(8, 5, 0x0000FF);
    Canvas(image, {0, 0, 8, 5}).text(0, 2, {"a", 0, 3}, face, {.strikethrough = true}, rgb(0x808080));
    EXPECT_EQ(rows(image, {{0x808080, 'g'}, {0x4040BF, 'm'}, {0x0000FF, 'b'}}),
              (Rows{"gmbbbbbb", "gggbbbbb", "bbbbbbbb", "bbbbbbbb", "bbbbbbbb"})); // the strikeout on row 1
}

TEST(Clipping, ControlsAreCutOffAtTheClientAreaOrTheRepaintedPartNotMovedOrScaled) {
    LabelProps left = filled(-5, 0, 10, 6, 0xFF0000);
    left.border_style = BorderStyle::FixedSingle;
    Picture p({label("left", left), label("right", filled(8, 2, 4, 2, 0x00FF00))}, 10, 6);
    EXPECT_EQ(rows(p.image),
              (Rows{"ssssw     ", "...lw     ", "rrrlw   gg", "rrrlw   gg", "llllw     ", "wwwww     "}));
    p.sim.runtime().resize(p.scene(), 14, 7);
    p.repaint();
    EXPECT_EQ(rows(p.image), (Rows{"ssssw         ", "...lw         ", "rrrlw   gggg  ", "rrrlw   gggg  ",
                                   "llllw         ", "wwwww         ", "              "}));

    // Repainting a part leaves the rest as it was.
    std::fill(p.image.pixels.begin(), p.image.pixels.end(), 0x0000FFu);
    Painter(squares()).paint(p.scene(), p.image, {3, 1, 10, 3});
    EXPECT_EQ(rows(p.image), (Rows{"bbbbbbbbbbbbbb", "bbblw     bbbb", "bbblw   ggbbbb", "bbbbbbbbbbbbbb",
                                   "bbbbbbbbbbbbbb", "bbbbbbbbbbbbbb", "bbbbbbbbbbbbbb"}));
}

// Inside its sunken edge (shadow and black along the top and left, white and
// light grey along the bottom and right, which own the corners where they
// meet), a disabled label's caption is grey over a white copy one pixel
// right and down.
TEST(LabelPainting, ADisabledCaptionIsGreyOverAWhiteCopyInsideTheSunkenEdge) {
    LabelProps sign = filled(0, 0, 8, 8, 0x0000FF);
    sign.caption = "a";
    sign.border_style = BorderStyle::FixedSingle;
    sign.enabled = false;
    const Picture p({label("sign", sign)}, 8, 8);
    EXPECT_EQ(rows(p.image),
              (Rows{"sssssssw", "s.....lw", "s.bbbblw", "s.ssbblw", "s.sswblw", "s.bwwblw", "sllllllw", "wwwwwwww"}));
}

// A line break starts a lower line, and each sequence of bytes that is not
// UTF-8 draws one glyph, as a character would: here é and a sequence cut
// short, then a continuation byte alone and a sequence cut short by the
// caption's end.
TEST(LabelPainting, ALineBreakStartsALowerLineAndEachBrokenSequenceDrawsOneGlyph) {
    LabelProps sign = filled(0, 0, 8, 8, 0x0000FF);
    sign.caption = "\xC3\xA9\xE2\x82\n\x80\xF0\x9F";
    sign.fore_color = rgb(0xFF0000);
    const Picture p({label("sign", sign)}, 8, 8);
    EXPECT_EQ(rows(p.image),
              (Rows{"bbbbbbbb", "rrbrrbbb", "rrbrrbbb", "bbbbbbbb", "bbbbbbbb", "rrbrrbbb", "rrbrrbbb", "bbbbbbbb"}));
}

// The first control listed is on top and a hidden one is left out; a label
// with no back colour shows a button face, a transparent one what is beneath.
TEST(DrawingOrder, EachControlShowsWhatTheOnesListedBeforeItLeaveUncovered) {
    LabelProps hidden = filled(0, 0, 16, 4, 0xFF0000);
    hidden.visible = false;
    const Picture p({label("hidden", hidden),
                     label("glass", {.width = 60, .height = 60, .caption = "a", .back_style = BackStyle::Transparent}),
                     label("small", filled(5, 1, 2, 2, 0xFF0000)), label("large", filled(4, 0, 4, 4, 0x0000FF)),
                     label("large2", filled(12, 0, 4, 4, 0x0000FF)), label("small2", filled(13, 1, 2, 2, 0xFF0000)),
                     label("plain", {.left = 120, .width = 60, .height = 60}),
                     shape("green", {.width = 60,
                                     .height = 60,
                                     .back_style = BackStyle::Opaque,
                                     .back_color = rgb(0x00FF00),
                                     .border_color = rgb(0x00FF00)})},
                    16, 4);
    EXPECT_EQ(rows(p.image), (Rows{"ggggbbbbllllbbbb", "..ggbrrbllllbbbb", "..ggbrrbllllbbbb", "ggggbbbbllllbbbb"}));
}

// A circle takes the box's shorter side, centred along the longer, with its
// outline inside; its hatch lies over the fill and is clipped to it.
TEST(ShapePainting, ACircleIsCentredInItsBoxWithItsOutlineAndHatchInside) {
    const auto circle = [](int left, int top, int width, int height, std::uint32_t back) {
        ShapeProps props{.left = left, .top = top, .width = width, .height = height, .shape = ShapeKind::Circle};
        props.back_color = rgb(back);
        props.back_style = BackStyle::Opaque;
        return props;
    };
    // 1335 twips are 89 pixels; the top is 120 twips, 8 pixels, below the box's, whose corner is outside.
    const Picture ball({shape("ball", circle(150, 150, 1335, 1575, 0xFF0000))}, 120, 120);
    expect_colour(ball.image, kBack, {{54, 17}, {54, 107}, {9, 62}, {99, 62}, {12, 20}});
    expect_colour(ball.image, 0x000000, {{54, 18}, {54, 106}, {10, 62}, {98, 62}});
    expect_colour(ball.image, 0xFF0000, {{54, 19}});
    // Lines down and across, between them, and their course outside the circle.
    ShapeProps net = circle(0, 0, 600, 600, 0xFFFFFF);
    net.fill_style = FillStyle::Cross;
    net.fill_color = rgb(0xFF0000);
    const Picture hatched({shape("net", net)});
    expect_colour(hatched.image, 0xFF0000, {{20, 21}, {21, 20}});
    expect_colour(hatched.image, 0xFFFFFF, {{21, 21}});
    expect_colour(hatched.image, kBack, {{4, 1}, {1, 4}});
    // The hatch is laid from the shape's corner wherever a repaint starts.
    Image tiles = blank(100, 100);
    for (int y = 0; y < 100; y += 2)
        for (int x = 0; x < 100; x += 3) Painter(squares()).paint(hatched.scene(), tiles, {x, y, x + 3, y + 2});
    EXPECT_TRUE(tiles.pixels == hatched.image.pixels);
}

// The ends reach past the end points, and are round: no square corners.
TEST(LinePainting, WiderLinesAreCentredOnTheSegmentWithRoundEnds) {
    const Picture p({line("three", segment(10, 30, 20, 30, 3)), line("seven", segment(10, 60, 30, 60, 7))});
    expect_colour(p.image, 0xFF0000, {{15, 29}, {15, 31}, {9, 30}, {21, 30}, {7, 60}, {10, 57}});
    expect_colour(p.image, kBack, {{15, 28}, {15, 32}, {8, 30}, {22, 30}, {7, 57}, {33, 63}});
}

// A face of capitals draws each small letter as its capital, accented ones
// too; a letter without a capital of its own stays as it is. Here each
// glyph's advance is the character it was drawn for.
TEST(Typeface, AFaceOfCapitalsDrawsAccentedSmallLettersAsTheirCapitals) {
    const auto drawn_for = [](char32_t code) { return Glyph{.advance = static_cast<int>(code), .coverage = {}}; };
    const Typeface capitals("Test", {}, true, drawn_for, [](char32_t code) { return code != U'Ÿ'; });
    const std::pair<char32_t, char32_t> letters[] = {
        {U'm', U'M'}, {U'é', U'É'}, {U'ç', U'Ç'}, {U'ñ', U'Ñ'}, {U'à', U'À'}, {U'þ', U'Þ'}, {U'œ', U'Œ'},
        {U'ÿ', U'Ÿ'}, {U'ā', U'Ā'}, {U'ĺ', U'Ĺ'}, {U'ž', U'Ž'}, {U'ı', U'I'}, {U'ß', U'ß'}, {U'÷', U'÷'},
        {U'É', U'É'}, {U'Œ', U'Œ'}, {U'@', U'@'}, {U'{', U'{'}, {U'µ', U'µ'}, {U'ĸ', U'ĸ'}};
    for (const auto& [letter, capital] : letters) {
        EXPECT_EQ(capitals.glyph(letter).advance, static_cast<int>(capital)) << static_cast<int>(letter);
        EXPECT_EQ(&capitals.glyph(letter), &capitals.glyph(capital)) << static_cast<int>(letter);
    }
    EXPECT_EQ(capitals.width("œuvre"), capitals.width("ŒUVRE"));
    // Whether it has a letter is whether it has the capital it draws.
    EXPECT_TRUE(capitals.has(U'é'));
    EXPECT_FALSE(capitals.has(U'ÿ'));
    EXPECT_FALSE(capitals.has(Typeface::kNoCharacter));

    const Typeface plain("Test", {}, false, drawn_for);
    for (const char32_t c : {U'é', U'&', U'…', U'\0', U'😀'}) EXPECT_EQ(plain.glyph(c).advance, static_cast<int>(c));
    EXPECT_TRUE(plain.has(U'ÿ'));
}
