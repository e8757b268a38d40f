// SPDX-License-Identifier: GPL-3.0-or-later
// The faces this machine really has, and the glyphs baked from them for
// the browser.

#include "paint/baked_glyphs.h"
#include "paint/painter.h"
#include "runtime/still_scene.h"
#include "test_scenes.h"

#include <gtest/gtest.h>

using namespace guardianes;
using namespace guardianes::testing;

namespace {

// The words of each line of a menu label's caption, without the spaces around them.
std::vector<std::string> menu_words(const std::string& label) {
    static const SceneTable table = menu_scene().table;
    const StillScene menu(table);
    std::vector<std::string> out;
    for (const CaptionLine& line : Painter(fonts()).caption_lines(menu.scene().label(label).props())) {
        const std::size_t first = line.text.find_first_not_of(' ');
        const std::size_t end = line.text.find_last_not_of(' ') + 1;
        out.push_back(first == std::string::npos ? "" : line.text.substr(first, end - first));
    }
    return out;
}

using Words = std::vector<std::string>;

} // namespace

// Sizes are whole pixels at 96 to the inch, rounded; each face has a stand-in
// of the same character.
TEST(Fonts, EachFontHasAStandInFaceAtItsSizeInWholePixels) {
    EXPECT_EQ(pixel_size(8), 11);
    const Typeface& sans = fonts().typeface({.size = 13.5});
    EXPECT_LT(sans.width("iiii"), sans.width("WWWW")); // proportional
    const Typeface& fixed = fonts().typeface({.face = "Fixedsys", .size = 9, .bold = true, .italic = true});
    EXPECT_EQ(fixed.width("iiii"), fixed.width("WWWW"));
    const Typeface& capitals = fonts().typeface({.face = "Copperplate Gothic Bold", .size = 15.75});
    EXPECT_EQ(capitals.width("meta"), capitals.width("META"));
    EXPECT_EQ(&capitals.glyph('m'), &capitals.glyph('M'));
}

TEST(Fonts, AMissingFaceFallsBackToASansSerifAndSaysSoOnce) {
    std::vector<std::string> warnings;
    FontLibrary library([&](const std::string& w) { warnings.push_back(w); });
    const Typeface& face = library.typeface({.face = "No Such Face At All"});
    library.typeface({.face = "No Such Face At All", .bold = true});
    library.typeface({.face = "No Such Face At All", .size = 24});
    EXPECT_GT(face.width("abc"), 0);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("No Such Face At All"), std::string::npos);
    EXPECT_NE(warnings[0].find(face.family()), std::string::npos);
    library.typeface({.face = "MS Sans Serif"});
    EXPECT_EQ(warnings.size(), 1u); // a planned stand-in is no surprise
}

// In the faces standing in for the scenes' own, the menu's cards show their
// name whole and their number lower, and its title fits on one line.
TEST(CaptionsWithRealFonts, TheMenusCardsKeepTheirNamesWholeAndItsTitleOnOneLine) {
    EXPECT_EQ(menu_words("portal5"), (Words{"", "Policia", "110"}));
    EXPECT_EQ(menu_words("portal6"), (Words{"", "Bomberos M.", "123"}));
    EXPECT_EQ(menu_words("portal7"), (Words{"", "Ambulancia", "911"}));
    EXPECT_EQ(menu_words("portal8"), (Words{"", "Bomberos V.", "122"}));
    EXPECT_EQ(menu_words("Label1"), (Words{"Guardianes"}));
}

// The browser draws with glyphs baked from these same typefaces. Every
// label of every scene, shown, in its enabled and its greyed style, must
// come out the same pixels either way.
TEST(BakedGlyphs, PaintEveryScenesCaptionsAsTheDesktopsFontsDo) {
    const std::vector<SceneDef> scenes = game_scenes();
    BakedGlyphs baked(bake_glyphs(fonts(), fonts_of(scenes)));
    for (const bool enabled : {true, false}) {
        for (SceneDef def : scenes) {
            std::vector<ControlRow> rows(def.table.controls.begin(), def.table.controls.end());
            for (ControlRow& row : rows) {
                if (auto* label = std::get_if<LabelProps>(&row.props)) {
                    label->visible = true;
                    label->enabled = enabled;
                }
            }
            def.table.controls = rows;
            const StillScene still(def.table);
            Image desktop;
            Image browser;
            Painter(fonts()).paint(still.scene(), desktop);
            Painter(baked).paint(still.scene(), browser);
            EXPECT_TRUE(desktop.pixels == browser.pixels) << def.table.name << (enabled ? "" : ", greyed");
        }
    }
}

