// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <limits>
#include <optional>

namespace guardianes {

const TextId kGameUsage =
    translatable("options|help", "Usage: guardianes [OPTION]\n"
                                 "A game for children about the emergency services: choose the police, a fire\n"
                                 "brigade or the ambulance and play its scene with the mouse or the keyboard.\n"
                                 "\n"
                                 "  --scale N              draw every window up to N times larger (1 to 8);\n"
                                 "                         by default the desktop's resolution setting\n"
                                 "                         decides, and full screen fills the screen\n"
                                 "  --fullscreen           fill the screen with each scene, as large as it\n"
                                 "                         fits whole (or --scale N times), on black\n"
                                 "  --kiosk                for a shared classroom machine: full screen, the\n"
                                 "                         windows cannot be closed, Escape starts a new game,\n"
                                 "                         Shift+Ctrl+Escape ends the game, and a run-time\n"
                                 "                         error is shown and followed by a new game\n"
                                 "  --idle-restart MINUTES start a new game after MINUTES without a press; a\n"
                                 "                         decimal number such as 0.5 is allowed, 0 turns it\n"
                                 "                         off; 3 by default with --kiosk, off without\n"
                                 "  --keyboard             play without a mouse: the arrow keys move the\n"
                                 "                         pointer 8 pixels (1 with Shift), Tab and Shift+Tab\n"
                                 "                         go to the next or previous button, and Space or\n"
                                 "                         Enter click\n"
                                 "  --mute                 play without sound\n"
                                 "  --volume PERCENT       play the sounds at PERCENT of their level, a whole\n"
                                 "                         number from 0 to 100; 0 is --mute, 100 the default\n"
                                 "  --lang LANGUAGE        speak this language (%s), or C for\n"
                                 "                         the game's own texts; by default the system's\n"
                                 "  -h, --help             show this help and exit\n"
                                 "  --version              show the version and exit\n");

namespace {

constexpr Nanos kLongestIdleMinutes = 24 * 60;
// A shared machine starts over after three idle minutes unless told otherwise.
constexpr Nanos kKioskIdleRestart = 3 * 60 * 1000 * kMillisecond;

// Sets `option` to `value`, a whole number from `least` to `most` in digits
// alone; returns `refusal`, said with the option's name and the value,
// where it is not one.
std::string take_whole(int& option, std::string_view value, int least, int most, TextId refusal, std::string_view name,
                       const Texts& texts) {
    int number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (value.empty() || value.front() == '-' || error != std::errc() || end != value.data() + value.size() ||
        number < least || number > most)
        return texts.format(refusal, {name, value});
    option = number;
    return std::string();
}

// Reads one option into `reading`; returns why it was refused, or "".
// `name` is the option as the host writes it, for the message, in `texts`.
using Apply = std::string (*)(OptionReading& reading, std::string_view value, std::string_view name,
                              const Texts& texts);

struct Rule {
    std::string_view name;
    bool takes_value;
    Apply apply;
};

struct Reader {
    const Texts& texts;
    OptionReading reading{};
    bool idle_given = false;
};

constexpr std::array kRules{
    Rule{"help", false,
         [](OptionReading& r, std::string_view, std::string_view, const Texts&) {
             return r.help = true, std::string();
         }},
    Rule{"version", false,
         [](OptionReading& r, std::string_view, std::string_view, const Texts&) {
             return r.version = true, std::string();
         }},
    Rule{"fullscreen", false,
         [](OptionReading& r, std::string_view, std::string_view, const Texts&) {
             return r.options.fullscreen = true, std::string();
         }},
    Rule{"kiosk", false,
         [](OptionReading& r, std::string_view, std::string_view, const Texts&) {
             return r.options.kiosk = true, std::string();
         }},
    Rule{"keyboard", false,
         [](OptionReading& r, std::string_view, std::string_view, const Texts&) {
             return r.options.keyboard = true, std::string();
         }},
    Rule{"mute", false,
         [](OptionReading& r, std::string_view, std::string_view, const Texts&) {
             return r.options.mute = true, std::string();
         }},
    Rule{"idle-restart", true,
         [](OptionReading& r, std::string_view value, std::string_view name, const Texts& texts) {
             const Nanos idle = parse_minutes(value);
             if (idle < 0)
                 return texts.format(
                     translatable("options|idle-restart", "%s takes a number of minutes from 0 to 1440, not '%s'"),
                     {name, value});
             r.options.idle_restart = idle;
             return std::string();
         }},
    Rule{"scale", true,
         [](OptionReading& r, std::string_view value, std::string_view name, const Texts& texts) {
             return take_whole(r.options.scale, value, 1, kLargestScale,
                               translatable("options|scale", "%s takes a whole number from 1 to 8, not '%s'"), name,
                               texts);
         }},
    Rule{"volume", true,
         [](OptionReading& r, std::string_view value, std::string_view name, const Texts& texts) {
             return take_whole(r.options.volume, value, 0, kFullVolume,
                               translatable("options|volume", "%s takes a whole number from 0 to 100, not '%s'"), name,
                               texts);
         }},
    Rule{"lang", true,
         [](OptionReading& r, std::string_view value, std::string_view name, const Texts& texts) {
             if (value.empty() || !Texts::choose(value, {}))
                 return texts.format(translatable("options|lang", "%s takes one of %s, or C, not '%s'"),
                                     {name, Texts::languages(), value});
             r.options.language = value;
             return std::string();
         }},
};

const Rule* rule_named(std::string_view name) {
    const auto it = std::find_if(kRules.begin(), kRules.end(), [&](const Rule& r) { return r.name == name; });
    return it != kRules.end() ? &*it : nullptr;
}

// What follows from the options taken together.
OptionReading settle(Reader reader) {
    GameOptions& options = reader.reading.options;
    if (options.kiosk) options.fullscreen = true;
    if (options.kiosk && !reader.idle_given) options.idle_restart = kKioskIdleRestart;
    if (options.volume == 0) options.mute = true;
    return std::move(reader.reading);
}

// Takes one option; returns why it was refused, or "".
std::string take(Reader& reader, const Rule& rule, std::string_view value, std::string_view name) {
    std::string refusal = rule.apply(reader.reading, value, name, reader.texts);
    if (refusal.empty() && rule.name == "idle-restart") reader.idle_given = true;
    return refusal;
}

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// An address's escapes undone: "+" is a space and "%xx" a byte.
std::string unescape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            out += ' ';
        } else if (text[i] == '%' && i + 2 < text.size() && hex_digit(text[i + 1]) >= 0 &&
                   hex_digit(text[i + 2]) >= 0) {
            out += static_cast<char>(hex_digit(text[i + 1]) * 16 + hex_digit(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

std::optional<Nanos> read_decimal(std::string_view text, Nanos unit) {
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? "" : text.substr(point + 1);
    const auto digits = [](std::string_view s) { return s.find_first_not_of("0123456789") == std::string_view::npos; };
    if (whole.empty() || !digits(whole) || !digits(fraction) || (point != std::string_view::npos && fraction.empty()))
        return std::nullopt;
    constexpr Nanos kMost = std::numeric_limits<Nanos>::max();
    Nanos units = 0;
    for (const char digit : whole) {
        if (units > (kMost / unit - (digit - '0')) / 10) return kMost;
        units = units * 10 + (digit - '0');
    }
    // The fraction is less than one unit, but a whole part just under the
    // largest Nanos leaves less room than that.
    Nanos part = 0;
    Nanos scale = unit / 10;
    for (std::size_t i = 0; i < fraction.size() && scale > 0; ++i, scale /= 10) part += (fraction[i] - '0') * scale;
    const Nanos t = units * unit;
    return t > kMost - part ? kMost : t + part;
}

Nanos parse_minutes(std::string_view text) {
    constexpr Nanos kMinute = 60'000 * kMillisecond;
    const std::optional<Nanos> t = read_decimal(text, kMinute);
    return t && *t <= kLongestIdleMinutes * kMinute ? *t : -1;
}

bool option_takes_value(std::string_view argument) {
    const Rule* rule = argument.starts_with("--") ? rule_named(argument.substr(2)) : nullptr;
    return rule && rule->takes_value;
}

OptionReading read_command_line(const std::vector<std::string_view>& arguments, const Texts& texts) {
    Reader reader{texts};
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        const Rule* rule = argument == "-h" ? rule_named("help") : nullptr;
        std::optional<std::string_view> value;
        if (!rule && argument.starts_with("--")) {
            const std::size_t equals = argument.find('=');
            rule = rule_named(argument.substr(2, equals == std::string_view::npos ? equals : equals - 2));
            if (equals != std::string_view::npos) value = argument.substr(equals + 1);
        }
        if (!rule || (value && !rule->takes_value)) {
            reader.reading.error =
                texts.format(translatable("options|unknown", "unknown option '%s' (try --help)"), {argument});
            break;
        }
        if (rule->takes_value && !value) value = i + 1 < arguments.size() ? arguments[++i] : "";
        reader.reading.error = take(reader, *rule, value.value_or(""), "--" + std::string(rule->name));
        // Help and the version are answered at once, whatever follows.
        if (!reader.reading.error.empty() || reader.reading.help || reader.reading.version) break;
    }
    return settle(std::move(reader));
}

std::optional<int> answer_at_once(const OptionReading& reading, const Texts& texts, std::string_view program,
                                  TextId usage, std::string_view version) {
    const auto print = [](std::FILE* to, std::string_view text) { std::fwrite(text.data(), 1, text.size(), to); };
    if (!reading.error.empty()) {
        print(stderr, std::string(program) + ": " + reading.error + "\n");
        return 2;
    }
    if (reading.help) print(stdout, texts.format(usage, {Texts::languages()}));
    if (reading.version) print(stdout, std::string(program) + " " + std::string(version) + "\n");
    if (reading.help || reading.version) return 0;
    return std::nullopt;
}

OptionReading read_address_query(std::string_view query, const Texts& texts) {
    Reader reader{texts};
    if (query.starts_with('?')) query.remove_prefix(1);
    while (!query.empty()) {
        const std::size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
        if (pair.empty()) continue;
        const std::size_t equals = pair.find('=');
        const std::string name = unescape(pair.substr(0, equals));
        const std::string value = equals == std::string_view::npos ? "" : unescape(pair.substr(equals + 1));
        // A flag's value is passed over: forms write "kiosk=on".
        const Rule* rule = rule_named(name);
        std::string refusal =
            rule ? take(reader, *rule, value, name)
                 : texts.format(translatable("options|unknown-in-address", "unknown option '%s'"), {name});
        if (reader.reading.error.empty()) reader.reading.error = std::move(refusal);
    }
    return settle(std::move(reader));
}

namespace {

template <class Read> ProgramOptions read_in_language(Read read, const std::vector<std::string>& preferred) {
    const std::string asked = read(Texts()).options.language;
    const Texts texts = Texts::choose(asked, preferred).value_or(Texts());
    return {read(texts), texts};
}

} // namespace

ProgramOptions read_program_options(const std::vector<std::string_view>& arguments,
                                    const std::vector<std::string>& system_languages) {
    return read_in_language([&](const Texts& texts) { return read_command_line(arguments, texts); }, system_languages);
}

ProgramOptions read_page_options(std::string_view query, const std::vector<std::string>& browser_languages) {
    return read_in_language([&](const Texts& texts) { return read_address_query(query, texts); }, browser_languages);
}

} // namespace guardianes
