// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/played_scene.h"

#include <array>
#include <stdexcept>
#include <string>

namespace guardianes::bench {

namespace {

// The menu button that opens each service scene.
struct Door {
    std::string_view scene;
    std::string_view button;
};

constexpr std::array<Door, 4> kDoors{{
    {"Form2", "portal1"},
    {"Form3", "portal2"},
    {"Form4", "portal3"},
    {"Form5", "portal4"},
}};

// A departure's last light tick, the 80th, falls at 1250 ms.
constexpr double kDepartureMs = 1250;

} // namespace

PlayedScene::PlayedScene(std::string_view scene) : sim_(std::make_unique<Simulation>()) {
    for (const Door& door : kDoors) {
        if (door.scene != scene) continue;
        sim_->click("Form1", door.button);
        sim_->wait_ms(kDepartureMs);
    }
    scene_ = sim_->scene(scene);
    if (!scene_ || !scene_->shown()) throw std::logic_error("the game did not open " + std::string(scene));
}

} // namespace guardianes::bench
