// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "scene.h"

#include <stdexcept>
#include <string>

namespace guardianes {

// A scene built from its table to be painted as it stands, outside any run:
// nothing ticks, and it links to no other scene.
class StillScene final : private SceneContext {
public:
    explicit StillScene(const SceneTable& table) : scene_(table, 0, *this) {}
    const Scene& scene() const { return scene_; }

private:
    Nanos now() const override { return 0; }
    std::size_t scene_index(std::string_view name) const override {
        throw std::invalid_argument("a still scene links to no scene, not even '" + std::string(name) + "'");
    }
    void show(std::size_t) override {}
    void hide(std::size_t) override {}
    void timer_switched(const Timer&) override {}
    void play(std::size_t, Cue) override {}

    Scene scene_;
};

} // namespace guardianes
