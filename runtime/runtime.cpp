// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/runtime.h"

#include <stdexcept>

namespace guardianes {

Runtime::Runtime(std::vector<SceneDef> scenes, Clock& clock) : clock_(clock), scenes_(std::move(scenes), *this) {}

void Runtime::start() {
    scenes_.start();
    show(0);
    scenes_.report_changes();
}

Scene* Runtime::scene(std::string_view name) const {
    const auto index = index_of(name);
    return index ? scene(*index) : nullptr;
}

void Runtime::press(Scene& scene, int x, int y) {
    if (!running() || !scene.shown()) return;
    clicks_.press(scene, x, y, clock_.now());
}

void Runtime::release(Scene& scene, int x, int y) {
    Label* label = clicks_.release(scene, x, y);
    if (!running() || !scene.shown() || !label) return;
    run_handler(label->on_click, clock_.now());
}

void Runtime::close(Scene& scene) {
    if (!running() || !scene.shown()) return;
    clicks_.forget(scene);
    timers_.remove(scene);
    scenes_.close(scene);
}

void Runtime::end() {
    for (std::size_t i = 0; i < scenes_.count(); ++i) {
        Scene* scene = scenes_.scene(i);
        if (!scene) continue;
        clicks_.forget(*scene);
        timers_.remove(*scene);
        scenes_.close(*scene);
    }
    scenes_.stop();
}

void Runtime::resize(Scene& scene, int width, int height) {
    if (!running() || !scene.shown()) return;
    scenes_.resize(scene, width, height);
}

bool Runtime::serve_wakeup() {
    if (!running()) return false;
    return timers_.serve(clock_.now(), [this](Timer& timer, Nanos at) {
        if (timer.on_tick) run_handler(timer.on_tick, at);
        return running();
    });
}

Nanos Runtime::now() const { return handler_now_ ? *handler_now_ : clock_.now(); }

std::size_t Runtime::scene_index(std::string_view name) const {
    if (auto index = index_of(name)) return *index;
    throw std::invalid_argument("no scene named '" + std::string(name) + "'");
}

void Runtime::show(std::size_t index) {
    if (Scene* created = scenes_.show(index)) timers_.add(*created, now());
}

void Runtime::hide(std::size_t index) { scenes_.hide(index); }

void Runtime::play(std::size_t index, Cue cue) { scenes_.play(index, cue); }

void Runtime::timer_switched(const Timer& timer) {
    if (timer.enabled())
        timers_.started(timer, now());
    else
        timers_.stopped(timer);
}

void Runtime::run_handler(const Handler& handler, Nanos at) {
    handler_now_ = at;
    try {
        handler();
    } catch (const RuntimeError& e) {
        scenes_.fail({e.number(), e.what()});
    }
    handler_now_.reset();
    scenes_.report_changes();
}

} // namespace guardianes
