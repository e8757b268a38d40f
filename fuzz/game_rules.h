// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The rules of the game that must hold after every event, whatever the
// player does, checked from outside through the runtime's scenes by the
// game fuzzer and the soak test.

#include "runtime/runtime.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace guardianes {

class GameRules {
public:
    // Watches a runtime that runs the game's own five scenes.
    explicit GameRules(const Runtime& runtime);
    ~GameRules();

    // The first rule the game breaks now, in one line; nothing if none.
    std::optional<std::string> broken();

    struct SceneRules;

private:
    const Runtime& runtime_;
    std::vector<std::unique_ptr<SceneRules>> rules_;
};

} // namespace guardianes
