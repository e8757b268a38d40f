// SPDX-License-Identifier: GPL-3.0-or-later
// Catalogues of translations, and which language the game speaks.

#include "paint/baked_glyphs.h"
#include "paint/painter.h"
#include "runtime/utf8.h"
#include "session/options.h"
#include "session/texts.h"
#include "test_scenes.h"
#include "tools/glyphs/texts_to_bake.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <stdexcept>

using namespace guardianes;

namespace {

// A catalogue as msgfmt writes one, in either byte order: keys
// "context\x04original" sorted, then the strings.
std::string mo_file(const std::map<std::string, std::string>& entries, bool big_endian = false) {
    std::map<std::string, std::string> all = entries;
    all[""] = "Content-Type: text/plain; charset=UTF-8\n";
    const auto n = static_cast<std::uint32_t>(all.size());
    std::string out;
    const auto put = [&](std::uint32_t w) {
        for (int i = 0; i < 4; ++i) out += static_cast<char>(big_endian ? w >> (24 - 8 * i) : w >> (8 * i));
    };
    const std::uint32_t originals = 28;
    const std::uint32_t translations = originals + 8 * n;
    std::uint32_t at = translations + 8 * n;
    std::string strings;
    for (const bool translated : {false, true})
        for (const auto& [key, value] : all) strings += (translated ? value : key) + '\0';
    for (const std::uint32_t w : {0x950412deu, 0u, n, originals, translations, 0u, 0u}) put(w);
    for (const bool translated : {false, true})
        for (const auto& [key, value] : all) {
            const std::string& s = translated ? value : key;
            put(static_cast<std::uint32_t>(s.size()));
            put(at);
            at += static_cast<std::uint32_t>(s.size()) + 1;
        }
    return out + strings;
}

std::string key(std::string_view context, std::string_view original) {
    return std::string(context) + '\x04' + std::string(original);
}

const std::map<std::string, std::string> kSpanishEntries{{key("Form1|portal1", "Click Here"), "¡Haz clic!"},
                                                         {key("Form1|portal2", "Click Here"), "¡Aquí!"},
                                                         {key("options", "%s takes %s"), "%s toma %s"},
                                                         {key("Form3|win", "You Win"), ""}};
const std::string kSpanish = mo_file(kSpanishEntries);

} // namespace

TEST(Catalogues, ATextIsFoundByItsPlaceAndOtherwiseShownAsTheGamesOwn) {
    for (const bool big_endian : {false, true}) {
        const std::string mo = mo_file(kSpanishEntries, big_endian); // the catalogue views its bytes
        const Catalogue catalogue(mo);
        EXPECT_EQ(catalogue.find("Form1|portal1", "Click Here"), "¡Haz clic!");
        EXPECT_EQ(catalogue.find("Form1|portal2", "Click Here"), "¡Aquí!") << "the same words in another place";
        EXPECT_EQ(catalogue.find("Form1|portal3", "Click Here"), std::nullopt);
        EXPECT_EQ(catalogue.find("Form1|portal1", "Click"), std::nullopt);
        EXPECT_EQ(catalogue.find("Form1", "portal1\x04"), std::nullopt);
        EXPECT_EQ(catalogue.find("", ""), std::nullopt) << "the header is no text of the game's";
    }
    // An entry left untranslated shows the game's own text.
    const BuiltInCatalogue es{"es", kSpanish};
    const Texts texts = *Texts::choose("es", {}, {&es, 1});
    EXPECT_EQ(texts(translatable("Form3|win", "You Win")), "You Win");
    EXPECT_EQ(texts.format(translatable("options", "%s takes %s"), {"--lang", "'xx'"}), "--lang toma 'xx'");
    EXPECT_EQ(Texts().format(translatable("options", "100%% %s"), {"sure"}), "100% sure");
}

