// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/script.h"

#include "session/options.h"
#include "sim/json.h"

#include <charconv>
#include <istream>
#include <optional>
#include <ostream>
#include <sstream>
#include <string_view>
#include <utility>

namespace guardianes {

namespace {

constexpr Nanos kLongestWait = 1'000'000'000LL * kMillisecond; // about eleven days

// A key as a script names it: "tab", "space", "enter", "escape" or an
// arrow, "left", "right", "up" or "down", after "shift+", "ctrl+" or both.
std::optional<KeyStroke> parse_key(std::string_view name) {
    KeyStroke press;
    for (;;) {
        if (name.starts_with("shift+") && !press.shift) {
            press.shift = true;
            name.remove_prefix(6);
        } else if (name.starts_with("ctrl+") && !press.ctrl) {
            press.ctrl = true;
            name.remove_prefix(5);
        } else {
            break;
        }
    }
    static constexpr std::pair<std::string_view, Key> kNames[] = {
        {"tab", Key::Tab},   {"space", Key::Space}, {"enter", Key::Enter}, {"escape", Key::Escape},
        {"left", Key::Left}, {"right", Key::Right}, {"up", Key::Up},       {"down", Key::Down}};
    for (const auto& [word, key] : kNames) {
        if (name != word) continue;
        press.key = key;
        // Shift and Ctrl together only ask a shared machine's way out;
        // Ctrl alone is no key of the game.
        const bool arrow = key == Key::Left || key == Key::Right || key == Key::Up || key == Key::Down;
        const bool fits =
            key == Key::Escape ? press.shift == press.ctrl : !press.ctrl && (!press.shift || arrow || key == Key::Tab);
        return fits ? std::optional(press) : std::nullopt;
    }
    return std::nullopt;
}

std::vector<std::string> split(const std::string& line) {
    std::istringstream words(line);
    std::vector<std::string> out;
    for (std::string word; words >> word;) out.push_back(word);
    return out;
}

} // namespace

ScriptRunner::ScriptRunner(Simulation& sim, std::ostream& out, bool count_games)
    : sim_(sim), out_(out), count_games_(count_games) {
    add_command("wait", [this](const Args& a) {
        expect_args(a, 1, "wait MS");
        sim_.wait(parse_ms(a[0]));
    });
    add_command("click", [this](const Args& a) { input(a, "click"); });
    add_command("press", [this](const Args& a) { input(a, "press"); });
    add_command("release", [this](const Args& a) { input(a, "release"); });
    add_command("close", [this](const Args& a) {
        expect_args(a, 1, "close SCENE");
        scene_index(a[0]);
        if (!sim_.close(a[0])) ignored("close " + a[0] + ": " + a[0] + " is not shown");
    });
    add_command("pointer", [this](const Args& a) {
        expect_args(a, 3, "pointer SCENE X Y");
        scene_index(a[0]);
        const int x = parse_int(a[1], "X");
        const int y = parse_int(a[2], "Y");
        const Scene* scene = sim_.scene(a[0]);
        if (!scene || !scene->shown()) return ignored("pointer " + a[0] + ": " + a[0] + " is not shown");
        sim_.move_pointer(a[0], {x, y});
        out_ << pointer_json(a[0], x, y, sim_.runtime().pointer_shape_at(*scene, x, y), sim_.now()) << '\n';
    });
    add_command("key", [this](const Args& a) {
        expect_args(a, 2, "key SCENE NAME");
        scene_index(a[0]);
        const auto press = parse_key(a[1]);
        if (!press)
            throw ScriptError("unknown key '" + a[1] + "': tab, shift+tab, space, enter or an arrow, left, right, " +
                              "up or down, with shift+ before it for one pixel; escape or shift+ctrl+escape");
        const std::string what = "key " + a[0] + " " + a[1];
        if (!sim_.session().playing()) return ignored(what + ": the program has ended");
        if (!sim_.key(a[0], *press)) {
            const Scene* scene = sim_.scene(a[0]);
            return ignored(what + ": " + (scene && scene->shown() ? "it does nothing here" : a[0] + " is not shown"));
        }
        const Pixel at = sim_.pointer(a[0]);
        const Scene* scene = sim_.scene(a[0]);
        const MousePointer shape = scene ? Runtime::pointer_shape_at(*scene, at.x, at.y) : MousePointer::Default;
        out_ << key_json(a[0], a[1], at.x, at.y, shape, sim_.now()) << '\n';
    });
    add_command("status", [this](const Args& a) {
        expect_args(a, 0, "status");
        out_ << (count_games_ ? status_json(sim_.runtime(), sim_.now(), sim_.session().games_started())
                              : status_json(sim_.runtime(), sim_.now()))
             << '\n';
    });
    add_command("sounds", [this](const Args& a) {
        expect_args(a, 0, "sounds");
        out_ << sounds_json(sim_.take_sounds(), sim_.now()) << '\n';
    });
    add_command("dump", [this](const Args& a) {
        expect_args(a, 1, "dump SCENE");
        out_ << dump_json(sim_.runtime(), scene_index(a[0]), sim_.now()) << '\n';
    });
}

void ScriptRunner::add_command(std::string name, Command command) { commands_[std::move(name)] = std::move(command); }

int ScriptRunner::run(std::istream& in, std::ostream& err) {
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        try {
            execute(line);
        } catch (const ScriptError& e) {
            out_.flush();
            err << "line " << number << ": " << e.what() << '\n';
            return 2;
        }
    }
    out_.flush();
    return 0;
}

