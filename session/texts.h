// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace guardianes {

// A text of the game's own, and its place: the context that tells it from
// the same words elsewhere ("Form1|portal1", "options|help", "page|sound").
// The game shows `original` wherever no translation applies.
struct TextId {
    std::string_view context;
    std::string_view original;
};

// Marks a text of the program's own for translation: the build's template
// of texts is extracted from the calls to it.
constexpr TextId translatable(std::string_view context, std::string_view original) { return {context, original}; }

// The place of a scene's caption, as its translation's context: the label's
// "Form1|portal1", or "Form1" for the scene's window title.
std::string caption_context(std::string_view scene, std::string_view control);

// Whether a caption is words to translate: it has a letter, and it is not a
// label's name standing as its caption ("Label6"), which no one wrote as
// words. Numbers and names are the game's own in every language.
bool is_words(std::string_view caption);

// One language's translations, as msgfmt writes them (a GNU .mo file,
// either byte order), read in place.
class Catalogue {
public:
    // Throws std::runtime_error with a one-line message on a damaged file.
    explicit Catalogue(std::string_view mo);

    // The translation of the text in that context, if the catalogue has one.
    std::optional<std::string_view> find(std::string_view context, std::string_view original) const;

private:
    std::uint32_t word(std::size_t at) const;
    std::string_view string(std::uint32_t table, std::uint32_t index) const;

    std::string_view mo_;
    bool swapped_ = false;
    std::uint32_t count_ = 0;
    std::uint32_t originals_ = 0;
    std::uint32_t translations_ = 0;
};

// A catalogue built into the program, by its language's name as its PO
// file has it: "es", "pt_BR".
struct BuiltInCatalogue {
    std::string_view language;
    std::string_view mo;
};

// Every catalogue built into this program, by name.
std::span<const BuiltInCatalogue> built_in_catalogues();

// A language as a system names it ("es_AR.UTF-8", "es-419", "pt-PT",
// "fr_FR@euro"), as its language and region: {"es", "AR"}. None for C and
// POSIX, which ask for no language, and for what is no language name.
struct Locale {
    std::string language;
    std::string region;
    friend bool operator==(const Locale&, const Locale&) = default;
};
std::optional<Locale> read_locale(std::string_view name);

// The languages a Linux system prefers, in order, read from its environment
// as gettext reads it: LANGUAGE's list, then the locale of LC_ALL,
// LC_MESSAGES or LANG, the first set; LANGUAGE counts only when that locale
// is not C.
std::vector<std::string> languages_from_environment(const std::function<const char*(const char*)>& getenv);

// The texts the game shows, in one language or in its own.
class Texts {
public:
    // The game's own texts.
    Texts() = default;

    // The language `asked` for (by --lang or ?lang=) when given, else the
    // first of the system's preferred languages that one of `catalogues`
    // serves; the game's own texts where none does, or where `asked` is "C".
    // None when `asked` names no language there is.
    static std::optional<Texts> choose(std::string_view asked, const std::vector<std::string>& preferred,
                                       std::span<const BuiltInCatalogue> catalogues = built_in_catalogues());

    // The text in this language.
    std::string_view operator()(TextId id) const;
    std::string_view operator()(std::string_view context, std::string_view original) const {
        return (*this)({context, original});
    }
    // The text in this language with each "%s" replaced by the next value.
    std::string format(TextId id, std::initializer_list<std::string_view> values) const;

    // The language's name as its catalogue has it ("pt_BR"), and as a page's
    // lang attribute writes it ("pt-BR"); "" for the game's own texts.
    std::string_view language() const { return language_; }
    std::string tag() const;

    // The names of the languages there are, for a message: "en, es, fr, pt_BR".
    static std::string languages(std::span<const BuiltInCatalogue> catalogues = built_in_catalogues());

private:
    std::string_view language_;
    std::optional<Catalogue> catalogue_;
};

} // namespace guardianes
