#pragma once

#include "clock.h"
#include "controls.h"
#include "counters.h"
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

class Stage;

// A scene that handlers may show or hide, named once when they are bound.
class SceneLink {
public:
    SceneLink(Stage& stage, std::size_t index) : stage_(&stage), index_(index) {}
    void show() const;
    void hide() const;

private:
    Stage* stage_;
    std::size_t index_;
};

// What a scene and its handlers need of the runtime around them.
class Stage {
public:
    virtual ~Stage() = default;
    virtual Nanos now() const = 0;
    // Throws std::invalid_argument when no scene of that name is registered.
    virtual SceneLink link(std::string_view scene_name) = 0;
    virtual void show(std::size_t scene_index) = 0;
    virtual void hide(std::size_t scene_index) = 0;
};

using Counter = std::variant<Int16Counter, VariantCounter>;

// One live scene: its window properties, its controls in drawing order and
// its counters, all built from its table, plus what has changed on screen
// since the last repaint.
class Scene {
public:
    Scene(const SceneTable& table, std::size_t index, Stage& stage);
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    const SceneTable& table() const { return *table_; }
    const std::string& name() const { return table_->name; }
    std::size_t index() const { return index_; }
    Stage& stage() const { return *stage_; }

    SceneState state() const { return state_; }
    void set_state(SceneState state) { state_ = state; }
    bool shown() const { return state_ == SceneState::Shown; }

    // Window properties.
    const std::string& caption() const { return table_->window.caption; }
    Colour back_color() const { return table_->window.back_color; }
    MousePointer mouse_pointer() const { return mouse_pointer_; }
    void set_mouse_pointer(MousePointer pointer);
    Twips client_width() const { return client_width_; }
    Twips client_height() const { return client_height_; }
    void resize_client(Twips width, Twips height);

    // Show and Hide of this scene, as a handler calls them.
    void show();
    void hide();

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

    // Repaint bookkeeping: what changed, in client pixels, as a few areas
    // and as the one rectangle around them.
    void damage(const TwipsRect& area);
    void damage_all();
    bool changed() const { return !damage_.empty() || pointer_changed_; }
    std::span<const PixelRect> damaged_areas() const { return damage_.areas(); }
    PixelRect damage_area() const { return damage_.bounds(); }
    bool pointer_changed() const { return pointer_changed_; }
    void clear_changes();

private:
    const SceneTable* table_;
    std::size_t index_;
    Stage* stage_;
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
