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
    if (target) runtime_.press(*target, x, y);
    return target;
}

bool Simulation::release(std::string_view scene, int x, int y) {
    Scene* target = shown(scene);
    if (target) runtime_.release(*target, x, y);
    return target;
}

bool Simulation::click(std::string_view scene, int x, int y) {
    Scene* target = shown(scene);
    if (!target) return false;
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

namespace {

int floor_div(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return static_cast<int>(q);
}

} // namespace

Pixel centre_pixel(const Control& control) {
    TwipsRect r;
    switch (control.kind()) {
    case ControlKind::Label: r = static_cast<const Label&>(control).rect(); break;
    case ControlKind::Shape: r = static_cast<const Shape&>(control).rect(); break;
    case ControlKind::Line: {
        const LineProps& p = static_cast<const Line&>(control).props();
        r = {std::min(p.x1, p.x2), std::min(p.y1, p.y2), std::abs(p.x2 - p.x1), std::abs(p.y2 - p.y1)};
        break;
    }
    case ControlKind::Timer: break;
    }
    return {floor_div(2 * std::int64_t{r.left} + r.width, 30), floor_div(2 * std::int64_t{r.top} + r.height, 30)};
}

} // namespace guardianes
