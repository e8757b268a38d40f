// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls.h"

#include <functional>
#include <span>
#include <string_view>
#include <variant>

namespace guardianes {

// A scene's table is constant data, made when the program is compiled: rows
// of plain values whose text is string literals. A game reads its tables
// when it builds its scenes and copies what can change into the live
// controls, so the rows are never written and outlive every game.

// One row of a scene table: a control's name and the properties that differ
// from its kind's defaults.
struct ControlRow {
    std::string_view name{};
    std::variant<LabelProps, ShapeProps, LineProps, TimerProps> props;
};

constexpr ControlRow label(std::string_view name, const LabelProps& props) { return {name, props}; }
constexpr ControlRow shape(std::string_view name, const ShapeProps& props) { return {name, props}; }
constexpr ControlRow line(std::string_view name, const LineProps& props) { return {name, props}; }
constexpr ControlRow timer(std::string_view name, const TimerProps& props) { return {name, props}; }

enum class CounterKind : std::uint8_t { Int16, Variant };

struct CounterRow {
    std::string_view name{};
    CounterKind kind;
};

constexpr CounterRow int16(std::string_view name) { return {name, CounterKind::Int16}; }
constexpr CounterRow variant(std::string_view name) { return {name, CounterKind::Variant}; }

struct WindowProps {
    std::string_view caption{};
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
    std::string_view name{};
    WindowProps window{};
    std::span<const ControlRow> controls{};
    std::span<const CounterRow> counters{};
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
