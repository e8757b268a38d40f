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

FontLibrary& fonts() {
    static FontLibrary library;
    return library;
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
    void repaint() { Painter(fonts()).paint(scene(), image); }
    std::uint32_t at(int x, int y) const { return image.at(x, y); }

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

// The image as rows of characters, one per pixel: '.' for 0, else the
// character `marks` gives for the pixel's colour, '?' for any other.
std::vector<std::string> rows(const Image& image, const std::map<std::uint32_t, char>& marks) {
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

} // namespace

// Each verb on a 7 x 7 image clipped to its middle 5 x 5 pixels, or less.
TEST(Canvas, EachVerbDrawsItsExactPixelsAndNothingOutsideTheClip) {
    RunCache runs;
    Image image = blank(7, 7);
    Canvas canvas(image, {1, 1, 6, 6});
    canvas.fill({-3, -3, 4, 4}, rgb(0xFF0000));
    canvas.line({0, 6, 4, 2, 1}, rgb(0x00FF00), runs);
    EXPECT_EQ(rows(image, {{0xFF0000, 'r'}, {0x00FF00, 'g'}}),
              (Rows{".......", ".rrr...", ".rrrg..", ".rrg...", "..g....", ".g.....", "......."}));

    image = blank(7, 7);
    Canvas(image, {1, 1, 6, 6}).line({3, 0, 3, 6, 3}, rgb(0x00FF00), runs);
    EXPECT_EQ(rows(image, {{0x00FF00, 'g'}}),
              (Rows{".......", "..ggg..", "..ggg..", "..ggg..", "..ggg..", "..ggg..", "......."}));

    image = blank(7, 7);
    const ShapeProps ring{.back_style = BackStyle::Opaque, .back_color = rgb(0x0000FF), .border_color = rgb(0xFF0000)};
    Canvas(image, {0, 0, 7, 4}).shape(ring, {{1, 1, 6, 6}, Contour::Rectangle}, runs);
    EXPECT_EQ(rows(image, {{0xFF0000, 'r'}, {0x0000FF, 'b'}}),
              (Rows{".......", ".rrrrr.", ".rbbbr.", ".rbbbr.", ".......", ".......", "......."}));

    // Nothing at all where the clip is empty or the figure lies outside it.
    image = blank(7, 7);
    Canvas(image, {3, 3, 3, 7}).fill({0, 0, 7, 7}, rgb(0xFF0000));
    Canvas(image, {0, 0, 7, 7}).shape(ring, {{8, 8, 12, 12}, Contour::Ellipse}, runs);
    Canvas(image, {0, 0, 7, 7}).line({-6, -6, -3, -3, 3}, rgb(0xFF0000), runs);
    EXPECT_EQ(std::count(image.pixels.begin(), image.pixels.end(), 0u), 49);
}

TEST(Canvas, TextBlendsEachGlyphsCoverageAndRulesItsBarsAcrossTheLine) {
    // A made-up face whose every glyph is 2 x 2 pixels: full, half, none, full.
    const Typeface face(
        "Test", {.ascent = 3, .descent = 1, .underline = {1, 1}, .strikeout = {-1, 1}}, false, [](unsigned char) {
            return Glyph{.advance = 3, .left = 0, .top = 2, .width = 2, .height = 2, .coverage = {255, 128, 0, 255}};
        });
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

TEST(LabelPainting, TheSunkenEdgeIsTwoPixelsOfFourGreys) {
    LabelProps red = filled(2, 2, 10, 10, 0xFF0000);
    red.border_style = BorderStyle::FixedSingle;
    const Picture p({label("edge", red)});
    EXPECT_EQ(p.at(2, 5), 0x808080u); // outer top-left rows: shadow
    EXPECT_EQ(p.at(5, 2), 0x808080u);
    EXPECT_EQ(p.at(3, 5), 0x000000u); // inner top-left rows: black
    EXPECT_EQ(p.at(5, 3), 0x000000u);
    EXPECT_EQ(p.at(11, 5), 0xFFFFFFu); // outer bottom-right rows: white
    EXPECT_EQ(p.at(5, 11), 0xFFFFFFu);
    EXPECT_EQ(p.at(10, 5), 0xC0C0C0u); // inner bottom-right rows: light grey
    EXPECT_EQ(p.at(5, 10), 0xC0C0C0u);
    EXPECT_EQ(p.at(4, 4), 0xFF0000u);
    EXPECT_EQ(p.at(9, 9), 0xFF0000u);
    EXPECT_EQ(p.at(12, 12), kBack);
}

TEST(LabelPainting, WithoutBackColorAButtonFaceShowsAndATransparentLabelShowsWhatIsBeneath) {
    const Picture p({label("glass", {.width = 600,
                                     .height = 600,
                                     .caption = "X",
                                     .back_style = BackStyle::Transparent,
                                     .font = {.size = 24, .bold = true}}),
                     shape("green", {.width = 600,
                                     .height = 600,
                                     .back_style = BackStyle::Opaque,
                                     .back_color = rgb(0x00FF00),
                                     .border_color = rgb(0x00FF00)}),
                     label("plain", {.left = 900, .width = 300, .height = 300})});
    EXPECT_EQ(p.at(39, 39), 0x00FF00u);
    int caption = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) caption += p.at(x, y) == 0x000000u;
    EXPECT_GT(caption, 20);
    EXPECT_EQ(p.at(65, 5), 0xC0C0C0u);
}

TEST(LabelPainting, ADisabledCaptionIsGreyOverAWhiteCopyOnePixelRightAndDown) {
    LabelProps sign = filled(0, 0, 80, 40, 0x0000FF);
    sign.caption = "HI";
    sign.border_style = BorderStyle::FixedSingle;
    sign.font = {.size = 24, .bold = true};
    Picture p({label("sign", sign)});
    const Image enabled = p.image;
    p.scene().label("sign").set_enabled(false);
    p.repaint();
    int grey = 0;
    int white = 0;
    for (int y = 3; y < 38; ++y) {
        for (int x = 3; x < 78; ++x) {
            EXPECT_NE(p.at(x, y), 0x000000u);
            if (enabled.at(x, y) == 0x000000u) {
                EXPECT_EQ(p.at(x, y), 0x808080u);
                ++grey;
            } else if (enabled.at(x, y) == 0x0000FFu && enabled.at(x - 1, y - 1) == 0x000000u) {
                EXPECT_EQ(p.at(x, y), 0xFFFFFFu);
                ++white;
            }
        }
    }
    EXPECT_GT(grey, 50);
    EXPECT_GT(white, 10);
    EXPECT_EQ(p.at(0, 0), 0x808080u); // the edge stays
    EXPECT_EQ(p.at(1, 1), 0x000000u);
}

TEST(DrawingOrder, TheFirstControlListedIsOnTopAndAHiddenOneIsLeftOut) {
    Picture p({label("small", filled(5, 5, 4, 4, 0xFF0000)), label("large", filled(0, 0, 20, 20, 0x0000FF))});
    EXPECT_EQ(p.at(6, 6), 0xFF0000u);
    EXPECT_EQ(p.at(12, 12), 0x0000FFu);
    p.scene().label("small").set_visible(false);
    p.repaint();
    EXPECT_EQ(p.at(6, 6), 0x0000FFu);

    const Picture reversed(
        {label("large", filled(0, 0, 20, 20, 0x0000FF)), label("small", filled(5, 5, 4, 4, 0xFF0000))});
    EXPECT_EQ(reversed.at(6, 6), 0x0000FFu);
}

TEST(Clipping, ControlsReachingPastTheClientAreaAreCutOffNotMoved) {
    LabelProps left = filled(-5, 0, 10, 10, 0xFF0000);
    left.border_style = BorderStyle::FixedSingle;
    const Picture p({label("left", left), label("right", filled(95, 20, 10, 10, 0x00FF00))});
    EXPECT_EQ(p.image.width, 100);
    EXPECT_EQ(p.at(0, 5), 0xFF0000u);
    EXPECT_EQ(p.at(2, 5), 0xFF0000u);
    EXPECT_EQ(p.at(3, 5), 0xC0C0C0u); // the right side of its edge, where it belongs
    EXPECT_EQ(p.at(4, 5), 0xFFFFFFu);
    EXPECT_EQ(p.at(5, 5), kBack);
    EXPECT_EQ(p.at(94, 25), kBack);
    EXPECT_EQ(p.at(99, 25), 0x00FF00u);
}

TEST(Clipping, EnlargingTheWindowShowsBackColorAndWhatLayBeyondUnscaled) {
    Picture p({label("beyond", filled(110, 5, 10, 10, 0x00FF00))});
    p.sim.runtime().resize(p.scene(), 150, 120);
    p.repaint();
    EXPECT_EQ(p.image.width, 150);
    EXPECT_EQ(p.image.height, 120);
    EXPECT_EQ(p.at(109, 8), kBack);
    EXPECT_EQ(p.at(110, 8), 0x00FF00u);
    EXPECT_EQ(p.at(119, 14), 0x00FF00u);
    EXPECT_EQ(p.at(120, 8), kBack);
    EXPECT_EQ(p.at(149, 119), kBack);
}

TEST(ShapePainting, ACircleTakesTheShorterSideCentredAlongTheLongerWithItsOutlineInside) {
    const Picture p({shape("ball", {.left = 150,
                                    .top = 150,
                                    .width = 1335,
                                    .height = 1575,
                                    .shape = ShapeKind::Circle,
                                    .back_style = BackStyle::Opaque,
                                    .back_color = rgb(0xFF0000)})},
                    120, 120);
    // 1335 twips are 89 pixels; the top is 120 twips, 8 pixels, below the box's.
    EXPECT_EQ(p.at(54, 17), kBack);
    EXPECT_EQ(p.at(54, 18), 0x000000u);
    EXPECT_EQ(p.at(54, 19), 0xFF0000u);
    EXPECT_EQ(p.at(54, 106), 0x000000u);
    EXPECT_EQ(p.at(54, 107), kBack);
    EXPECT_EQ(p.at(9, 62), kBack);
    EXPECT_EQ(p.at(10, 62), 0x000000u);
    EXPECT_EQ(p.at(98, 62), 0x000000u);
    EXPECT_EQ(p.at(99, 62), kBack);
    EXPECT_EQ(p.at(12, 20), kBack); // the box's corner is outside the figure
}

TEST(ShapePainting, TheHatchIsDrawnOverTheFillAndClippedToTheFigure) {
    const Picture p({shape("net", {.width = 600,
                                   .height = 600,
                                   .shape = ShapeKind::Circle,
                                   .back_style = BackStyle::Opaque,
                                   .back_color = rgb(0xFFFFFF),
                                   .fill_style = FillStyle::Cross,
                                   .fill_color = rgb(0xFF0000)})});
    EXPECT_EQ(p.at(20, 21), 0xFF0000u); // on a vertical line
    EXPECT_EQ(p.at(21, 20), 0xFF0000u); // on a horizontal line
    EXPECT_EQ(p.at(21, 21), 0xFFFFFFu); // between them
    EXPECT_EQ(p.at(4, 1), kBack);       // a line's course outside the circle
    EXPECT_EQ(p.at(1, 4), kBack);
}

TEST(LinePainting, WiderLinesAreCentredOnTheSegmentWithRoundEnds) {
    const Picture p({line("three", segment(10, 30, 20, 30, 3)), line("seven", segment(10, 60, 30, 60, 7))});
    EXPECT_EQ(p.at(15, 28), kBack);
    EXPECT_EQ(p.at(15, 29), 0xFF0000u);
    EXPECT_EQ(p.at(15, 31), 0xFF0000u);
    EXPECT_EQ(p.at(15, 32), kBack);
    EXPECT_EQ(p.at(9, 30), 0xFF0000u); // the ends reach past the end points
    EXPECT_EQ(p.at(21, 30), 0xFF0000u);
    EXPECT_EQ(p.at(8, 30), kBack);
    EXPECT_EQ(p.at(22, 30), kBack);
    EXPECT_EQ(p.at(7, 60), 0xFF0000u); // and are round: no square corners
    EXPECT_EQ(p.at(10, 57), 0xFF0000u);
    EXPECT_EQ(p.at(7, 57), kBack);
    EXPECT_EQ(p.at(33, 63), kBack);
}

TEST(Repaint, APartialRepaintTouchesOnlyItsAreaAndMatchesAWholeOne) {
    LabelProps word = filled(10, 10, 60, 30, 0xFFFF00);
    word.caption = "Avanzar";
    word.font = {.size = 18, .italic = true, .underline = true};
    word.border_style = BorderStyle::FixedSingle;
    Picture p({label("word", word),
               shape("ring", {.left = 300, .top = 300, .width = 900, .height = 900, .shape = ShapeKind::Oval}),
               line("bar", segment(0, 90, 99, 50, 5))});
    p.scene().label("word").set_left(20 * 15);
    const PixelRect moved = p.scene().damage_area();
    p.repaint();
    const Image whole = p.image;

    for (const PixelRect area : {moved, PixelRect{17, 15, 41, 29}, PixelRect{-10, 80, 200, 200}}) {
        Image part = whole;
        std::fill(part.pixels.begin(), part.pixels.end(), 0x123456u);
        Painter(fonts()).paint(p.scene(), part, area);
        for (int y = 0; y < whole.height; ++y)
            for (int x = 0; x < whole.width; ++x)
                ASSERT_EQ(part.at(x, y), area.contains(x, y) ? whole.at(x, y) : 0x123456u) << x << ", " << y;
    }
}

TEST(MenuPicture, TheMenuOpensWithItsCardsDoorsAndStripsAndNoVehicleShowing) {
    Simulation sim;
    Image menu;
    Painter(fonts()).paint(*sim.scene("Form1"), menu);
    EXPECT_EQ(menu.width, 443);
    EXPECT_EQ(menu.height, 480);
    EXPECT_EQ(menu.at(200, 300), 0x404040u); // background
    EXPECT_EQ(menu.at(10, 200), 0xFFFF00u);  // left strip
    EXPECT_EQ(menu.at(430, 200), 0xFFFF00u); // right strip
    EXPECT_EQ(menu.at(52, 68), 0x0000FFu);   // the police card, above its empty first line
    EXPECT_EQ(menu.at(316, 68), 0xFF0000u);  // the red fire engine's card
    EXPECT_EQ(menu.at(80, 145), 0x000000u);  // a door
    EXPECT_EQ(menu.at(115, 18), 0x404040u);  // the title's transparent background
    bool title = false;
    for (int x = 112; x < 321; ++x) title = title || menu.at(x, 22) == 0xFFFF00u;
    EXPECT_TRUE(title);
    // Colours only the vehicles wear: windows, windscreens, bodies, lights.
    for (const std::uint32_t vehicle : {0x80FFFFu, 0x00FFFFu, 0xC00000u, 0x00C000u, 0xC0C000u})
        EXPECT_EQ(std::count(menu.pixels.begin(), menu.pixels.end(), vehicle), 0) << std::hex << vehicle;
}
