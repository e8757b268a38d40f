// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/texts.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace guardianes {

namespace {

constexpr std::uint32_t kMagic = 0x950412de;
constexpr std::uint32_t kMagicSwapped = 0xde120495;
// gettext joins a context and its text with this byte in a catalogue's keys.
constexpr char kContextEnd = '\x04';

std::uint32_t swap(std::uint32_t w) { return (w >> 24) | ((w >> 8) & 0xFF00u) | ((w << 8) & 0xFF0000u) | (w << 24); }

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool all_of(std::string_view s, int (*is)(int)) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [is](char c) { return is(static_cast<unsigned char>(c)) != 0; });
}

// Whether a locale's name asks for no language: C, POSIX, C.UTF-8.
bool c_locale(std::string_view name) {
    name = name.substr(0, name.find_first_of(".@"));
    return name == "C" || name == "POSIX";
}

// The catalogue that best serves a locale: its language and region, else
// its language alone, else its language with another region.
const BuiltInCatalogue* best(const Locale& wanted, std::span<const BuiltInCatalogue> catalogues) {
    const BuiltInCatalogue* same_language = nullptr;
    const BuiltInCatalogue* language_alone = nullptr;
    for (const BuiltInCatalogue& catalogue : catalogues) {
        const std::optional<Locale> has = read_locale(catalogue.language);
        if (!has || has->language != wanted.language) continue;
        if (has->region == wanted.region) return &catalogue;
        if (has->region.empty()) language_alone = &catalogue;
        if (!same_language) same_language = &catalogue;
    }
    return language_alone ? language_alone : same_language;
}

} // namespace

std::string caption_context(std::string_view scene, std::string_view control) {
    // Built by appending: GCC 12 at -O3 wrongly warns of overlap in "|" + text.
    std::string context(scene);
    if (control.empty()) return context;
    context += '|';
    context += control;
    return context;
}

bool is_words(std::string_view caption) {
    const auto letter = [](char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; };
    if (std::none_of(caption.begin(), caption.end(), letter)) return false;
    const std::string_view number = caption.starts_with("Label") ? caption.substr(5) : std::string_view();
    return !all_of(number, std::isdigit);
}

Catalogue::Catalogue(std::string_view mo) : mo_(mo) {
    const auto damaged = [] { return std::runtime_error("a translation catalogue is damaged"); };
    if (mo_.size() < 28) throw damaged();
    const std::uint32_t magic = word(0);
    if (magic != kMagic && swap(magic) != kMagic) throw damaged();
    swapped_ = magic == kMagicSwapped;
    count_ = word(8);
    originals_ = word(12);
    translations_ = word(16);
    for (const std::uint32_t table : {originals_, translations_}) {
        if (table % 4 != 0 || table > mo_.size() || (mo_.size() - table) / 8 < count_) throw damaged();
        for (std::uint32_t i = 0; i < count_; ++i) {
            const std::uint32_t length = word(table + 8 * i);
            const std::uint32_t offset = word(table + 8 * i + 4);
            // Each string ends in a NUL that its length leaves out.
            if (offset > mo_.size() || length >= mo_.size() - offset || mo_[offset + length] != '\0') throw damaged();
        }
    }
}

std::uint32_t Catalogue::word(std::size_t at) const {
    const auto byte = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(mo_[at + i]));
    };
    const std::uint32_t w = byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
    return swapped_ ? swap(w) : w;
}

std::string_view Catalogue::string(std::uint32_t table, std::uint32_t index) const {
    return mo_.substr(word(table + 8 * index + 4), word(table + 8 * index));
}

std::optional<std::string_view> Catalogue::find(std::string_view context, std::string_view original) const {
    // The keys are sorted byte by byte: "context\x04original".
    const auto compare = [&](std::string_view key) {
        const std::string_view head = key.substr(0, context.size());
        if (const int c = head.compare(context); c != 0 || key.size() == context.size()) return c != 0 ? c : -1;
        const auto joint = static_cast<unsigned char>(key[context.size()]);
        if (joint != kContextEnd) return joint < static_cast<unsigned char>(kContextEnd) ? -1 : 1;
        return key.substr(context.size() + 1).compare(original);
    };
    std::uint32_t low = 0;
    std::uint32_t high = count_;
    while (low < high) {
        const std::uint32_t middle = low + (high - low) / 2;
        const int c = compare(string(originals_, middle));
        if (c == 0) {
            const std::string_view translation = string(translations_, middle);
            if (translation.empty()) return std::nullopt;
            return translation;
        }
        if (c < 0)
            low = middle + 1;
        else
            high = middle;
    }
    return std::nullopt;
}

