#pragma once

#include "clock.h"
#include "scene.h"
#include "scene_table.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace guardianes {

// Told by the runtime about what the player should see. The host module
// opens and repaints windows through it; the simulator and tests ignore it.
class RuntimeObserver {
public:
    virtual ~RuntimeObserver() = default;
    virtual void scene_shown(Scene&) {}
    virtual void scene_hidden(Scene&) {}
    // Called just before the scene is destroyed.
    virtual void scene_closed(Scene&) {}
    // Called once after each handler for every scene it changed; the scene's
    // damage area says where. The runtime clears the changes afterwards.
    virtual void scene_changed(Scene&) {}
};

struct ErrorReport {
    int number = 0;
    std::string name;
};

// Runs the game: creates, shows, hides and closes scenes, serves the timers
// on a 64 Hz grid of wake-ups, and delivers the player's clicks, one handler
// at a time, each to completion.
class Runtime final : public Stage {
public:
    // Builds every scene once to check that its handlers name only controls,
    // counters and scenes that exist; throws std::invalid_argument otherwise.
    Runtime(std::vector<SceneDef> scenes, Clock& clock);
    ~Runtime() override;

    void set_observer(RuntimeObserver* observer) { observer_ = observer; }

    // Creates and shows the first registered scene and starts the run.
    void start();

    // True from start() until no scene is shown any more or a handler has
    // raised a run-time error.
    bool running() const { return running_; }
    const std::optional<ErrorReport>& error() const { return error_; }

    // Scenes, by registration order or name.
    std::size_t scene_count() const { return defs_.size(); }
    const SceneTable& table(std::size_t index) const { return defs_[index].table; }
    std::optional<std::size_t> index_of(std::string_view name) const;
    SceneState state(std::size_t index) const;
    Scene* scene(std::size_t index) const { return instances_[index].get(); }
    Scene* scene(std::string_view name) const;

    // The player's input at the clock's current time, in client pixels.
    // Input aimed at a scene that is not shown reaches nothing.
    void press(Scene& scene, int x, int y);
    void release(Scene& scene, int x, int y);
    void close(Scene& scene);
    // A player's resize: the client area becomes width x height pixels.
    void resize(Scene& scene, int width, int height);

    // The first visible label in list order under the pixel, if any.
    Label* label_at(const Scene& scene, int x, int y) const;
    MousePointer pointer_at(const Scene& scene, int x, int y) const;

    // The next wake-up at which some timer is due; none while no timer runs.
    std::optional<Nanos> next_wakeup() const;
    // Serves the wake-up at grid time `at`: every running timer due by then
    // gets one tick, delivered in order. Missed wake-ups are never made up.
    void serve_wakeup(Nanos at);

    // Stage
    Nanos now() const override;
    SceneLink link(std::string_view scene_name) override;
    void show(std::size_t scene_index) override;
    void hide(std::size_t scene_index) override;

private:
    void create(std::size_t index);
    void run_handler(const Handler& handler, Nanos now);
    void report_changes();
    void check_running();

    std::vector<SceneDef> defs_;
    Clock& clock_;
    RuntimeObserver* observer_ = nullptr;
    std::vector<std::unique_ptr<Scene>> instances_;
    std::vector<SceneState> states_;
    std::vector<Timer*> timers_; // of every live scene, in delivery order
    std::optional<Nanos> handler_now_;
    Nanos last_wakeup_ = 0;
    bool running_ = false;
    std::optional<ErrorReport> error_;

    struct Press {
        std::size_t scene = 0;
        Nanos time = 0;
        int x = 0;
        int y = 0;
        bool second_half = false;
    };
    std::optional<Press> last_press_;
    Label* pressed_ = nullptr;
};

} // namespace guardianes
