// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/animation.h"

#include "bench/allocations.h"
#include "paint/canvas.h"

#include <chrono>
#include <stdexcept>
#include <string>

namespace guardianes::bench {

namespace {

std::int64_t since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

const std::array<Animation, 5>& animations() {
    static const std::array<Animation, 5> all{{
        {"menu departure", "menu_departure", "Form1", "Timer1", "portal1"},
        {"race rival", "race_rival", "Form2", "Timer1", ""},
        {"fire lights", "fire_lights", "Form3", "Timer1", ""},
        {"patient gaze", "patient_gaze", "Form4", "Timer1", ""},
        {"closing convoy", "closing_convoy", "Form5", "Timer3", ""},
    }};
    return all;
}

AnimationPlayer::AnimationPlayer(const Animation& animation, Painter* painter, int repaint_repetitions)
    : animation_(animation), painter_(painter), repaint_repetitions_(repaint_repetitions) {
    start_over();
}

AnimationPlayer::~AnimationPlayer() {
    if (game_) game_->simulation().watch(nullptr);
}

void AnimationPlayer::start_over() {
    if (game_) game_->simulation().watch(nullptr);
    game_ = std::make_unique<PlayedScene>(animation_.scene);
    Simulation& sim = game_->simulation();
    Scene& scene = game_->scene();
    if (!animation_.start_click.empty()) sim.click(animation_.scene, animation_.start_click);
    timer_ = &scene.timer(animation_.timer);
    // Some animations wait for their turn: the convoy for the car to stop,
    // the rival for the green light.
    while (!timer_->enabled()) serve_next_wakeup();

    // Marks the timer's own ticks, so that only what they change is timed.
    Handler tick = std::move(timer_->on_tick);
    timer_->on_tick = [this, tick, &scene] {
        tick();
        ours_ = !scene.damage_area().empty();
    };
    if (painter_) painter_->paint(scene, frame_);
    sim.watch(this);
}

void AnimationPlayer::serve_next_wakeup() {
    Simulation& sim = game_->simulation();
    const auto next = sim.runtime().next_wakeup();
    if (!next || !sim.runtime().running())
        throw std::logic_error("the " + std::string(animation_.name) + " stopped before its timer ran");
    sim.wait(*next - sim.now());
}

std::int64_t AnimationPlayer::next_visible_tick() {
    seen_ = false;
    while (true) {
        if (!timer_->enabled()) start_over();
        const std::int64_t allocated = allocations();
        const auto start = std::chrono::steady_clock::now();
        serve_next_wakeup();
        const std::int64_t elapsed = since(start);
        tick_allocations_ = allocations() - allocated;
        if (seen_) return elapsed;
    }
}

void AnimationPlayer::scene_changed(Scene& scene) {
    if (&scene != &game_->scene()) return;
    const bool ours = ours_;
    ours_ = false;
    seen_ = seen_ || ours;
    if (ours) {
        const PixelRect client = scene.client_area();
        damaged_pixels_ = 0;
        for (const PixelRect& area : scene.damaged_areas()) {
            const PixelRect shown = area.intersected(client);
            damaged_pixels_ += std::int64_t{shown.width()} * shown.height();
        }
    }
    if (!painter_ || !scene.shown()) return;
    const std::int64_t allocated = allocations();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < (ours ? repaint_repetitions_ : 1); ++i)
        for (const PixelRect& area : scene.damaged_areas()) painter_->paint(scene, frame_, area);
    if (ours) {
        repaint_ns_ = since(start) / repaint_repetitions_;
        repaint_allocations_ = allocations() - allocated;
    }
}

} // namespace guardianes::bench