std::optional<Locale> read_locale(std::string_view name) {
    if (c_locale(name)) return std::nullopt;
    name = name.substr(0, name.find_first_of(".@"));
    Locale locale;
    std::size_t part = 0;
    while (!name.empty()) {
        const std::size_t end = name.find_first_of("_-");
        const std::string_view piece = name.substr(0, end);
        name = end == std::string_view::npos ? std::string_view() : name.substr(end + 1);
        if (part++ == 0) {
            if (!all_of(piece, std::isalpha) || piece.size() < 2 || piece.size() > 3) return std::nullopt;
            locale.language = lower(piece);
        } else if (locale.region.empty() && ((piece.size() == 2 && all_of(piece, std::isalpha)) ||
                                             (piece.size() == 3 && all_of(piece, std::isdigit)))) {
            locale.region = piece;
            for (char& c : locale.region) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    }
    if (locale.language.empty()) return std::nullopt;
    return locale;
}

std::vector<std::string> languages_from_environment(const std::function<const char*(const char*)>& getenv) {
    std::string_view locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = getenv(name);
        if (value && *value) {
            locale = value;
            break;
        }
    }
    if (locale.empty() || c_locale(locale)) return {};
    std::vector<std::string> languages;
    if (const char* list = getenv("LANGUAGE")) {
        std::string_view rest = list;
        while (!rest.empty()) {
            const std::size_t colon = rest.find(':');
            if (colon != 0) languages.emplace_back(rest.substr(0, colon));
            rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        }
    }
    languages.emplace_back(locale);
    return languages;
}

std::optional<Texts> Texts::choose(std::string_view asked, const std::vector<std::string>& preferred,
                                   std::span<const BuiltInCatalogue> catalogues) {
    const auto texts_for = [](const BuiltInCatalogue& catalogue) {
        Texts texts;
        texts.language_ = catalogue.language;
        texts.catalogue_.emplace(catalogue.mo);
        return texts;
    };
    if (!asked.empty()) {
        if (c_locale(asked)) return Texts();
        const std::optional<Locale> locale = read_locale(asked);
        const BuiltInCatalogue* catalogue = locale ? best(*locale, catalogues) : nullptr;
        if (!catalogue) return std::nullopt;
        return texts_for(*catalogue);
    }
    for (const std::string& name : preferred) {
        // As in gettext, C among the preferred languages stops the search.
        if (c_locale(name)) break;
        const std::optional<Locale> locale = read_locale(name);
        if (const BuiltInCatalogue* catalogue = locale ? best(*locale, catalogues) : nullptr)
            return texts_for(*catalogue);
    }
    return Texts();
}

std::string_view Texts::operator()(TextId id) const {
    if (catalogue_)
        if (const std::optional<std::string_view> translation = catalogue_->find(id.context, id.original))
            return *translation;
    return id.original;
}

std::string Texts::format(TextId id, std::initializer_list<std::string_view> values) const {
    const std::string_view text = (*this)(id);
    std::string out;
    auto value = values.begin();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == 's' && value != values.end()) {
            out += *value++;
            ++i;
        } else if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == '%') {
            out += '%';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string Texts::tag() const {
    std::string tag(language_);
    std::replace(tag.begin(), tag.end(), '_', '-');
    return tag;
}

std::string Texts::languages(std::span<const BuiltInCatalogue> catalogues) {
    std::vector<std::string_view> names;
    for (const BuiltInCatalogue& catalogue : catalogues) names.push_back(catalogue.language);
    std::sort(names.begin(), names.end());
    std::string out;
    for (const std::string_view name : names) out += (out.empty() ? "" : ", ") + std::string(name);
    return out;
}

} // namespace guardianes
