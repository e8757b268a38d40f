// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "colour.h"
#include "twips.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace guardianes {

class Scene;
class SceneContext;

enum class Alignment : std::uint8_t { Left = 0, Right = 1, Centre = 2 };
enum class BackStyle : std::uint8_t { Transparent = 0, Opaque = 1 };
enum class BorderStyle : std::uint8_t { None = 0, FixedSingle = 1 };
enum class ShapeKind : std::uint8_t {
    Rectangle = 0,
    Square = 1,
    Oval = 2,
    Circle = 3,
    RoundedRectangle = 4,
    RoundedSquare = 5
};
enum class FillStyle : std::uint8_t {
    Solid = 0,
    Transparent = 1,
    Horizontal = 2,
    Vertical = 3,
    UpwardDiagonal = 4,
    DownwardDiagonal = 5,
    Cross = 6,
    DiagonalCross = 7
};
// The pointer shapes the scenes use; the numbers are the stored values.
enum class MousePointer : std::uint8_t { Default = 0, Arrow = 1, Hourglass = 11, NoDrop = 12 };

struct Font {
    std::string_view face = "MS Sans Serif";
    double size = 8.25; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    friend bool operator==(const Font&, const Font&) = default;
};

// Design-time properties of each kind of control. The member initialisers
// are the defaults a scene table falls back on for whatever it leaves out.
// They are constant data in a table: their text is a view of the table's
// own literals.
struct LabelProps {
    Twips left = 0;
    Twips top = 0;
    Twips width = 0;
    Twips height = 0;
    std::string_view caption{};
    Colour back_color = SystemColour::ButtonFace;
    BackStyle back_style = BackStyle::Opaque;
    Colour fore_color = SystemColour::ButtonText;
    BorderStyle border_style = BorderStyle::None;
    Alignment alignment = Alignment::Left;
    Font font{};
    bool enabled = true;
    bool visible = true;
    MousePointer mouse_pointer = MousePointer::Default;
};

struct ShapeProps {
    Twips left = 0;
    Twips top = 0;
    Twips width = 0;
    Twips height = 0;
    ShapeKind shape = ShapeKind::Rectangle;
    BackStyle back_style = BackStyle::Transparent;
    Colour back_color = SystemColour::WindowBackground;
    FillStyle fill_style = FillStyle::Transparent;
    Colour fill_color = rgb(0x000000);
    Colour border_color = SystemColour::WindowText;
    int border_width = 1; // pixels
    bool visible = true;
};

// The area a label or a shape covers.
template <typename Props> TwipsRect box_of(const Props& p) { return {p.left, p.top, p.width, p.height}; }

struct LineProps {
    Twips x1 = 0;
    Twips y1 = 0;
    Twips x2 = 0;
    Twips y2 = 0;
    Colour border_color = SystemColour::WindowText;
    int border_width = 1; // pixels
    bool visible = true;
};

struct TimerProps {
    int interval = 0; // milliseconds; 0 never ticks
    bool enabled = true;
};

enum class ControlKind : std::uint8_t { Label, Shape, Line, Timer };

const char* to_string(ControlKind kind);

// A script bound to one control and one event.
using Handler = std::function<void()>;

// What every control has: a name unique in its scene, a kind, and the scene
// it belongs to, which it tells about every change that shows.
class Control {
public:
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    const std::string& name() const { return name_; }
    ControlKind kind() const { return kind_; }
    Scene& scene() const { return *scene_; }

protected:
    Control(Scene& scene, std::string name, ControlKind kind) : scene_(&scene), name_(std::move(name)), kind_(kind) {}

    // Marks an area of the scene for repainting.
    void damage(const TwipsRect& area) const;
    SceneContext& context() const;

    // The setters of labels and shapes: each repaints what the change
    // touches, and nothing when nothing changes.
    template <typename Props> void move_box(Props& p, Twips left, Twips top);
    template <typename Props, typename Value> void change_box(Props& p, Value Props::*field, Value value);
    template <typename Props> void show_box(Props& p, bool visible);

private:
    Scene* scene_;
    std::string name_;
    ControlKind kind_;
};

// A label owns its caption, which a handler may set: its properties'
// caption is always a view of that text.
class Label final : public Control {
public:
    Label(Scene& scene, std::string name, const LabelProps& props)
        : Control(scene, std::move(name), ControlKind::Label), caption_(props.caption), p_(props) {
        p_.caption = caption_;
    }

    const LabelProps& props() const { return p_; }
    TwipsRect rect() const { return box_of(p_); }

    Twips left() const { return p_.left; }
    Twips top() const { return p_.top; }
    const std::string& caption() const { return caption_; }
    Colour back_color() const { return p_.back_color; }
    bool enabled() const { return p_.enabled; }
    bool visible() const { return p_.visible; }

    void set_left(Twips left);
    void set_top(Twips top);
    void set_caption(std::string caption);
    void set_back_color(Colour colour);
    void set_enabled(bool enabled);
    void set_visible(bool visible);

    // The Click script, if the scene binds one.
    Handler on_click;

private:
    std::string caption_;
    LabelProps p_;
};

class Shape final : public Control {
public:
    Shape(Scene& scene, std::string name, ShapeProps props)
        : Control(scene, std::move(name), ControlKind::Shape), p_(props) {}

    const ShapeProps& props() const { return p_; }
    TwipsRect rect() const { return box_of(p_); }

    Twips left() const { return p_.left; }
    Twips top() const { return p_.top; }
    Colour back_color() const { return p_.back_color; }
    bool visible() const { return p_.visible; }

    void set_left(Twips left);
    void set_top(Twips top);
    void set_back_color(Colour colour);
    void set_visible(bool visible);

private:
    ShapeProps p_;
};

class Line final : public Control {
public:
    Line(Scene& scene, std::string name, LineProps props)
        : Control(scene, std::move(name), ControlKind::Line), p_(props) {}

    const LineProps& props() const { return p_; }
    bool visible() const { return p_.visible; }

    // The area the stroke can touch, its width and round ends included.
    TwipsRect bounds() const;

    void set_visible(bool visible);

private:
    LineProps p_;
};

class Timer final : public Control {
public:
    Timer(Scene& scene, std::string name, TimerProps props)
        : Control(scene, std::move(name), ControlKind::Timer), p_(props) {}

    int interval() const { return p_.interval; }
    bool enabled() const { return p_.enabled; }

    // Starting a stopped timer makes its first tick due one Interval from
    // now; starting a running one changes nothing. Stopping drops a pending
    // tick. The timer service keeps the schedule.
    void set_enabled(bool enabled);

    // The tick script, if the scene binds one.
    Handler on_tick;

private:
    TimerProps p_;
};

// The centre pixel of a label, shape or line, from its current position:
// where a click on it by name aims, and where the keyboard takes the pointer.
Pixel centre_pixel(const Control& control);

} // namespace guardianes
