// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/simulation.h"

#include "scenes/scenes.h"

namespace guardianes {

namespace {

GameOptions with_keyboard(GameOptions options) {
    options.keyboard = true;
    return options;
}

} // namespace

Simulation::Simulation() : Simulation(game_scenes()) {}

Simulation::Simulation(GameOptions options) : Simulation(game_scenes(), options) {}

Simulation::Simulation(std::vector<SceneDef> scenes, GameOptions options)
    : session_([this, scenes = std::move(scenes)] { return std::make_unique<Runtime>(scenes, clock_); }, clock_,
               with_keyboard(options)) {
    session_.set_observer(this);
    session_.new_game();
    see_errors();
}

Simulation::~Simulation() { session_.set_observer(nullptr); }

void Simulation::wait(Nanos span) {
    const Nanos target = clock_.now() + std::max<Nanos>(span, 0);
    for (auto next = session_.next_wakeup(); next && *next <= target; next = session_.next_wakeup()) {
        clock_.set(std::max(*next, clock_.now()));
        session_.serve_wakeup();
        see_errors();
    }
    clock_.set(target);
}

Scene* Simulation::shown(std::string_view name) const {
    Scene* scene = runtime().scene(name);
    return scene && scene->shown() && session_.playing() ? scene : nullptr;
}

bool Simulation::press(std::string_view scene, int x, int y) {
    Scene* target = shown(scene);
    if (target) session_.press(*target, {x, y});
    see_errors();
    return target;
}

bool Simulation::release(std::string_view scene, int x, int y) {
    Scene* target = shown(scene);
    if (target) session_.release(*target, {x, y});
    see_errors();
    return target;
}

bool Simulation::click(std::string_view scene, int x, int y) {
    Scene* target = shown(scene);
    if (!target) return false;
    session_.press(*target, {x, y});
    if (target->shown()) session_.release(*target, {x, y});
    see_errors();
    return true;
}

bool Simulation::click(std::string_view scene, std::string_view control) {
    Scene* target = shown(scene);
    if (!target) return false;
    const Control* c = target->find(control);
    if (!c) return false;
    const Pixel centre = centre_pixel(*c);
    return click(scene, centre.x, centre.y);
}

bool Simulation::close(std::string_view scene) {
    Scene* target = shown(scene);
    if (target) session_.close(*target);
    return target;
}

Pixel Simulation::pointer(std::string_view scene) const {
    const Scene* target = runtime().scene(scene);
    return target ? session_.pointer(*target) : Pixel{0, 0};
}

void Simulation::move_pointer(std::string_view scene, Pixel at) {
    if (Scene* target = runtime().scene(scene)) session_.pointer_moved(*target, at);
}

bool Simulation::key(std::string_view scene, KeyStroke press) {
    if (!session_.playing()) return false;
    Scene* target = shown(scene);
    const bool taken = session_.key(target, press);
    see_errors();
    return taken;
}

void Simulation::see_errors() {
    if (!error_waiting_ || !session_.options().kiosk) return;
    error_waiting_ = false;
    session_.error_seen();
}

void Simulation::scene_shown(Scene& scene) {
    if (watcher_) watcher_->scene_shown(scene);
}

void Simulation::scene_hidden(Scene& scene) {
    if (watcher_) watcher_->scene_hidden(scene);
}

void Simulation::scene_closed(Scene& scene) {
    if (watcher_) watcher_->scene_closed(scene);
}

void Simulation::scene_changed(Scene& scene) {
    if (watcher_) watcher_->scene_changed(scene);
}

void Simulation::cue_started(Scene& scene, Cue cue) {
    sounds_.push_back({scene.name(), cue, clock_.now()});
    if (watcher_) watcher_->cue_started(scene, cue);
}

void Simulation::cues_stopped(Scene& scene) {
    if (watcher_) watcher_->cues_stopped(scene);
}

} // namespace guardianes
