// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Made-up scenes for the tests, so that the runtime's rules can be checked
// apart from the game's own scenes.

#include "paint/fonts.h"
#include "runtime/scene.h"
#include "scenes/scenes.h"
#include "sim/json.h"
#include "sim/simulation.h"

#include <deque>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

// Colours in the tests' messages as the simulator writes them.
namespace guardianes {
inline void PrintTo(Colour colour, std::ostream* out) { *out << to_string(colour); }
} // namespace guardianes

namespace guardianes::testing {

// A table views its rows, as the game's tables view their constant ones, so
// the rows of a made-up table are kept until the program ends.
inline SceneTable small_table(std::string_view name, std::vector<ControlRow> controls,
                              std::vector<CounterRow> counters = {}) {
    static std::deque<std::vector<ControlRow>> kept_controls;
    static std::deque<std::vector<CounterRow>> kept_counters;
    return {.name = name,
            .window = {.caption = name, .back_color = rgb(0x404040), .client_width = 1500, .client_height = 1500},
            .controls = kept_controls.emplace_back(std::move(controls)),
            .counters = kept_counters.emplace_back(std::move(counters))};
}

// The faces this machine has, loaded once for all of a program's tests.
inline FontLibrary& fonts() {
    static FontLibrary library;
    return library;
}

// A label `size` x `size` pixels at pixel (x, y).
inline LabelProps box(int x, int y, int size = 20) {
    return {.left = x * 15, .top = y * 15, .width = size * 15, .height = size * 15};
}

// A scene that raises the overflow error when `boom` is clicked.
inline SceneDef overflowing() {
    return {small_table("Form1", {label("boom", box(0, 0))}, {int16("n")}), [](Scene& s) {
                Int16Counter& n = s.int16("n");
                s.label("boom").on_click = [&n] {
                    n = 32767;
                    n += 1;
                };
            }};
}

// A label's or shape's rectangle; none for lines and timers.
inline std::optional<TwipsRect> rect_of(const Control& c) {
    if (c.kind() == ControlKind::Label) return static_cast<const Label&>(c).rect();
    if (c.kind() == ControlKind::Shape) return static_cast<const Shape&>(c).rect();
    return std::nullopt;
}

// Where each label and shape of a scene stands, and how far each has moved since.
using Positions = std::map<std::string, std::pair<Twips, Twips>>;
inline Positions positions(const Scene& scene) {
    Positions out;
    for (const auto& c : scene.controls())
        if (auto r = rect_of(*c)) out[c->name()] = {r->left, r->top};
    return out;
}
inline Positions moves(const Positions& before, const Scene& scene) {
    Positions out;
    for (const auto& [name, now] : positions(scene)) {
        const auto [left, top] = before.at(name);
        if (now != std::pair(left, top)) out[name] = {now.first - left, now.second - top};
    }
    return out;
}

// The labels and shapes lying wholly within `body`'s rectangle, listed
// after `first` (from the top of the list without one): a vehicle's parts.
inline std::set<std::string> parts_within(const Scene& scene, const std::string& body, const std::string& first = {}) {
    const TwipsRect b = *rect_of(*scene.find(body));
    std::set<std::string> parts;
    bool listed = first.empty();
    for (const auto& c : scene.controls()) {
        listed = listed || c->name() == first;
        const auto r = rect_of(*c);
        if (listed && r && r->left >= b.left && r->right() <= b.right() && r->top >= b.top && r->bottom() <= b.bottom())
            parts.insert(c->name());
    }
    return parts;
}

// A made-up scene `Form1` on the simulator, whose labels add their names to
// `clicks` ("top under") when clicked and whose timers add "NAME@MS" to
// `ticks` ("Timer1@109.375 ...") when they tick, all but those named silent.
class Lab {
    SceneTable table_;
    std::set<std::string> silent_;

public:
    explicit Lab(std::vector<ControlRow> rows, std::set<std::string> silent = {})
        : table_(small_table("Form1", std::move(rows))), silent_(std::move(silent)), sim({def()}) {}

    // The scene's definition, for a runtime of a test's own.
    SceneDef def() {
        return {table_, [this](Scene& s) {
                    for (const auto& c : s.controls()) {
                        const std::string name = c->name();
                        if (silent_.count(name)) continue;
                        if (c->kind() == ControlKind::Label)
                            s.label(name).on_click = [this, name] { note(clicks, name); };
                        if (c->kind() == ControlKind::Timer)
                            s.timer(name).on_tick = [this, name] { note(ticks, name + "@" + format_ms(sim.now())); };
                    }
                }};
    }
    Scene& scene() const { return *sim.scene("Form1"); }

    // How many times the label was clicked or the timer ticked.
    int count(const std::string& name) const {
        std::istringstream words(clicks + ' ' + ticks);
        int n = 0;
        for (std::string w; words >> w;) n += w == name || w.starts_with(name + "@");
        return n;
    }

    Simulation sim;
    std::string clicks;
    std::string ticks;

private:
    static void note(std::string& log, const std::string& entry) { log += (log.empty() ? "" : " ") + entry; }
};

} // namespace guardianes::testing
