// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime_observer.h"
#include "scene.h"
#include "scene_table.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace guardianes {

struct ErrorReport {
    int number = 0;
    std::string name;
};

// Every scene of the game from creation to close, and the run they make up:
// it runs while some scene is shown, and ends at once on a run-time error.
class SceneLifecycle {
public:
    // Builds every scene once to check that its handlers name only controls,
    // counters and scenes that exist; throws std::invalid_argument otherwise.
    SceneLifecycle(std::vector<SceneDef> scenes, SceneContext& context);

    void set_observer(RuntimeObserver* observer) { observer_ = observer; }

    std::size_t count() const { return defs_.size(); }
    const SceneTable& table(std::size_t index) const { return defs_[index].table; }
    std::optional<std::size_t> index_of(std::string_view name) const;
    SceneState state(std::size_t index) const;
    Scene* scene(std::size_t index) const { return slots_[index].scene.get(); }

    void start() { running_ = true; }
    void stop() { running_ = false; }
    bool running() const { return running_; }
    const std::optional<ErrorReport>& error() const { return error_; }
    void fail(ErrorReport error);

    // Show creates the scene the first time; it returns the scene it created.
    Scene* show(std::size_t index);
    void hide(std::size_t index);
    // The player's close of a shown scene: it is gone for good.
    void close(Scene& scene);
    // A handler of the scene started a sound: heard only from a shown scene.
    void play(std::size_t index, Cue cue);
    void resize(Scene& scene, int width, int height);

    // Tells the observer about every scene that changed, then forgets the changes.
    void report_changes();

private:
    struct Slot {
        std::unique_ptr<Scene> scene;
        bool closed = false;
    };
    void check_running();

    std::vector<SceneDef> defs_;
    SceneContext& context_;
    std::vector<Slot> slots_;
    RuntimeObserver* observer_ = nullptr;
    bool running_ = false;
    std::optional<ErrorReport> error_;
};

} // namespace guardianes
