// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/scene.h"

#include <algorithm>
#include <stdexcept>

namespace guardianes {

namespace {

template <class... Fs> struct Overloaded : Fs... { using Fs::operator()...; };
// Clang before version 17 deduces no aggregate's template arguments by
// itself, and the fuzz targets are built with clang.
template <class... Fs> Overloaded(Fs...) -> Overloaded<Fs...>;

[[noreturn]] void missing(const Scene& scene, std::string_view what, std::string_view name) {
    throw std::invalid_argument(scene.name() + " has no " + std::string(what) + " named '" + std::string(name) + "'");
}

template <class T> T& find_kind(const Scene& scene, std::string_view name, ControlKind kind) {
    Control* control = scene.find(name);
    if (!control || control->kind() != kind) missing(scene, to_string(kind), name);
    return static_cast<T&>(*control);
}

} // namespace

const char* to_string(SceneState state) {
    switch (state) {
    case SceneState::NotCreated: return "not created";
    case SceneState::Shown: return "shown";
    case SceneState::Hidden: return "hidden";
    case SceneState::Closed: return "closed";
    }
    return "?";
}

Scene::Scene(const SceneTable& table, std::size_t index, SceneContext& context)
    : table_(&table), name_(table.name), caption_(context.caption(table.name, {}, table.window.caption)), index_(index),
      context_(&context), mouse_pointer_(table.window.mouse_pointer), client_width_(table.window.client_width),
      client_height_(table.window.client_height) {
    controls_.reserve(table.controls.size());
    for (const ControlRow& row : table.controls) {
        std::string name(row.name);
        if (find(name)) throw std::invalid_argument(name_ + " has two controls named '" + name + "'");
        controls_.push_back(std::visit(Overloaded{
                                           [&](LabelProps p) -> std::unique_ptr<Control> {
                                               p.caption = context.caption(table.name, row.name, p.caption);
                                               return std::make_unique<Label>(*this, std::move(name), p);
                                           },
                                           [&](const ShapeProps& p) -> std::unique_ptr<Control> {
                                               return std::make_unique<Shape>(*this, std::move(name), p);
                                           },
                                           [&](const LineProps& p) -> std::unique_ptr<Control> {
                                               return std::make_unique<Line>(*this, std::move(name), p);
                                           },
                                           [&](const TimerProps& p) -> std::unique_ptr<Control> {
                                               return std::make_unique<Timer>(*this, std::move(name), p);
                                           },
                                       },
                                       row.props));
    }
    // Counters never move once made: handlers keep references to them.
    counters_.reserve(table.counters.size());
    for (const CounterRow& row : table.counters) {
        const bool taken = std::any_of(counters_.begin(), counters_.end(), [&](const Counter& c) {
            return std::visit([&](const auto& counter) { return counter.name() == row.name; }, c);
        });
        std::string name(row.name);
        if (taken) throw std::invalid_argument(name_ + " has two counters named '" + name + "'");
        if (row.kind == CounterKind::Int16)
            counters_.emplace_back(std::in_place_type<Int16Counter>, std::move(name));
        else
            counters_.emplace_back(std::in_place_type<VariantCounter>, std::move(name));
    }
}

void Scene::set_mouse_pointer(MousePointer pointer) {
    if (pointer == mouse_pointer_) return;
    mouse_pointer_ = pointer;
    pointer_changed_ = true;
}

void Scene::resize_client(Twips width, Twips height) {
    if (width == client_width_ && height == client_height_) return;
    client_width_ = width;
    client_height_ = height;
    damage_all();
}

SceneLink Scene::link(std::string_view scene_name) const { return {*context_, context_->scene_index(scene_name)}; }

Control* Scene::find(std::string_view name) const {
    for (const auto& control : controls_)
        if (control->name() == name) return control.get();
    return nullptr;
}

Label& Scene::label(std::string_view name) const { return find_kind<Label>(*this, name, ControlKind::Label); }
Shape& Scene::shape(std::string_view name) const { return find_kind<Shape>(*this, name, ControlKind::Shape); }
Line& Scene::line(std::string_view name) const { return find_kind<Line>(*this, name, ControlKind::Line); }
Timer& Scene::timer(std::string_view name) const { return find_kind<Timer>(*this, name, ControlKind::Timer); }

Int16Counter& Scene::int16(std::string_view name) {
    for (Counter& c : counters_)
        if (auto* counter = std::get_if<Int16Counter>(&c); counter && counter->name() == name) return *counter;
    missing(*this, "16-bit counter", name);
}

VariantCounter& Scene::variant(std::string_view name) {
    for (Counter& c : counters_)
        if (auto* counter = std::get_if<VariantCounter>(&c); counter && counter->name() == name) return *counter;
    missing(*this, "variant counter", name);
}

void Scene::damage(const TwipsRect& area) { damage_.add(to_pixels(area)); }

void Scene::damage_all() { damage_.add(client_area()); }

void Scene::clear_changes() {
    damage_.clear();
    pointer_changed_ = false;
}

} // namespace guardianes
