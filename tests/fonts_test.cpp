// SPDX-License-Identifier: GPL-3.0-or-later
// The faces and the layout of the scenes' captions with the fonts this
// machine really has: the words must land where the pictures need them.

#include "paint/baked_glyphs.h"
#include "paint/painter.h"
#include "runtime/still_scene.h"
#include "scenes/scenes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace guardianes;

namespace {

FontLibrary& fonts() {
    static FontLibrary library;
    return library;
}

// The words of each line, without the runs of spaces around them.
std::vector<std::string> words(const LabelProps& label) {
    Painter painter(fonts());
    std::vector<std::string> out;
    for (const CaptionLine& line : painter.caption_lines(label)) {
        const std::size_t first = line.text.find_first_not_of(' ');
        const std::size_t end = line.text.find_last_not_of(' ') + 1;
        out.push_back(first == std::string::npos ? "" : line.text.substr(first, end - first));
    }
    return out;
}

// A label of the game's own scenes, as its scene's table gives it.
LabelProps game_label(const std::string& scene, const std::string& name) {
    for (const SceneDef& def : game_scenes())
        for (const ControlRow& row : def.table.controls)
            if (def.table.name == scene && row.name == name) return std::get<LabelProps>(row.props);
    throw std::out_of_range(scene + " has no label " + name);
}

using Words = std::vector<std::string>;

} // namespace

// Sizes are whole pixels at 96 to the inch, rounded; each face has a stand-in
// of the same character, whose glyphs are rasterised once and kept.
TEST(Fonts, EachFontHasAStandInFaceAtItsSizeInWholePixels) {
    EXPECT_EQ(pixel_size(8), 11);
    EXPECT_EQ(pixel_size(24), 32);
    const Typeface& sans = fonts().typeface({.size = 13.5});
    EXPECT_LT(sans.width("iiii"), sans.width("WWWW")); // proportional
    EXPECT_EQ(&fonts().typeface({.size = 13.5, .underline = true}), &sans);
    EXPECT_EQ(&sans.glyph('a'), &sans.glyph('a'));
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

TEST(Fonts, WithNoFaceAtAllTheLibraryRefusesToStart) {
    const auto dir = std::filesystem::temp_directory_path() / "guardianes-no-fonts";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "fonts.conf") << "<?xml version=\"1.0\"?>\n<fontconfig><cachedir>" << (dir / "cache").string()
                                      << "</cachedir></fontconfig>\n";
    const char* before = std::getenv("FONTCONFIG_FILE");
    const std::string saved = before ? before : "";
    setenv("FONTCONFIG_FILE", (dir / "fonts.conf").c_str(), 1);
    try {
        FontLibrary none;
        ADD_FAILURE() << "a library with no faces started";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()).find('\n'), std::string::npos); // one line
    }
    if (before)
        setenv("FONTCONFIG_FILE", saved.c_str(), 1);
    else
        unsetenv("FONTCONFIG_FILE");
    std::filesystem::remove_all(dir);
}

// The menu's cards show their name whole and their number lower, buttons
// their word on the second line, the bottle its letters one above another,
// and the menu's title fits on one line.
TEST(CaptionsWithRealFonts, EachWordLandsOnTheLineItsPictureNeeds) {
    const std::vector<std::tuple<const char*, const char*, Words>> cases{
        {"Form1", "portal5", {"", "Policia", "110"}},
        {"Form1", "portal6", {"", "Bomberos M.", "123"}},
        {"Form1", "portal7", {"", "Ambulancia", "911"}},
        {"Form1", "portal8", {"", "Bomberos V.", "122"}},
        {"Form1", "Label1", {"Guardianes"}},
        {"Form2", "ava", {"", "Avanzar"}},
        {"Form3", "bomba", {"", "AGUA"}},
        {"Form4", "ag1", {"", "A", "G", "U", "A"}}};
    for (const auto& [scene, name, expected] : cases) EXPECT_EQ(words(game_label(scene, name)), expected) << name;
}

// The browser draws with glyphs baked from these same typefaces. Every
// label of every scene, shown, in its enabled and its greyed style, must
// come out the same pixels either way.
TEST(BakedGlyphs, PaintEveryScenesCaptionsAsTheDesktopsFontsDo) {
    const std::vector<SceneDef> scenes = game_scenes();
    BakedGlyphs baked(bake_glyphs(fonts(), fonts_of(scenes)));
    for (const bool enabled : {true, false}) {
        for (SceneDef def : scenes) {
            for (ControlRow& row : def.table.controls) {
                if (auto* label = std::get_if<LabelProps>(&row.props)) {
                    label->visible = true;
                    label->enabled = enabled;
                }
            }
            const StillScene still(def.table);
            Image desktop;
            Image browser;
            Painter(fonts()).paint(still.scene(), desktop);
            Painter(baked).paint(still.scene(), browser);
            EXPECT_TRUE(desktop.pixels == browser.pixels) << def.table.name << (enabled ? "" : ", greyed");
        }
    }
    EXPECT_EQ(&baked.typeface({.face = "Fixedsys", .size = 9, .bold = true, .italic = true, .underline = true}),
              &baked.typeface({.face = "Fixedsys", .size = 9, .bold = true, .italic = true}));
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
