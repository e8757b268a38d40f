// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/keyboard_pointer.h"

#include "runtime/click_delivery.h"
#include "runtime/scene.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace guardianes {

namespace {

// One step along an axis, in 64 bits since a host may pass any int, and
// clamped to the pixels 0 .. size - 1.
int step(int from, int by, int size) {
    const std::int64_t to = std::int64_t{from} + by;
    return static_cast<int>(std::clamp<std::int64_t>(to, 0, std::max(size, 1) - 1));
}

} // namespace

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

bool KeyboardPointer::clickable(const Scene& scene, const Label& label) {
    if (!label.on_click || !label.enabled() || !label.visible()) return false;
    const Pixel centre = centre_pixel(label);
    return ClickDelivery::label_at(scene, centre.x, centre.y) == &label;
}

Pixel KeyboardPointer::move(const Scene& scene, Pixel at, PointerKey key, bool fine) {
    const int by = fine ? kFineStep : kStep;
    const int width = to_pixels(scene.client_width());
    const int height = to_pixels(scene.client_height());
    switch (key) {
    case PointerKey::Left: return {step(at.x, -by, width), step(at.y, 0, height)};
    case PointerKey::Right: return {step(at.x, by, width), step(at.y, 0, height)};
    case PointerKey::Up: return {step(at.x, 0, width), step(at.y, -by, height)};
    case PointerKey::Down: return {step(at.x, 0, width), step(at.y, by, height)};
    case PointerKey::Next:
    case PointerKey::Previous: break;
    }

    // The labels in list order, and where the label under the pointer stands
    // among all controls; with none there, Next starts from the first and
    // Previous from the last.
    const auto& controls = scene.controls();
    std::vector<std::size_t> targets;
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i]->kind() == ControlKind::Label && clickable(scene, static_cast<const Label&>(*controls[i])))
            targets.push_back(i);
    if (targets.empty()) return at;
    const Label* under = ClickDelivery::label_at(scene, at.x, at.y);
    const auto here = std::find_if(controls.begin(), controls.end(), [&](const auto& c) { return c.get() == under; });
    const std::size_t from = static_cast<std::size_t>(here - controls.begin()); // controls.size() when none
    std::size_t target = 0;
    if (key == PointerKey::Next) {
        const auto next = std::upper_bound(targets.begin(), targets.end(), from);
        target = next != targets.end() ? *next : targets.front();
    } else {
        const auto previous = std::lower_bound(targets.begin(), targets.end(), from);
        target = previous != targets.begin() ? *std::prev(previous) : targets.back();
    }
    return centre_pixel(*controls[target]);
}

std::optional<KeyboardPointer::Named> KeyboardPointer::parse(std::string_view name) {
    const bool shift = name.starts_with("shift+");
    if (shift) name.remove_prefix(6);
    if (name == "tab") return Named{shift ? PointerKey::Previous : PointerKey::Next, false};
    if (name == "left") return Named{PointerKey::Left, shift};
    if (name == "right") return Named{PointerKey::Right, shift};
    if (name == "up") return Named{PointerKey::Up, shift};
    if (name == "down") return Named{PointerKey::Down, shift};
    return std::nullopt;
}

} // namespace guardianes
