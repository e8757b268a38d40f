// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/clock.h"
#include "session/texts.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace guardianes {

// The largest scale an option may ask for.
inline constexpr int kLargestScale = 8;
// The full volume, the samples as they are made.
inline constexpr int kFullVolume = 100;

// How a player or a teacher asked for the game to be run: the same options
// on a command line and in a page's address.
struct GameOptions {
    // Every scene drawn this many times larger; 0 lets the screen decide.
    int scale = 0;
    // Each scene fills the screen, as large as it fits whole, on black.
    bool fullscreen = false;
    // For a shared machine: closes do nothing, Escape starts a new game,
    // Shift+Ctrl+Escape ends it, and a run-time error is shown and followed
    // by a new game.
    bool kiosk = false;
    // The arrow keys, Tab, Space and Enter move the pointer and click.
    bool keyboard = false;
    // A new game starts after this long without a press; 0 never.
    Nanos idle_restart = 0;
    // No sound at all.
    bool mute = false;
    // Every sound's samples at this percent of their level, 0 to
    // kFullVolume; 0 is no sound at all, as `mute`.
    int volume = kFullVolume;
    // The language asked for ("es", "pt-BR", "C"), one the game has; empty
    // for the system's.
    std::string language{};
};

// What a list of options asks for. When some option is refused, `error`
// says why in one line and the options hold every other one given.
struct OptionReading {
    GameOptions options;
    bool help = false;
    bool version = false;
    std::string error;
};

// A command line's arguments, after the program's name: "--name",
// "--name=VALUE" or "--name VALUE". Reading stops at the first refusal.
// A refusal is said in `texts`.
OptionReading read_command_line(const std::vector<std::string_view>& arguments, const Texts& texts = {});

// Whether a command line's argument names an option that takes the next
// argument as its value: "--scale", but not "--scale=2".
bool option_takes_value(std::string_view argument);

// A page address's query, with or without its leading '?': "kiosk",
// "keyboard&idle-restart=5". A refused option is left out and reading goes
// on, since a page shows its notice and plays; the first refusal is kept.
OptionReading read_address_query(std::string_view query, const Texts& texts = {});

// A decimal number of `unit`s as nanoseconds, read exactly to the
// nanosecond: digits, then at most one point followed by digits. None when
// the text is not such a number; the largest Nanos when it is too large
// for one.
std::optional<Nanos> read_decimal(std::string_view text, Nanos unit);

// Minutes as read_decimal reads them, up to a day, as nanoseconds; -1 when
// the text is not such a number.
Nanos parse_minutes(std::string_view text);

// What `--help` prints.
extern const TextId kGameUsage;

// What a program answers at once to the options it was given, before it
// does anything else: a refusal on standard error, or the help or its
// version on standard output. Returns the program's exit status then (2
// for a refusal), or none when it goes on.
std::optional<int> answer_at_once(const OptionReading& reading, const Texts& texts, std::string_view program,
                                  TextId usage, std::string_view version);

// A program's options read, and the language they and the system ask it to
// speak: a refusal of them is said in that language, or, where --lang is
// what is refused, in the system's.
struct ProgramOptions {
    OptionReading reading;
    Texts texts;
};
ProgramOptions read_program_options(const std::vector<std::string_view>& arguments,
                                    const std::vector<std::string>& system_languages);
// The same for a page's address, with the browser's preferred languages.
ProgramOptions read_page_options(std::string_view query, const std::vector<std::string>& browser_languages);

} // namespace guardianes
