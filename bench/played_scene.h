// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/simulation.h"

#include <memory>
#include <string_view>

namespace guardianes::bench {

// A fresh game on a virtual clock, played up to the moment `scene` has just
// opened: the menu at start-up, or a service scene right after the menu's
// departure to it. Its controls are exactly as its table sets them.
class PlayedScene {
public:
    explicit PlayedScene(std::string_view scene);

    Simulation& simulation() { return *sim_; }
    Scene& scene() const { return *scene_; }

private:
    std::unique_ptr<Simulation> sim_;
    Scene* scene_;
};

} // namespace guardianes::bench
