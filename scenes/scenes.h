// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/scene_table.h"

#include <vector>

namespace guardianes {

SceneDef menu_scene();      // Form1
SceneDef race_scene();      // Form2
SceneDef fire_scene();      // Form3
SceneDef ambulance_scene(); // Form4
SceneDef closing_scene();   // Form5

// Every scene of the game, the menu first: the program starts on it.
std::vector<SceneDef> game_scenes();

} // namespace guardianes
