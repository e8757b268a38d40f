// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cue.h"

namespace guardianes {

class Scene;

// Told about what the player should see. A host opens and repaints windows
// through it; the simulator and tests need none.
class RuntimeObserver {
public:
    virtual ~RuntimeObserver() = default;
    virtual void scene_shown(Scene&) {}
    virtual void scene_hidden(Scene&) {}
    // Called just before the scene is destroyed.
    virtual void scene_closed(Scene&) {}
    // Called once after each handler for every scene it changed; the scene's
    // damage area says where. The changes are forgotten afterwards.
    virtual void scene_changed(Scene&) {}
    // A handler of the shown scene started a sound, at the time the
    // runtime's now() says; a cue started again while it sounds plays again.
    virtual void cue_started(Scene&, Cue) {}
    // The scene hides or goes: every sound it started ends now.
    virtual void cues_stopped(Scene&) {}
};

} // namespace guardianes
