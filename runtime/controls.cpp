// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/controls.h"

#include "runtime/scene.h"

#include <algorithm>

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

void Label::move_to(Twips left, Twips top) {
    if (left == p_.left && top == p_.top) return;
    if (p_.visible) damage(rect());
    p_.left = left;
    p_.top = top;
    if (p_.visible) damage(rect());
}

void Label::set_left(Twips left) { move_to(left, p_.top); }
void Label::set_top(Twips top) { move_to(p_.left, top); }

void Label::set_caption(std::string caption) {
    if (caption == p_.caption) return;
    p_.caption = std::move(caption);
    if (p_.visible) damage(rect());
}

void Label::set_back_color(Colour colour) {
    if (colour == p_.back_color) return;
    p_.back_color = colour;
    if (p_.visible) damage(rect());
}

void Label::set_enabled(bool enabled) {
    if (enabled == p_.enabled) return;
    p_.enabled = enabled;
    if (p_.visible) damage(rect());
}

void Label::set_visible(bool visible) {
    if (visible == p_.visible) return;
    p_.visible = visible;
    damage(rect());
}

void Shape::move_to(Twips left, Twips top) {
    if (left == p_.left && top == p_.top) return;
    if (p_.visible) damage(rect());
    p_.left = left;
    p_.top = top;
    if (p_.visible) damage(rect());
}

void Shape::set_left(Twips left) { move_to(left, p_.top); }
void Shape::set_top(Twips top) { move_to(p_.left, top); }

void Shape::set_back_color(Colour colour) {
    if (colour == p_.back_color) return;
    p_.back_color = colour;
    if (p_.visible) damage(rect());
}

void Shape::set_visible(bool visible) {
    if (visible == p_.visible) return;
    p_.visible = visible;
    damage(rect());
}

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

} // namespace guardianes
