// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/simulation.h"

#include "scenes/scenes.h"

namespace guardianes {

Simulation::Simulation() : Simulation(game_scenes()) {}

Simulation::Simulation(std::vector<SceneDef> scenes) : runtime_(std::move(scenes), clock_) { runtime_.start(); }

void Simulation::wait(Nanos span) {
    const Nanos target = clock_.now() + std::max<Nanos>(span, 0);
    for (auto next = runtime_.next_wakeup(); next && *next <= target && runtime_.running();
         next = runtime_.next_wakeup()) {
        clock_.set(*next);
        runtime_.serve_wakeup();
    }
    clock_.set(target);
}

Scene* Simulation::shown(std::string_view name) const {
    Scene* scene = runtime_.scene(name);
    return scene && scene->shown() && runtime_.running() ? scene : nullptr;
}

bool Simulation::press(std::string_view scene, int x, int y) {
    Scene* target = shown(scene);
    if (target) move_pointer(scene, {x, y});
    if (target) runtime_.press(*target, x, y);
    return target;
}

bool Simulation::release(std::string_view scene, int x, int y) {
    Scene* target = shown(scene);
    if (target) move_pointer(scene, {x, y});
    if (target) runtime_.release(*target, x, y);
    return target;
}

bool Simulation::click(std::string_view scene, int x, int y) {
    Scene* target = shown(scene);
    if (!target) return false;
    move_pointer(scene, {x, y});
    runtime_.press(*target, x, y);
    if (target->shown()) runtime_.release(*target, x, y);
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
    if (target) runtime_.close(*target);
    return target;
}

Pixel Simulation::pointer(std::string_view scene) const {
    const auto it = pointers_.find(scene);
    return it != pointers_.end() ? it->second : Pixel{0, 0};
}

void Simulation::move_pointer(std::string_view scene, Pixel at) { pointers_.insert_or_assign(std::string(scene), at); }

bool Simulation::key(std::string_view scene, PointerKey key, bool fine) {
    const Scene* target = shown(scene);
    if (target) move_pointer(scene, Runtime::move_pointer(*target, pointer(scene), key, fine));
    return target;
}

bool Simulation::click_at_pointer(std::string_view scene) {
    const Pixel at = pointer(scene);
    return click(scene, at.x, at.y);
}

} // namespace guardianes
