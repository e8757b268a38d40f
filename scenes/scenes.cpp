// SPDX-License-Identifier: GPL-3.0-or-later
#include "scenes/scenes.h"

#include <variant>

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

std::vector<std::pair<Font, std::string>> game_texts() {
    std::vector<std::pair<Font, std::string>> texts;
    for (const SceneDef& scene : game_scenes()) {
        for (const ControlRow& row : scene.table.controls) {
            if (const auto* label = std::get_if<LabelProps>(&row.props))
                texts.emplace_back(label->font, label->caption);
        }
    }
    return texts;
}

} // namespace guardianes