TEST(Catalogues, ADamagedCatalogueIsRefusedWithOneLine) {
    const auto refused = [](std::string mo) {
        try {
            Catalogue{mo};
        } catch (const std::runtime_error& e) {
            return std::string(e.what());
        }
        return std::string("taken");
    };
    EXPECT_EQ(refused(kSpanish), "taken");
    EXPECT_EQ(refused(kSpanish.substr(0, 27)), "a translation catalogue is damaged");
    EXPECT_EQ(refused("\x12\x34\x56\x78" + kSpanish.substr(4)), "a translation catalogue is damaged");
    // A string's end past the file, and a string without its NUL.
    EXPECT_EQ(refused(kSpanish.substr(0, kSpanish.size() - 1)), "a translation catalogue is damaged");
    std::string count = kSpanish;
    count[8] = '\x7f';
    EXPECT_EQ(refused(count), "a translation catalogue is damaged");
}

namespace {

const std::string kEmpty = mo_file({});
const BuiltInCatalogue kLanguages[] = {{"en", kEmpty}, {"es", kEmpty}, {"fr", kEmpty}, {"pt_BR", kEmpty}};

std::string chosen(std::string_view asked, const std::vector<std::string>& preferred) {
    const std::optional<Texts> texts = Texts::choose(asked, preferred, kLanguages);
    return texts ? std::string(texts->language()) : "refused";
}

} // namespace

TEST(Languages, TheFirstPreferredLanguageTheGameHasWinsInEveryFormASystemWritesIt) {
    EXPECT_EQ(chosen("", {"es_AR.UTF-8"}), "es");
    EXPECT_EQ(chosen("", {"es-419"}), "es");
    EXPECT_EQ(chosen("", {"ES"}), "es");
    EXPECT_EQ(chosen("", {"pt_BR"}), "pt_BR");
    EXPECT_EQ(chosen("", {"pt-PT"}), "pt_BR") << "the same language from another region";
    EXPECT_EQ(chosen("", {"fr_CA@euro"}), "fr");
    EXPECT_EQ(chosen("", {"de_DE.UTF-8", "zh-Hant-TW", "fr", "es"}), "fr");
    EXPECT_EQ(chosen("", {"de", "nl"}), "") << "no language the game has: its own texts";
    EXPECT_EQ(chosen("", {}), "");
    EXPECT_EQ(chosen("", {"C", "es"}), "") << "C stops the search, as in gettext";
    // The one asked for wins over the system's, and must be one there is.
    EXPECT_EQ(chosen("pt", {"es"}), "pt_BR");
    EXPECT_EQ(chosen("C", {"es"}), "");
    EXPECT_EQ(chosen("de", {"es"}), "refused");
    EXPECT_EQ(chosen("e", {}), "refused");
    EXPECT_EQ(Texts::languages(kLanguages), "en, es, fr, pt_BR");
    EXPECT_EQ(Texts::choose("pt", {}, kLanguages)->tag(), "pt-BR");

    // Of two catalogues of a language, the one for the region asked for.
    const BuiltInCatalogue both[] = {{"pt_BR", kEmpty}, {"pt_PT", kEmpty}, {"pt", kEmpty}};
    EXPECT_EQ(Texts::choose("pt-PT", {}, both)->language(), "pt_PT");
    EXPECT_EQ(Texts::choose("pt_AO", {}, both)->language(), "pt");
}

