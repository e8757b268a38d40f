// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace guardianes {

// The scenes' texts in the player's language. The runtime asks for each
// caption of a scene's table as it builds the scene, and keeps what it is
// told; a game without a Translation shows its tables' own texts.
class Translation {
public:
    virtual ~Translation() = default;
    // What the label `control` of `scene` shows for its table's `caption`;
    // with no control, what the scene's window title shows. The text must
    // outlive the game.
    virtual std::string_view caption(std::string_view scene, std::string_view control,
                                     std::string_view caption) const = 0;
};

} // namespace guardianes
