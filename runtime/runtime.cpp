#include "runtime/runtime.h"

#include <cstdint>
#include <cstdlib>
#include <stdexcept>

namespace guardianes {

namespace {

constexpr Nanos kDoubleClickTime = 500 * kMillisecond;
constexpr int kDoubleClickDistance = 2;

// Stands in for the runtime while every scene is built once and bound, so
// that a handler naming a control or scene that does not exist is caught
// before the game starts.
class CheckingStage final : public Stage {
public:
    explicit CheckingStage(const std::vector<SceneDef>& defs) : defs_(defs) {}
    Nanos now() const override { return 0; }
    SceneLink link(std::string_view scene_name) override {
        for (std::size_t i = 0; i < defs_.size(); ++i)
            if (defs_[i].table.name == scene_name) return {*this, i};
        throw std::invalid_argument("no scene named '" + std::string(scene_name) + "'");
    }
    void show(std::size_t) override {}
    void hide(std::size_t) override {}

private:
    const std::vector<SceneDef>& defs_;
};

// Whether two presses are close enough to pair into a double-click. The
// distance is taken in 64 bits: a host may pass any pixel an int holds.
bool near(int a, int b) { return std::abs(std::int64_t{a} - b) <= kDoubleClickDistance; }

Nanos ceil_to_wakeup(Nanos t) { return (t + kWakeupPeriod - 1) / kWakeupPeriod * kWakeupPeriod; }

} // namespace

Runtime::Runtime(std::vector<SceneDef> scenes, Clock& clock) : defs_(std::move(scenes)), clock_(clock) {
    if (defs_.empty()) throw std::invalid_argument("no scenes to run");
    CheckingStage checking(defs_);
    for (std::size_t i = 0; i < defs_.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j)
            if (defs_[j].table.name == defs_[i].table.name)
                throw std::invalid_argument("two scenes named '" + defs_[i].table.name + "'");
        Scene trial(defs_[i].table, i, checking);
        if (defs_[i].bind) defs_[i].bind(trial, checking);
    }
    instances_.resize(defs_.size());
    states_.assign(defs_.size(), SceneState::NotCreated);
}

Runtime::~Runtime() = default;

void Runtime::start() {
    running_ = true;
    show(0);
    report_changes();
}

std::optional<std::size_t> Runtime::index_of(std::string_view name) const {
    for (std::size_t i = 0; i < defs_.size(); ++i)
        if (defs_[i].table.name == name) return i;
    return std::nullopt;
}

SceneState Runtime::state(std::size_t index) const { return states_[index]; }

Scene* Runtime::scene(std::string_view name) const {
    const auto index = index_of(name);
    return index ? instances_[*index].get() : nullptr;
}

Nanos Runtime::now() const { return handler_now_ ? *handler_now_ : clock_.now(); }

SceneLink Runtime::link(std::string_view scene_name) {
    const auto index = index_of(scene_name);
    if (!index) throw std::invalid_argument("no scene named '" + std::string(scene_name) + "'");
    return {*this, *index};
}

void Runtime::create(std::size_t index) {
    auto scene = std::make_unique<Scene>(defs_[index].table, index, *this);
    if (defs_[index].bind) defs_[index].bind(*scene, *this);
    // Timers the table leaves enabled start now: first tick one Interval on.
    const Nanos start = now();
    for (const auto& control : scene->controls()) {
        if (control->kind() != ControlKind::Timer) continue;
        auto& timer = static_cast<Timer&>(*control);
        timer.due_ = start + static_cast<Nanos>(timer.interval()) * kMillisecond;
        timers_.push_back(&timer);
    }
    instances_[index] = std::move(scene);
}

void Runtime::show(std::size_t index) {
    const SceneState state = states_[index];
    if (state == SceneState::Shown || state == SceneState::Closed) return;
    if (state == SceneState::NotCreated) create(index);
    Scene& scene = *instances_[index];
    states_[index] = SceneState::Shown;
    scene.set_state(SceneState::Shown);
    scene.damage_all();
    if (observer_) observer_->scene_shown(scene);
}

void Runtime::hide(std::size_t index) {
    if (states_[index] != SceneState::Shown) return;
    Scene& scene = *instances_[index];
    states_[index] = SceneState::Hidden;
    scene.set_state(SceneState::Hidden);
    if (observer_) observer_->scene_hidden(scene);
}

