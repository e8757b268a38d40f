// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/click_delivery.h"

#include "runtime/scene.h"

#include <cstdint>
#include <cstdlib>

namespace guardianes {

namespace {

// The distance is taken in 64 bits: a host may pass any pixel an int holds.
bool near(int a, int b) { return std::abs(std::int64_t{a} - b) <= ClickDelivery::kDoubleClickDistance; }

} // namespace

Label* ClickDelivery::label_at(const Scene& scene, int x, int y) {
    for (const auto& control : scene.controls()) {
        if (control->kind() != ControlKind::Label) continue;
        auto& label = static_cast<Label&>(*control);
        if (label.visible() && to_pixels(label.rect()).contains(x, y)) return &label;
    }
    return nullptr;
}

MousePointer ClickDelivery::pointer_shape_at(const Scene& scene, int x, int y) {
    const Label* label = label_at(scene, x, y);
    if (label && label->props().mouse_pointer != MousePointer::Default) return label->props().mouse_pointer;
    return scene.mouse_pointer();
}

void ClickDelivery::press(const Scene& scene, int x, int y, Nanos t) {
    const bool second_half = last_press_ && last_press_->scene == &scene && !last_press_->second_half &&
                             t - last_press_->time <= kDoubleClickTime && near(x, last_press_->x) &&
                             near(y, last_press_->y);
    last_press_ = Press{&scene, t, x, y, second_half};
    // The second press of a double-click raises no Click.
    Label* label = second_half ? nullptr : label_at(scene, x, y);
    pressed_ = label && label->enabled() ? label : nullptr;
}

Label* ClickDelivery::release(const Scene& scene, int x, int y) {
    Label* label = pressed_;
    pressed_ = nullptr;
    if (!label || &label->scene() != &scene) return nullptr;
    if (label_at(scene, x, y) != label || !label->enabled() || !label->on_click) return nullptr;
    return label;
}

void ClickDelivery::forget(const Scene& scene) {
    if (pressed_ && &pressed_->scene() == &scene) pressed_ = nullptr;
    if (last_press_ && last_press_->scene == &scene) last_press_.reset();
}

} // namespace guardianes
