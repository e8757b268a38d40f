// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls.h"

#include <functional>
#include <string>
#include <variant>
#include <vector>

namespace guardianes {

// One row of a scene table: a control's name and the properties that differ
// from its kind's defaults.
struct ControlRow {
    std::string name{};
    std::variant<LabelProps, ShapeProps, LineProps, TimerProps> props;
};

inline ControlRow label(std::string name, LabelProps props) { return {std::move(name), std::move(props)}; }
inline ControlRow shape(std::string name, ShapeProps props) { return {std::move(name), props}; }
inline ControlRow line(std::string name, LineProps props) { return {std::move(name), props}; }
inline ControlRow timer(std::string name, TimerProps props) { return {std::move(name), props}; }

// A run of n spaces. Captions place their words with long runs of spaces,
// and the count matters: writing spaces(17) keeps it readable.
inline std::string spaces(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

enum class CounterKind : std::uint8_t { Int16, Variant };

struct CounterRow {
    std::string name{};
    CounterKind kind;
};

inline CounterRow int16(std::string name) { return {std::move(name), CounterKind::Int16}; }
inline CounterRow variant(std::string name) { return {std::move(name), CounterKind::Variant}; }

struct WindowProps {
    std::string caption{};
    Colour back_color = SystemColour::ButtonFace;
    Colour fore_color = SystemColour::ButtonText;
    Colour fill_color = rgb(0x000000);
    MousePointer mouse_pointer = MousePointer::Default;
    Twips client_width = 0;
    Twips client_height = 0;
};

// Everything a scene is made from: its window, its controls in drawing order
// (first row on top) and its counters in declaration order.
struct SceneTable {
    std::string name{};
    WindowProps window{};
    std::vector<ControlRow> controls{};
    std::vector<CounterRow> counters{};
};

class Scene;

// Binds a scene's handlers to its controls, once, when the scene is created.
// Names are looked up here and never again.
using BindFn = std::function<void(Scene&)>;

struct SceneDef {
    SceneTable table;
    BindFn bind{};
};

} // namespace guardianes