TEST(Languages, TheEnvironmentIsReadAsGettextReadsIt) {
    const auto read = [](std::map<std::string, std::string> environment) {
        return languages_from_environment([&](const char* name) -> const char* {
            auto it = environment.find(name);
            return it == environment.end() ? nullptr : it->second.c_str();
        });
    };
    using List = std::vector<std::string>;
    EXPECT_EQ(read({{"LANG", "es_AR.UTF-8"}}), (List{"es_AR.UTF-8"}));
    EXPECT_EQ(read({{"LANG", "es_AR.UTF-8"}, {"LC_MESSAGES", "fr_FR"}}), (List{"fr_FR"}));
    EXPECT_EQ(read({{"LANG", "es_AR"}, {"LC_MESSAGES", "fr_FR"}, {"LC_ALL", "pt_BR"}}), (List{"pt_BR"}));
    EXPECT_EQ(read({{"LANG", "es_AR"}, {"LC_ALL", ""}}), (List{"es_AR"})) << "an empty variable is unset";
    EXPECT_EQ(read({{"LANG", "de_DE"}, {"LANGUAGE", "fr:pt_BR::es"}}), (List{"fr", "pt_BR", "es", "de_DE"}));
    // LANGUAGE counts only when the locale asks for a language.
    EXPECT_EQ(read({{"LANGUAGE", "es"}}), List{});
    EXPECT_EQ(read({{"LANGUAGE", "es"}, {"LANG", "C.UTF-8"}}), List{});
    EXPECT_EQ(read({{"LANGUAGE", "es"}, {"LC_ALL", "POSIX"}, {"LANG", "fr_FR"}}), List{});
}

namespace {

// The words of a caption, whatever spaces and line breaks stand between them.
std::vector<std::string> words_of(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    for (const char c : std::string(text) + ' ') {
        if (c == ' ' || c == '\n' || c == '\r') {
            if (!word.empty()) words.push_back(std::exchange(word, {}));
        } else {
            word += c;
        }
    }
    return words;
}

// The first line that shows a word: where a caption's text begins.
std::size_t first_words(const std::vector<CaptionLine>& lines) {
    std::size_t line = 0;
    while (line < lines.size() && words_of(lines[line].text).empty()) ++line;
    return line;
}

// Whether the lines hold the caption's words whole, none broken between two lines.
bool words_whole(std::string_view caption, const std::vector<CaptionLine>& lines) {
    std::string shown;
    for (const CaptionLine& line : lines) shown += line.text + '\n';
    return words_of(shown) == words_of(caption);
}

} // namespace

// Calls `check` with each language's name, each label's caption that is
// words, its place and its translation.
template <class Check> void each_translated_caption(Check check) {
    for (const BuiltInCatalogue& built_in : built_in_catalogues()) {
        const Catalogue catalogue(built_in.mo);
        for (const SceneDef& scene : game_scenes()) {
            for (const ControlRow& row : scene.table.controls) {
                const LabelProps* label = std::get_if<LabelProps>(&row.props);
                if (!label || !is_words(label->caption)) continue;
                const std::string context = caption_context(scene.table.name, row.name);
                const std::optional<std::string_view> translation = catalogue.find(context, label->caption);
                ASSERT_TRUE(translation) << built_in.language << ": " << context << " is not translated";
                check(built_in.language, *label, context, *translation);
            }
        }
    }
}

// Every caption of every language, laid out in its label as the painter lays
// it out at one to one: no line wider than the label's text area, no more
// lines than its height holds, no word broken where the game's own caption
// breaks none, and its words beginning on the line the game's own begin on.
TEST(Translations, EveryCaptionFitsItsLabelInEveryLanguage) {
    Painter painter(guardianes::testing::fonts());
    each_translated_caption([&](std::string_view language, const LabelProps& label, const std::string& context,
                                std::string_view translation) {
        LabelProps translated = label;
        translated.caption = translation;
        const PixelRect area = text_area(translated);
        const Typeface& face = guardianes::testing::fonts().typeface(translated.font);
        const std::vector<CaptionLine> lines = painter.caption_lines(translated);
        const std::string where = std::string(language) + " " + context + " \"" + std::string(translation) + "\"";
        for (const CaptionLine& line : lines)
            EXPECT_LE(line.width, area.width()) << where << ": \"" << line.text << "\" is too wide";
        EXPECT_LE(static_cast<int>(lines.size()) * face.line_height(), area.height())
            << where << ": " << lines.size() << " lines, " << area.height() / face.line_height() << " fit";
        const std::vector<CaptionLine> own = painter.caption_lines(label);
        if (words_whole(label.caption, own)) {
            EXPECT_TRUE(words_whole(translation, lines)) << where << ": a word is broken";
        }
        EXPECT_EQ(first_words(lines), first_words(own)) << where << ": its words begin on another line";
    });
}

