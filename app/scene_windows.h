// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/scene.h"
#include "session/options.h"

#include <cstddef>
#include <map>

namespace guardianes {

// The desktop hosts' windows, one for each place in the game's list of
// scenes, and when each shows. A Window is the host's own, with a member
// `Scene* scene`: the current game's scene shown in it, if any. The window
// of a place outlives its scene, so that a new game's scene takes it over
// and the screen never shows the desktop between two games.
template <class Window> class SceneWindows {
public:
    explicit SceneWindows(const GameOptions& options) : options_(options) {}

    // The window of the scene's place, made empty the first time, now
    // showing this scene.
    Window& take(Scene& scene) {
        Window& w = windows_[scene.index()];
        w.scene = &scene;
        return w;
    }
    Window* find(const Scene& scene) {
        auto it = windows_.find(scene.index());
        return it == windows_.end() ? nullptr : &it->second;
    }
    // The window showing this very scene of the current game.
    Window* showing(const Scene& scene) {
        Window* w = find(scene);
        return w && w->scene == &scene ? w : nullptr;
    }
    // A window showing a scene of the current game that `is` picks.
    template <class Pick> Window* of(Pick is) {
        for (auto& [index, w] : windows_)
            if (w.scene && is(w)) return &w;
        return nullptr;
    }
    // The window of the scene shown last, for a message to stand over.
    const Window* top() const {
        const Window* top = nullptr;
        for (const auto& [index, w] : windows_)
            if (w.scene && w.scene->shown()) top = &w;
        return top;
    }
    void erase(const Scene& scene) { windows_.erase(scene.index()); }

    // Whether a hidden scene's window goes at once. In full screen it stays
    // up until the scene that takes its place is shown, so that the desktop
    // never shows between the two; hide_left_behind() then takes it down.
    bool hides_at_once() const { return !options_.fullscreen; }

    // The current game's scenes go: every window waits for the next game's.
    void forget_scenes() {
        for (auto& [index, w] : windows_) w.scene = nullptr;
    }
    // Calls `hide` on every window whose scene is not shown.
    template <class Hide> void hide_left_behind(Hide hide) {
        for (auto& [index, w] : windows_)
            if (!w.scene || !w.scene->shown()) hide(w);
    }

    auto begin() { return windows_.begin(); }
    auto end() { return windows_.end(); }

private:
    const GameOptions& options_;
    std::map<std::size_t, Window> windows_; // by the scene's place
};

} // namespace guardianes
