// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The rules of the game that must hold after every event, whatever the
// player does with the mouse and the windows. The fuzzers and the soak test
// check them from outside, through the runtime's scenes, so that a fault in
// the runtime or in a scene's handlers breaks one of them.

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
    GameRules(const GameRules&) = delete;
    GameRules& operator=(const GameRules&) = delete;

    // The first rule the game breaks in its present state, described in
    // one line; nothing while every rule holds.
    std::optional<std::string> broken();

    // One scene's rules, bound to its controls and counters once, when the
    // scene is first seen, so that a check costs no lookups by name.
    struct SceneRules;

private:
    const Runtime& runtime_;
    std::vector<const Scene*> bound_to_;
    std::vector<std::unique_ptr<SceneRules>> rules_;
};

} // namespace guardianes
