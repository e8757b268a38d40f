// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/clock.h"
#include "runtime/runtime.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace guardianes {

// The game on a virtual clock: time moves only when told to, and every
// wake-up on the way is served exactly as the live game serves it.
class Simulation {
public:
    // The game's own scenes, started on the menu at time 0.
    Simulation();
    explicit Simulation(std::vector<SceneDef> scenes);

    Runtime& runtime() { return runtime_; }
    Nanos now() const { return clock_.now(); }

    // Advances the clock, serving each wake-up up to and including `now() + span`.
    void wait(Nanos span);
    void wait_ms(double ms) { wait(static_cast<Nanos>(ms * kMillisecond)); }

    // The scene of that name if it exists now (shown or hidden), else null.
    Scene* scene(std::string_view name) const { return runtime_.scene(name); }

    // A player's press, release and click at a client pixel of a shown scene;
    // each returns false and does nothing when the scene is not shown.
    bool press(std::string_view scene, int x, int y);
    bool release(std::string_view scene, int x, int y);
    bool click(std::string_view scene, int x, int y);
    // A click on the centre pixel of a control, from its current position.
    bool click(std::string_view scene, std::string_view control);
    bool close(std::string_view scene);

    // Keyboard play. The pointer over each scene stays where the player's
    // last press, release, click or key there left it, (0, 0) at first.
    Pixel pointer(std::string_view scene) const;
    void move_pointer(std::string_view scene, Pixel at);
    // A pointer key over a shown scene; false, doing nothing, when it is not.
    bool key(std::string_view scene, PointerKey key, bool fine);
    // Space or Enter: a click at the pointer.
    bool click_at_pointer(std::string_view scene);

private:
    Scene* shown(std::string_view name) const;

    VirtualClock clock_;
    Runtime runtime_;
    std::map<std::string, Pixel, std::less<>> pointers_;
};

} // namespace guardianes
