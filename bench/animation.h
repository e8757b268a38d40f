// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bench/played_scene.h"
#include "paint/painter.h"

#include <array>
#include <memory>
#include <string_view>

namespace guardianes::bench {

// One of the game's animations that move or recolour controls: the timer
// that drives it, in the scene it plays in, and the click that starts it
// when it does not start by itself.
struct Animation {
    std::string_view name; // as the figures name it
    std::string_view key;  // as the benchmarks name it
    std::string_view scene;
    std::string_view timer;
    std::string_view start_click;
};

const std::array<Animation, 5>& animations();

// Plays an animation tick by tick on a virtual clock, as the live game
// does: each wake-up is served, and with a painter, every change of the
// scene is repainted into a frame kept like the window's. When the
// animation ends the game starts over, unseen by the figures.
class AnimationPlayer final : public RuntimeObserver {
public:
    // Without a painter nothing is painted. A coarse clock can time the
    // repaint after each visible tick over several repetitions of it.
    AnimationPlayer(const Animation& animation, Painter* painter, int repaint_repetitions = 1);
    ~AnimationPlayer() override;

    // Serves wake-ups up to the next one at which the animation's timer
    // ticks and changes what the player sees. Returns the nanoseconds that
    // serving that wake-up took, repainting included when there is a painter.
    std::int64_t next_visible_tick();
    // The nanoseconds it took to repaint what that tick changed, area by
    // area (the mean over the repetitions).
    std::int64_t repaint_time() const { return repaint_ns_; }
    // The allocations made while serving that wake-up, and while repainting.
    std::int64_t tick_allocations() const { return tick_allocations_; }
    std::int64_t repaint_allocations() const { return repaint_allocations_; }
    // How many pixels of the client area that tick had repainted.
    std::int64_t damaged_pixels() const { return damaged_pixels_; }

    void scene_changed(Scene& scene) override;

private:
    void start_over();
    void serve_next_wakeup();

    const Animation& animation_;
    Painter* painter_;
    int repaint_repetitions_;
    std::unique_ptr<PlayedScene> game_;
    Timer* timer_ = nullptr;
    Image frame_;
    bool ours_ = false;
    bool seen_ = false;
    std::int64_t damaged_pixels_ = 0;
    std::int64_t repaint_ns_ = 0;
    std::int64_t tick_allocations_ = 0;
    std::int64_t repaint_allocations_ = 0;
};

} // namespace guardianes::bench
