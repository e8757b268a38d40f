// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/clock.h"
#include "runtime/runtime.h"
#include "session/session.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace guardianes {

// A sound a scene started, and when.
struct StartedCue {
    std::string scene;
    Cue cue;
    Nanos t;
};

// The game on a virtual clock: time moves only when told to, and every
// wake-up on the way is served exactly as the live game serves it, through
// the same session a live host drives. Keyboard play is always on here.
class Simulation final : private SessionObserver {
public:
    // The game's own scenes, started on the menu at time 0.
    Simulation();
    explicit Simulation(std::vector<SceneDef> scenes, GameOptions options = {});
    explicit Simulation(GameOptions options);
    ~Simulation() override;

    Session& session() { return session_; }
    Runtime& runtime() { return session_.runtime(); }
    Nanos now() const { return clock_.now(); }
    // Told what a host would be told of the scenes, as a live host is.
    void watch(RuntimeObserver* watcher) { watcher_ = watcher; }

    // Advances the clock, serving each wake-up up to and including `now() + span`.
    void wait(Nanos span);
    void wait_ms(double ms) { wait(static_cast<Nanos>(ms * kMillisecond)); }

    // The scene of that name if it exists now (shown or hidden), else null.
    Scene* scene(std::string_view name) const { return runtime().scene(name); }

    // A player's press, release and click at a client pixel of a shown scene;
    // each returns false and does nothing when the scene is not shown.
    bool press(std::string_view scene, int x, int y);
    bool release(std::string_view scene, int x, int y);
    bool click(std::string_view scene, int x, int y);
    // A click on the centre pixel of a control, from its current position.
    bool click(std::string_view scene, std::string_view control);
    bool close(std::string_view scene);

    // The pointer over each scene stays where the player's last press,
    // release, click, move or key there left it, (0, 0) at first.
    Pixel pointer(std::string_view scene) const;
    void move_pointer(std::string_view scene, Pixel at);
    // A key while the scene has the keyboard; false, doing nothing, when
    // the game is not running or the scene is not shown.
    bool key(std::string_view scene, KeyStroke press);

    // The sounds started since the last call, in the order they started.
    std::vector<StartedCue> take_sounds() { return std::exchange(sounds_, {}); }

private:
    Runtime& runtime() const { return session_.runtime(); }
    Scene* shown(std::string_view name) const;
    // A run-time error on a shared machine is seen at once: the simulator
    // has no one to wait for.
    void see_errors();

    // SessionObserver
    void scene_shown(Scene& scene) override;
    void scene_hidden(Scene& scene) override;
    void scene_closed(Scene& scene) override;
    void scene_changed(Scene& scene) override;
    void cue_started(Scene& scene, Cue cue) override;
    void cues_stopped(Scene& scene) override;
    void error_raised(const ErrorReport&) override { error_waiting_ = true; }

    VirtualClock clock_;
    Session session_;
    RuntimeObserver* watcher_ = nullptr;
    bool error_waiting_ = false;
    std::vector<StartedCue> sounds_;
};

} // namespace guardianes
