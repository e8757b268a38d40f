// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/scene_lifecycle.h"

#include <algorithm>
#include <stdexcept>

namespace guardianes {

namespace {

// Stands in for the runtime while every scene is built once and bound, so
// that a handler naming a control or scene that does not exist is caught
// before the game starts.
class CheckingContext final : public SceneContext {
public:
    explicit CheckingContext(const SceneLifecycle& scenes) : scenes_(scenes) {}
    Nanos now() const override { return 0; }
    std::size_t scene_index(std::string_view name) const override {
        if (auto index = scenes_.index_of(name)) return *index;
        throw std::invalid_argument("no scene named '" + std::string(name) + "'");
    }
    void show(std::size_t) override {}
    void hide(std::size_t) override {}
    void timer_switched(const Timer&) override {}
    void play(std::size_t, Cue) override {}

private:
    const SceneLifecycle& scenes_;
};

} // namespace

SceneLifecycle::SceneLifecycle(std::vector<SceneDef> scenes, SceneContext& context)
    : defs_(std::move(scenes)), context_(context), slots_(defs_.size()) {
    if (defs_.empty()) throw std::invalid_argument("no scenes to run");
    CheckingContext checking(*this);
    for (std::size_t i = 0; i < defs_.size(); ++i) {
        if (index_of(defs_[i].table.name) != i)
            throw std::invalid_argument("two scenes named '" + std::string(defs_[i].table.name) + "'");
        Scene trial(defs_[i].table, i, checking);
        if (defs_[i].bind) defs_[i].bind(trial);
    }
}

std::optional<std::size_t> SceneLifecycle::index_of(std::string_view name) const {
    for (std::size_t i = 0; i < defs_.size(); ++i)
        if (defs_[i].table.name == name) return i;
    return std::nullopt;
}

SceneState SceneLifecycle::state(std::size_t index) const {
    const Slot& slot = slots_[index];
    if (slot.scene) return slot.scene->state();
    return slot.closed ? SceneState::Closed : SceneState::NotCreated;
}

void SceneLifecycle::fail(ErrorReport error) {
    error_ = std::move(error);
    running_ = false;
}

Scene* SceneLifecycle::show(std::size_t index) {
    Slot& slot = slots_[index];
    if (slot.closed || (slot.scene && slot.scene->shown())) return nullptr;
    Scene* created = nullptr;
    if (!slot.scene) {
        slot.scene = std::make_unique<Scene>(defs_[index].table, index, context_);
        if (defs_[index].bind) defs_[index].bind(*slot.scene);
        created = slot.scene.get();
    }
    Scene& scene = *slot.scene;
    scene.set_state(SceneState::Shown);
    scene.damage_all();
    if (observer_) observer_->scene_shown(scene);
    return created;
}

void SceneLifecycle::hide(std::size_t index) {
    Scene* scene = slots_[index].scene.get();
    if (!scene || !scene->shown()) return;
    scene->set_state(SceneState::Hidden);
    if (observer_) {
        observer_->cues_stopped(*scene);
        observer_->scene_hidden(*scene);
    }
}

void SceneLifecycle::close(Scene& scene) {
    Slot& slot = slots_[scene.index()];
    if (observer_) {
        observer_->cues_stopped(scene);
        observer_->scene_closed(scene);
    }
    slot.scene.reset();
    slot.closed = true;
    check_running();
}

void SceneLifecycle::play(std::size_t index, Cue cue) {
    Scene* scene = slots_[index].scene.get();
    if (scene && scene->shown() && observer_) observer_->cue_started(*scene, cue);
}

void SceneLifecycle::resize(Scene& scene, int width, int height) {
    scene.resize_client(std::max(width, 0) * kTwipsPerPixel, std::max(height, 0) * kTwipsPerPixel);
    report_changes();
}

void SceneLifecycle::report_changes() {
    for (Slot& slot : slots_) {
        if (!slot.scene || !slot.scene->changed()) continue;
        if (observer_) observer_->scene_changed(*slot.scene);
        slot.scene->clear_changes();
    }
    check_running();
}

void SceneLifecycle::check_running() {
    const bool any_shown =
        std::any_of(slots_.begin(), slots_.end(), [](const Slot& s) { return s.scene && s.scene->shown(); });
    if (!any_shown) running_ = false;
}

} // namespace guardianes