TEST(BakedGlyphs, AFontNotBakedOrADamagedFileIsAOneLineError) {
    const std::string file = bake_glyphs(fonts(), {Font{}});
    BakedGlyphs baked(file);
    EXPECT_GT(baked.typeface({}).width("Avanzar"), 0);
    for (const auto& attempt : std::vector<std::function<void()>>{
             [&] { baked.typeface({.size = 24}); },
             [&] { BakedGlyphs{std::string_view(file).substr(0, file.size() - 5)}; }, [&] { BakedGlyphs{file + "x"}; },
             [&] { BakedGlyphs{"not glyphs at all"}; }}) {
        try {
            attempt();
            ADD_FAILURE() << "no error";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()).find('\n'), std::string::npos) << e.what();
        }
    }
}

namespace {

void expect_same_glyph(const Glyph& a, const Glyph& b, char32_t code) {
    EXPECT_EQ(std::tie(a.advance, a.left, a.top, a.width, a.height),
              std::tie(b.advance, b.left, b.top, b.width, b.height))
        << "U+" << std::hex << static_cast<int>(code);
    EXPECT_TRUE(a.coverage == b.coverage) << "U+" << std::hex << static_cast<int>(code);
}

} // namespace

// Beyond ASCII, each font bakes the characters its texts hold, the glyphs
// the desktop draws them with; any other character draws the face's
// missing-glyph box, and the baked face says it has no glyph for it.
TEST(BakedGlyphs, HoldTheCharactersOfEachFontsTextsAndDrawTheMissingGlyphBoxForOthers) {
    const Font sans{};
    const Font capitals{.face = "Copperplate Gothic Bold", .size = 15.75};
    const std::vector<GlyphSet> sets = glyph_sets(
        {{sans, "¡Señal!\r\n¿Qué?\t"}, {capitals, "Œuvre\n"}, {Font{.size = 8, .underline = true}, "…ñ\u0378"}});
    ASSERT_EQ(sets.size(), 2u); // 8 pt is 11 pixels, as 8.25 pt is
    EXPECT_EQ(sets[0].font.face, capitals.face);
    EXPECT_EQ(sets[0].characters, U"Œ");
    EXPECT_EQ(sets[1].font, sans);
    EXPECT_EQ(sets[1].characters, U"\t¡¿éñ\u0378…");

    BakedGlyphs baked(bake_glyphs(fonts(), sets));
    for (const GlyphSet& set : sets) {
        const Typeface& desktop = fonts().typeface(set.font);
        const Typeface& browser = baked.typeface(set.font);
        for (const char32_t c : set.characters + U"Aa ~") {
            EXPECT_EQ(browser.has(c), desktop.has(c)) << static_cast<int>(c);
            expect_same_glyph(browser.glyph(c), desktop.glyph(c), c);
        }
    }
    // U+0378 is no character at all, so no face has it, nor bakes it.
    const Typeface& browser = baked.typeface(sans);
    EXPECT_FALSE(browser.has(U'\u0378'));
    EXPECT_TRUE(fonts().typeface(sans).has(U'ç'));
    EXPECT_FALSE(browser.has(U'ç'));
    expect_same_glyph(browser.glyph(U'ç'), fonts().typeface(sans).missing(), U'ç');
    // A face of capitals bakes the capital it draws for a small letter.
    expect_same_glyph(baked.typeface(capitals).glyph(U'Œ'), fonts().typeface(capitals).glyph(U'œ'), U'œ');
}

// In a file of made-up glyphs, each 10 bytes of numbers after its 3-byte
// code point, the last glyph is ñ's, after é's.
TEST(BakedGlyphs, CodePointsOutOfOrderOrBeyondUnicodeAreADamagedFile) {
    struct : GlyphSource {
        Typeface face{"Test", {}, false, [](char32_t) { return Glyph{.advance = 1, .coverage = {}}; }};
        const Typeface& typeface(const Font&) override { return face; }
    } source;
    const std::string file = bake_glyphs(source, std::vector<GlyphSet>{{Font{}, U"ñé"}});
    const auto with_last = [&](char32_t code) {
        std::string changed = file;
        const std::size_t at = file.size() - 13;
        for (std::size_t i = 0; i < 3; ++i) changed[at + i] = static_cast<char>(code >> (8 * i) & 0xFFu);
        return changed;
    };
    EXPECT_TRUE(BakedGlyphs(with_last(U'ò')).typeface({}).has(U'ò'));
    EXPECT_FALSE(BakedGlyphs(with_last(U'ò')).typeface({}).has(U'ñ'));
    for (const char32_t code : {U'é', U'a', char32_t{0x110000}}) {
        EXPECT_THROW(BakedGlyphs{with_last(code)}, std::runtime_error) << static_cast<int>(code);
    }
}
