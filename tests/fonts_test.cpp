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