void Runtime::close(Scene& scene) {
    const std::size_t index = scene.index();
    if (!running_ || states_[index] != SceneState::Shown) return;
    std::erase_if(timers_, [&](Timer* timer) { return &timer->scene() == &scene; });
    if (pressed_ && &pressed_->scene() == &scene) pressed_ = nullptr;
    if (last_press_ && last_press_->scene == index) last_press_.reset();
    states_[index] = SceneState::Closed;
    scene.set_state(SceneState::Closed);
    if (observer_) observer_->scene_closed(scene);
    instances_[index].reset();
    check_running();
}

void Runtime::resize(Scene& scene, int width, int height) {
    if (!running_ || !scene.shown()) return;
    scene.resize_client(std::max(width, 0) * kTwipsPerPixel, std::max(height, 0) * kTwipsPerPixel);
    report_changes();
}

Label* Runtime::label_at(const Scene& scene, int x, int y) const {
    for (const auto& control : scene.controls()) {
        if (control->kind() != ControlKind::Label) continue;
        auto& label = static_cast<Label&>(*control);
        if (label.visible() && to_pixels(label.rect()).contains(x, y)) return &label;
    }
    return nullptr;
}

MousePointer Runtime::pointer_at(const Scene& scene, int x, int y) const {
    const Label* label = label_at(scene, x, y);
    if (label && label->props().mouse_pointer != MousePointer::Default) return label->props().mouse_pointer;
    return scene.mouse_pointer();
}

void Runtime::press(Scene& scene, int x, int y) {
    if (!running_ || !scene.shown()) return;
    const Nanos t = clock_.now();
    const bool second_half = last_press_ && last_press_->scene == scene.index() && !last_press_->second_half &&
                             t - last_press_->time <= kDoubleClickTime && near(x, last_press_->x) &&
                             near(y, last_press_->y);
    last_press_ = Press{scene.index(), t, x, y, second_half};
    // The second press of a double-click raises no Click.
    Label* label = second_half ? nullptr : label_at(scene, x, y);
    pressed_ = label && label->enabled() ? label : nullptr;
}

void Runtime::release(Scene& scene, int x, int y) {
    Label* label = pressed_;
    pressed_ = nullptr;
    if (!running_ || !scene.shown() || !label || &label->scene() != &scene) return;
    if (label_at(scene, x, y) != label || !label->enabled() || !label->on_click) return;
    run_handler(label->on_click, clock_.now());
}

std::optional<Nanos> Runtime::next_wakeup() const {
    std::optional<Nanos> earliest;
    for (const Timer* timer : timers_) {
        if (!timer->enabled() || timer->interval() <= 0) continue;
        const Nanos due = timer->pending_ ? last_wakeup_ : timer->due_;
        if (!earliest || due < *earliest) earliest = due;
    }
    if (!earliest) return std::nullopt;
    return std::max(ceil_to_wakeup(*earliest), last_wakeup_ + kWakeupPeriod);
}

void Runtime::serve_wakeup(Nanos at) {
    if (!running_) return;
    last_wakeup_ = at;
    for (Timer* timer : timers_)
        if (timer->enabled() && timer->interval() > 0 && timer->due_ <= at) timer->pending_ = true;
    // Indexing, not iterators: a tick may show a new scene and add its timers.
    for (std::size_t i = 0; i < timers_.size() && running_; ++i) {
        Timer& timer = *timers_[i];
        if (!timer.pending_) continue;
        timer.pending_ = false;
        timer.due_ = at + static_cast<Nanos>(timer.interval()) * kMillisecond;
        if (timer.on_tick) run_handler(timer.on_tick, at);
    }
}

void Runtime::run_handler(const Handler& handler, Nanos at) {
    handler_now_ = at;
    try {
        handler();
    } catch (const RuntimeError& e) {
        error_ = ErrorReport{e.number(), e.what()};
        running_ = false;
    }
    handler_now_.reset();
    report_changes();
    check_running();
}

void Runtime::report_changes() {
    for (auto& scene : instances_) {
        if (!scene || !scene->changed()) continue;
        if (observer_) observer_->scene_changed(*scene);
        scene->clear_changes();
    }
}

void Runtime::check_running() {
    bool any_shown = false;
    for (SceneState state : states_) any_shown = any_shown || state == SceneState::Shown;
    if (!any_shown) running_ = false;
}

} // namespace guardianes
