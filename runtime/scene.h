// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clock.h"
#include "controls.h"
#include "counters.h"
#include "cue.h"
#include "damage.h"
#include "scene_table.h"

#include <array>
#include <memory>
#include <string_view>
#include <variant>
#include <vector>

namespace guardianes {

enum class SceneState : std::uint8_t { NotCreated, Shown, Hidden, Closed };

// "not created", "shown", "hidden", "closed".
const char* to_string(SceneState state);

// What a live scene needs of the runtime around it.
class SceneContext {
public:
    virtual ~SceneContext() = default;
    // The time a running handler sees as now: the wake-up or click it serves.
    virtual Nanos now() const = 0;
    // Throws std::invalid_argument when no scene of that name is registered.
    virtual std::size_t scene_index(std::string_view name) const = 0;
    virtual void show(std::size_t scene_index) = 0;
    virtual void hide(std::size_t scene_index) = 0;
    // A handler switched the timer on or off.
    virtual void timer_switched(const Timer& timer) = 0;
    // A handler of the scene started a sound.
    virtual void play(std::size_t scene_index, Cue cue) = 0;
    // What a label of the scene, or with no control its window, shows for
    // its table's caption: the caption itself unless the game is translated.
    virtual std::string_view caption(std::string_view scene, std::string_view control, std::string_view text) const {
        (void)scene, (void)control;
        return text;
    }
};

// A scene that handlers may show or hide, named once when they are bound.
class SceneLink {
public:
    SceneLink(SceneContext& context, std::size_t index) : context_(&context), index_(index) {}
    void show() const { context_->show(index_); }
    void hide() const { context_->hide(index_); }

private:
    SceneContext* context_;
    std::size_t index_;
};

// The scene's own sounds, for its handlers to start. A scene sounds only
// while it is shown: hiding or closing it ends its sounds.
class Speaker {
public:
    Speaker(SceneContext& context, std::size_t index) : context_(&context), index_(index) {}
    void play(Cue cue) const { context_->play(index_, cue); }

private:
    SceneContext* context_;
    std::size_t index_;
};

using Counter = std::variant<Int16Counter, VariantCounter>;

// One live scene: its window properties, its controls in drawing order
// and its counters, all built from its table, plus what has changed on
// screen since the last repaint. Its handlers see what the scene's rules
// use; the lifecycle alone changes its state, size and repaint record.
class Scene {
public:
    Scene(const SceneTable& table, std::size_t index, SceneContext& context);
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    const SceneTable& table() const { return *table_; }
    const std::string& name() const { return name_; }
    std::size_t index() const { return index_; }

    // Shown or hidden: a scene that is not created or closed has no Scene.
    SceneState state() const { return state_; }
    bool shown() const { return state_ == SceneState::Shown; }

    // Window properties.
    const std::string& caption() const { return caption_; }
    Colour back_color() const { return table_->window.back_color; }
    MousePointer mouse_pointer() const { return mouse_pointer_; }
    void set_mouse_pointer(MousePointer pointer);
    Twips client_width() const { return client_width_; }
    Twips client_height() const { return client_height_; }
    // The whole client area in pixels, from (0, 0).
    PixelRect client_area() const { return to_pixels(TwipsRect{0, 0, client_width_, client_height_}); }

    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }
    const std::vector<Counter>& counters() const { return counters_; }

    // Lookups for binding handlers; each throws std::invalid_argument naming
    // the scene and the control when there is no such control of that kind.
    Control* find(std::string_view name) const;
    Label& label(std::string_view name) const;
    Shape& shape(std::string_view name) const;
    Line& line(std::string_view name) const;
    Timer& timer(std::string_view name) const;
    Int16Counter& int16(std::string_view name);
    VariantCounter& variant(std::string_view name);
    // Another scene, or this one, to show or hide.
    SceneLink link(std::string_view scene_name) const;
    Speaker speaker() const { return {*context_, index_}; }

    template <class... Names> auto labels(Names... names) const {
        return std::array<Label*, sizeof...(Names)>{&label(names)...};
    }
    template <class... Names> auto shapes(Names... names) const {
        return std::array<Shape*, sizeof...(Names)>{&shape(names)...};
    }
    template <class... Names> auto lines(Names... names) const {
        return std::array<Line*, sizeof...(Names)>{&line(names)...};
    }

    // Keeps the state a scene's handlers are bound to alive as long as the scene.
    template <class T, class... Args> T& attach(Args&&... args) {
        auto owned = std::make_shared<T>(std::forward<Args>(args)...);
        T& ref = *owned;
        attached_.push_back(std::move(owned));
        return ref;
    }

    // What changed since the last repaint, in client pixels, as a few areas
    // and as the one rectangle around them.
    bool changed() const { return !damage_.empty() || pointer_changed_; }
    std::span<const PixelRect> damaged_areas() const { return damage_.areas(); }
    PixelRect damage_area() const { return damage_.bounds(); }
    bool pointer_changed() const { return pointer_changed_; }

private:
    friend class Control;
    friend class SceneLifecycle;

    // For the controls: every change that shows, and every timer switched.
    void damage(const TwipsRect& area);
    SceneContext& context() const { return *context_; }

    // For the lifecycle.
    void set_state(SceneState state) { state_ = state; }
    void resize_client(Twips width, Twips height);
    void damage_all();
    void clear_changes();

    const SceneTable* table_;
    std::string name_;
    std::string caption_;
    std::size_t index_;
    SceneContext* context_;
    SceneState state_ = SceneState::Hidden;
    MousePointer mouse_pointer_;
    Twips client_width_;
    Twips client_height_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<Counter> counters_;
    std::vector<std::shared_ptr<void>> attached_;
    Damage damage_;
    bool pointer_changed_ = false;
};

} // namespace guardianes
