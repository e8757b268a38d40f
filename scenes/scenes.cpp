// SPDX-License-Identifier: GPL-3.0-or-later
#include "scenes/scenes.h"

namespace guardianes {

std::vector<SceneDef> game_scenes() {
    std::vector<SceneDef> scenes;
    scenes.push_back(menu_scene());
    scenes.push_back(race_scene());
    scenes.push_back(fire_scene());
    scenes.push_back(ambulance_scene());
    scenes.push_back(closing_scene());
    return scenes;
}

} // namespace guardianes