// Every character every language draws has a glyph in the face that draws
// it: the desktop's, and the set baked for the browser and Windows.
TEST(Translations, EveryCharacterOfEveryLanguageHasItsGlyph) {
    BakedGlyphs baked(bake_glyphs(guardianes::testing::fonts(), glyph_sets(texts_to_bake())));
    each_translated_caption(
        [&](std::string_view language, const LabelProps& label, const std::string& context, std::string_view text) {
            const Typeface& desktop = guardianes::testing::fonts().typeface(label.font);
            const Typeface& built_in = baked.typeface(label.font);
            for (const char32_t c : Utf8Chars(text)) {
                if (c == '\n' || c == '\r') continue;
                EXPECT_TRUE(desktop.has(c)) << language << " " << context << ": " << desktop.family()
                                            << " has no glyph for U+" << std::hex << static_cast<std::uint32_t>(c);
                EXPECT_TRUE(built_in.has(c)) << language << " " << context << ": no glyph baked for U+" << std::hex
                                             << static_cast<std::uint32_t>(c);
            }
        });
}

TEST(Languages, TheLanguageAskedForSpeaksOverTheSystemsAndARefusalIsSaidInTheSystems) {
    using Args = std::vector<std::string_view>;
    const auto language = [](const ProgramOptions& given) { return std::string(given.texts.language()); };
    EXPECT_EQ(language(read_program_options(Args{}, {"es_AR.UTF-8"})), "es");
    EXPECT_EQ(language(read_program_options(Args{"--lang", "fr"}, {"es_AR.UTF-8"})), "fr");
    EXPECT_EQ(language(read_program_options(Args{"--lang=pt-PT"}, {})), "pt_BR");
    EXPECT_EQ(language(read_program_options(Args{"--lang", "C"}, {"es"})), "");
    const ProgramOptions refused = read_program_options(Args{"--lang", "de"}, {"es"});
    EXPECT_EQ(language(refused), "es");
    EXPECT_EQ(refused.reading.error,
              refused.texts.format(translatable("options|lang", "%s takes one of %s, or C, not '%s'"),
                                   {"--lang", Texts::languages(), "de"}));
    EXPECT_NE(refused.reading.error, read_command_line(Args{"--lang", "de"}).error) << "said in Spanish";
    EXPECT_EQ(read_command_line(Args{"--lang"}).error, "--lang takes one of " + Texts::languages() + ", or C, not ''");

    EXPECT_EQ(language(read_page_options("?lang=pt", {"fr-FR"})), "pt_BR");
    EXPECT_EQ(language(read_page_options("", {"de-DE", "fr-FR", "es"})), "fr");
    EXPECT_EQ(language(read_page_options("lang=xx", {"fr-FR"})), "fr");
    EXPECT_FALSE(read_page_options("lang=xx", {"fr-FR"}).reading.error.empty());
}

TEST(Languages, TheSimulatorSpeaksOnlyTheLanguageItIsAskedFor) {
    ::setenv("LANG", "es_AR.UTF-8", 1);
    ::setenv("LANGUAGE", "es", 1);
    Simulation own;
    Simulation spanish(GameOptions{.language = "es"});
    ::unsetenv("LANG");
    ::unsetenv("LANGUAGE");
    EXPECT_EQ(own.scene("Form1")->caption(), "Form1");
    EXPECT_EQ(spanish.scene("Form1")->caption(), "Guardianes");
    EXPECT_NE(static_cast<Label&>(*spanish.scene("Form1")->find("portal1")).caption(), "Click Here");
    EXPECT_EQ(static_cast<Label&>(*own.scene("Form1")->find("portal1")).caption(), "Click Here");
}
