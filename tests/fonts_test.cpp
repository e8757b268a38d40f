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

LabelProps card(std::string caption) {
    return {.width = 1095, .height = 1335, .caption = std::move(caption), .border_style = BorderStyle::FixedSingle};
}

using Words = std::vector<std::string>;

} // namespace

TEST(Fonts, PointSizesBecomePixelsAtNinetySixToTheInch) {
    EXPECT_EQ(pixel_size(8.25), 11);
    EXPECT_EQ(pixel_size(9), 12);
    EXPECT_EQ(pixel_size(13.5), 18);
    EXPECT_EQ(pixel_size(15.75), 21);
    EXPECT_EQ(pixel_size(20.25), 27);
    EXPECT_EQ(pixel_size(24), 32);
}

TEST(Fonts, EachFaceHasAStandInOfTheSameCharacter) {
    const Typeface& sans = fonts().typeface({});
    EXPECT_LT(sans.width("iiii"), sans.width("WWWW")); // proportional
    const Typeface& fixed = fonts().typeface({.face = "Fixedsys", .size = 9, .bold = true, .italic = true});
    EXPECT_EQ(fixed.width("iiii"), fixed.width("WWWW"));
    const Typeface& capitals = fonts().typeface({.face = "Copperplate Gothic Bold", .size = 15.75});
    EXPECT_EQ(capitals.width("meta"), capitals.width("META"));
    EXPECT_EQ(&capitals.glyph('m'), &capitals.glyph('M'));
}

TEST(Fonts, GlyphsAreRasterisedOnceAndKept) {
    const Typeface& face = fonts().typeface({.size = 13.5});
    EXPECT_EQ(&fonts().typeface({.size = 13.5, .underline = true}), &face);
    const Glyph& a = face.glyph('a');
    EXPECT_GT(a.advance, 0);
    EXPECT_EQ(&face.glyph('a'), &a);
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

TEST(CaptionsWithRealFonts, EachMenuCardShowsItsNameWholeAndItsNumberLower) {
    EXPECT_EQ(words(card(spaces(30) + "Policia" + spaces(15) + "110" + spaces(23))), (Words{"", "Policia", "110"}));
    EXPECT_EQ(words(card(spaces(25) + "Bomberos M." + spaces(10) + "123")), (Words{"", "Bomberos M.", "123"}));
    EXPECT_EQ(words(card(spaces(26) + "Ambulancia" + spaces(11) + "911" + spaces(16))),
              (Words{"", "Ambulancia", "911"}));
    EXPECT_EQ(words(card(spaces(25) + "Bomberos V." + spaces(11) + "122")), (Words{"", "Bomberos V.", "122"}));
}

TEST(CaptionsWithRealFonts, ButtonsShowTheirWordOnTheSecondLine) {
    const LabelProps avanzar{.width = 1095,
                             .height = 615,
                             .caption = spaces(17) + "Avanzar",
                             .border_style = BorderStyle::FixedSingle,
                             .alignment = Alignment::Centre};
    EXPECT_EQ(words(avanzar), (Words{"", "Avanzar"}));
    const LabelProps pump{.width = 615,
                          .height = 855,
                          .caption = spaces(7) + "AGUA",
                          .border_style = BorderStyle::FixedSingle,
                          .alignment = Alignment::Centre,
                          .font = {.bold = true, .italic = true, .underline = true}};
    EXPECT_EQ(words(pump), (Words{"", "AGUA"}));
}

TEST(CaptionsWithRealFonts, TheBottleStandsItsLettersOneAboveAnother) {
    const LabelProps bottle{.width = 375,
                            .height = 1095,
                            .caption = spaces(12) + "A" + spaces(7) + "G" + spaces(6) + "U" + spaces(6) + "A"};
    EXPECT_EQ(words(bottle), (Words{"", "A", "G", "U", "A"}));
}

TEST(CaptionsWithRealFonts, TheMenuTitleFitsOnOneLine) {
    const LabelProps title{.width = 3135,
                           .height = 375,
                           .caption = "Guardianes",
                           .alignment = Alignment::Centre,
                           .font = {.face = "Fixedsys", .size = 9, .bold = true, .italic = true}};
    EXPECT_EQ(words(title), (Words{"Guardianes"}));
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