void ScriptRunner::execute(const std::string& line) {
    Args words = split(line);
    if (words.empty() || words[0][0] == '#') return;
    const auto command = commands_.find(words[0]);
    if (command == commands_.end()) throw ScriptError("unknown command '" + words[0] + "'");
    words.erase(words.begin());
    command->second(words);
}

std::size_t ScriptRunner::scene_index(const std::string& name) const {
    const auto index = sim_.runtime().index_of(name);
    if (!index) throw ScriptError("unknown scene '" + name + "'");
    return *index;
}

int ScriptRunner::parse_int(const std::string& text, const char* what) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < -1'000'000 || value > 1'000'000)
        throw ScriptError(std::string(what) + " must be a whole number of pixels, not '" + text + "'");
    return value;
}

Nanos ScriptRunner::parse_ms(const std::string& text) {
    const std::optional<Nanos> t = read_decimal(text, kMillisecond);
    if (!t) throw ScriptError("MS must be a decimal number of milliseconds >= 0, not '" + text + "'");
    if (*t > kLongestWait) throw ScriptError("wait of '" + text + "' ms is too long");
    return *t;
}

void ScriptRunner::expect_args(const Args& args, std::size_t count, const char* usage) {
    if (args.size() < count) throw ScriptError(std::string("missing argument: ") + usage);
    if (args.size() > count) throw ScriptError(std::string("too many arguments: ") + usage);
}

void ScriptRunner::ignored(const std::string& what) { out_ << ignored_json(what, sim_.now()) << '\n'; }

void ScriptRunner::input(const Args& a, const char* verb) {
    const std::string v = verb;
    const bool by_name = v == "click" && a.size() == 2;
    if (!by_name) expect_args(a, 3, v == "click" ? "click SCENE NAME or click SCENE X Y" : (v + " SCENE X Y").c_str());
    const std::size_t index = scene_index(a[0]);
    const std::string what = v + " " + a[0] + " " + a[1] + (by_name ? "" : " " + a[2]);

    int x = 0;
    int y = 0;
    if (by_name) {
        const auto& rows = sim_.runtime().table(index).controls;
        const auto row = std::find_if(rows.begin(), rows.end(), [&](const ControlRow& r) { return r.name == a[1]; });
        if (row == rows.end()) throw ScriptError("unknown control '" + a[1] + "' of " + a[0]);
        if (std::holds_alternative<TimerProps>(row->props))
            throw ScriptError("'" + a[1] + "' is a timer: it has no place to click");
    } else {
        x = parse_int(a[1], "X");
        y = parse_int(a[2], "Y");
    }

    if (!sim_.runtime().running()) return ignored(what + ": the program has ended");
    const Scene* scene = sim_.scene(a[0]);
    if (!scene || !scene->shown()) return ignored(what + ": " + a[0] + " is not shown");
    if (by_name) {
        const Pixel centre = centre_pixel(*scene->find(a[1]));
        x = centre.x;
        y = centre.y;
    }
    if (v == "press")
        sim_.press(a[0], x, y);
    else if (v == "release")
        sim_.release(a[0], x, y);
    else
        sim_.click(a[0], x, y);
}

} // namespace guardianes
