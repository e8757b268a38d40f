// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/scene_table.h"

#include <string>
#include <utility>
#include <vector>

namespace guardianes {

SceneDef menu_scene();      // Form1
SceneDef race_scene();      // Form2
SceneDef fire_scene();      // Form3
SceneDef ambulance_scene(); // Form4
SceneDef closing_scene();   // Form5

// Every scene of the game, the menu first: the program starts on it.
std::vector<SceneDef> game_scenes();

// Every text the game's labels show, each with its label's font: the
// captions of the scene tables (the handlers write only numbers). The
// glyphs baked for the browser and Windows are those these texts draw.
std::vector<std::pair<Font, std::string>> game_texts();

} // namespace guardianes
