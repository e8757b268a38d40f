// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/glyphs/texts_to_bake.h"

#include "scenes/scenes.h"
#include "session/texts.h"

#include <variant>

namespace guardianes {

std::vector<std::pair<Font, std::string>> texts_to_bake() {
    std::vector<std::pair<Font, std::string>> texts;
    for (const SceneDef& scene : game_scenes()) {
        for (const ControlRow& row : scene.table.controls) {
            const auto* label = std::get_if<LabelProps>(&row.props);
            if (!label) continue;
            texts.emplace_back(label->font, label->caption);
            if (!is_words(label->caption)) continue;
            const std::string context = caption_context(scene.table.name, row.name);
            for (const BuiltInCatalogue& built_in : built_in_catalogues())
                if (const auto translation = Catalogue(built_in.mo).find(context, label->caption))
                    texts.emplace_back(label->font, *translation);
        }
    }
    return texts;
}

} // namespace guardianes
