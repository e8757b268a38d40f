// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/controls.h"

#include "runtime/scene.h"

#include <algorithm>
#include <cstdlib>

namespace guardianes {

const char* to_string(ControlKind kind) {
    switch (kind) {
    case ControlKind::Label: return "Label";
    case ControlKind::Shape: return "Shape";
    case ControlKind::Line: return "Line";
    case ControlKind::Timer: return "Timer";
    }
    return "?";
}

void Control::damage(const TwipsRect& area) const { scene_->damage(area); }

SceneContext& Control::context() const { return scene_->context(); }

template <typename Props> void Control::move_box(Props& p, Twips left, Twips top) {
    if (left == p.left && top == p.top) return;
    if (p.visible) damage(box_of(p));
    p.left = left;
    p.top = top;
    if (p.visible) damage(box_of(p));
}

template <typename Props, typename Value> void Control::change_box(Props& p, Value Props::*field, Value value) {
    if (value == p.*field) return;
    p.*field = value;
    if (p.visible) damage(box_of(p));
}

template <typename Props> void Control::show_box(Props& p, bool visible) {
    if (visible == p.visible) return;
    p.visible = visible;
    damage(box_of(p));
}

void Label::set_left(Twips left) { move_box(p_, left, p_.top); }
void Label::set_top(Twips top) { move_box(p_, p_.left, top); }
// The caption has a setter of its own: the label keeps the text, and its
// properties view it.
void Label::set_caption(std::string caption) {
    if (caption == caption_) return;
    caption_ = std::move(caption);
    p_.caption = caption_;
    if (p_.visible) damage(rect());
}
void Label::set_back_color(Colour colour) { change_box(p_, &LabelProps::back_color, colour); }
void Label::set_enabled(bool enabled) { change_box(p_, &LabelProps::enabled, enabled); }
void Label::set_visible(bool visible) { show_box(p_, visible); }

void Shape::set_left(Twips left) { move_box(p_, left, p_.top); }
void Shape::set_top(Twips top) { move_box(p_, p_.left, top); }
void Shape::set_back_color(Colour colour) { change_box(p_, &ShapeProps::back_color, colour); }
void Shape::set_visible(bool visible) { show_box(p_, visible); }

TwipsRect Line::bounds() const {
    // Half the stroke width on every side, plus a pixel for rounding.
    const Twips margin = (p_.border_width / 2 + 1) * kTwipsPerPixel;
    const Twips left = std::min(p_.x1, p_.x2) - margin;
    const Twips top = std::min(p_.y1, p_.y2) - margin;
    return {left, top, std::max(p_.x1, p_.x2) + margin - left, std::max(p_.y1, p_.y2) + margin - top};
}

void Line::set_visible(bool visible) {
    if (visible == p_.visible) return;
    p_.visible = visible;
    damage(bounds());
}

void Timer::set_enabled(bool enabled) {
    if (enabled == p_.enabled) return;
    p_.enabled = enabled;
    context().timer_switched(*this);
}

Pixel centre_pixel(const Control& control) {
    TwipsRect r;
    switch (control.kind()) {
    case ControlKind::Label: r = static_cast<const Label&>(control).rect(); break;
    case ControlKind::Shape: r = static_cast<const Shape&>(control).rect(); break;
    case ControlKind::Line: {
        const LineProps& p = static_cast<const Line&>(control).props();
        r = {std::min(p.x1, p.x2), std::min(p.y1, p.y2), std::abs(p.x2 - p.x1), std::abs(p.y2 - p.y1)};
        break;
    }
    case ControlKind::Timer: break;
    }
    return r.centre();
}

} // namespace guardianes
