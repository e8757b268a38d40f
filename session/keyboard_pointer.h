// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/controls.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace guardianes {

class Scene;

// The keys that move the pointer for a player without a mouse.
enum class PointerKey : std::uint8_t { Left, Right, Up, Down, Next, Previous };

// Play with the keyboard alone. The keys only move the pointer; the key that
// clicks is a press and a release at the pointer, as a mouse's click there,
// so every rule of the scenes, the double-click included, holds unchanged.
class KeyboardPointer {
public:
    // An arrow moves the pointer this many pixels, or the fine step with Shift.
    static constexpr int kStep = 8;
    static constexpr int kFineStep = 1;

    // Where a key takes the pointer from `at`. The arrows move it and never
    // leave the client area. Next and Previous go through the labels a click
    // can raise a Click on now in the order a child reads them, row by row
    // from the top and left to right within a row, from the label under the
    // pointer, or from the first or the last when the pointer is on none of
    // them, wrapping around; each label's stop is its click_point. They
    // leave the pointer where it is when no label is clickable.
    static Pixel move(const Scene& scene, Pixel at, PointerKey key, bool fine);

    // Where a click now would raise the label's Click: it needs a Click
    // script, to be enabled and visible, and a pixel of it on the scene that
    // no label above it in list order covers. Of those pixels, the one
    // nearest its centre_pixel; none when there is no such pixel.
    static std::optional<Pixel> click_point(const Scene& scene, const Label& label);
};

} // namespace guardianes
