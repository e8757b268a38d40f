// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace guardianes {

class Scene;

// The centre pixel of a label, shape or line, from its current position:
// where a click on it by name aims, and where the keyboard takes the pointer.
Pixel centre_pixel(const Control& control);

// The keys that move the pointer for a player without a mouse.
enum class PointerKey : std::uint8_t { Left, Right, Up, Down, Next, Previous };

// Play with the keyboard alone. The keys only move the pointer; the key that
// clicks is a press and a release at the pointer, as a mouse's click there,
// so every rule of the scenes, the double-click included, holds unchanged.
// Every host takes its keyboard rules from here so that they agree.
class KeyboardPointer {
public:
    // An arrow moves the pointer this many pixels, or the fine step with Shift.
    static constexpr int kStep = 8;
    static constexpr int kFineStep = 1;

    // Where a key takes the pointer from `at`. The arrows move it and never
    // leave the client area; Next and Previous go to the centre of the next
    // or previous clickable label in the scene's list order after the label
    // under the pointer, wrapping around, and leave the pointer where it is
    // when no label is clickable.
    static Pixel move(const Scene& scene, Pixel at, PointerKey key, bool fine);

    // Whether a click at the label's centre now would raise its Click: it
    // has a Click script, is enabled and visible, and no label above it in
    // list order covers that pixel.
    static bool clickable(const Scene& scene, const Label& label);

    // "left", "right", "up", "down", "tab" and "shift+tab", with "shift+"
    // before an arrow for the fine step; none for any other name.
    struct Named {
        PointerKey key;
        bool fine;
    };
    static std::optional<Named> parse(std::string_view name);
};

} // namespace guardianes
