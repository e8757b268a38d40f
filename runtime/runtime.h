// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "click_delivery.h"
#include "clock.h"
#include "scene.h"
#include "scene_lifecycle.h"
#include "scene_table.h"
#include "timer_service.h"
#include "translation.h"

#include <optional>
#include <string_view>
#include <vector>

namespace guardianes {

// Runs the game: the scenes' lifecycle, their timers on a 64 Hz grid of
// wake-ups, and the player's clicks, one handler at a time, each to
// completion. A host tells it the time and the player's input, and is told
// through its observer what to show.
class Runtime final : private SceneContext {
public:
    // Throws std::invalid_argument when a scene's handlers name a control,
    // counter or scene that does not exist.
    Runtime(std::vector<SceneDef> scenes, Clock& clock);

    void set_observer(RuntimeObserver* observer) { scenes_.set_observer(observer); }
    // The scenes' texts in the player's language, for the scenes built from
    // now on; none for the tables' own.
    void set_translation(const Translation* translation) { translation_ = translation; }

    // Creates and shows the first registered scene and starts the run.
    void start();

    // True from start() until no scene is shown any more or a handler has
    // raised a run-time error.
    bool running() const { return scenes_.running(); }
    const std::optional<ErrorReport>& error() const { return scenes_.error(); }

    // Scenes, by registration order or name.
    std::size_t scene_count() const { return scenes_.count(); }
    const SceneTable& table(std::size_t index) const { return scenes_.table(index); }
    std::optional<std::size_t> index_of(std::string_view name) const { return scenes_.index_of(name); }
    SceneState state(std::size_t index) const { return scenes_.state(index); }
    Scene* scene(std::size_t index) const { return scenes_.scene(index); }
    Scene* scene(std::string_view name) const;

    // The player's input at the clock's current time, in client pixels.
    // Input aimed at a scene that is not shown reaches nothing.
    void press(Scene& scene, int x, int y);
    void release(Scene& scene, int x, int y);
    void close(Scene& scene);
    // Ends the run at once: every scene there is, shown or hidden, closes.
    void end();
    // A player's resize: the client area becomes width x height pixels.
    void resize(Scene& scene, int width, int height);

    static Label* label_at(const Scene& scene, int x, int y) { return ClickDelivery::label_at(scene, x, y); }
    static MousePointer pointer_shape_at(const Scene& scene, int x, int y) {
        return ClickDelivery::pointer_shape_at(scene, x, y);
    }

    // The time of the next wake-up at which some timer is due; none while no
    // timer runs. A host sleeps until then.
    std::optional<Nanos> next_wakeup() const { return timers_.next_wakeup(); }
    // Serves the wake-up due at the clock's time, if one is: every running
    // timer due by then gets one tick, delivered in order. Wake-ups missed
    // while the host was busy are never made up. Returns whether it served one.
    bool serve_wakeup();

private:
    // SceneContext
    Nanos now() const override;
    std::size_t scene_index(std::string_view name) const override;
    void show(std::size_t scene_index) override;
    void hide(std::size_t scene_index) override;
    void timer_switched(const Timer& timer) override;
    void play(std::size_t scene_index, Cue cue) override;
    std::string_view caption(std::string_view scene, std::string_view control, std::string_view text) const override {
        return translation_ ? translation_->caption(scene, control, text) : text;
    }

    void run_handler(const Handler& handler, Nanos at);

    Clock& clock_;
    TimerService timers_;
    ClickDelivery clicks_;
    SceneLifecycle scenes_;
    const Translation* translation_ = nullptr;
    std::optional<Nanos> handler_now_;
};

} // namespace guardianes
