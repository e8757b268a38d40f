// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/keyboard_pointer.h"

namespace guardianes {

// A width and a height in pixels.
struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// How many window pixels a scene pixel spans: times / over. A whole scale
// (over 1) draws every scene pixel as a square block; a fraction shrinks
// the scene, smoothed, where it would not fit whole otherwise.
struct Scale {
    int times = 1;
    int over = 1;

    bool whole() const { return over == 1; }
    // A length of scene pixels in window pixels, rounded down.
    int of(int length) const;
    friend bool operator==(const Scale&, const Scale&) = default;
};

// Where a scene's picture lies in a window: its top left corner and scale.
struct Placement {
    Scale scale;
    int left = 0;
    int top = 0;

    // The scene pixel under a window pixel; outside the picture it lies
    // outside the scene too.
    Pixel to_scene(int x, int y) const;
    // The window pixel nearest the middle of a scene pixel's block: where a
    // pointer put on that scene pixel goes. It maps back to the same scene
    // pixel whenever the scale is whole.
    Pixel to_window(Pixel at) const;
    friend bool operator==(const Placement&, const Placement&) = default;
};

// The scale at which a scene is drawn whole in a room of that size: the
// largest whole number from 1 up to `most` that fits, or where even 1 does
// not fit, the largest fraction that does. Every host sizes its windows
// by this one rule.
Scale fit_scale(Size scene, Size room, int most);

// The whole-number scale a screen's resolution setting asks for: one scene
// pixel to a screen pixel at 96 dots an inch, twice as large at 192, and
// never more than the largest scale an option may ask for.
int scale_for_dpi(double dpi);

// The scene at `scale` in the middle of a window of that size, or at its
// top left corner where the picture is larger than the window.
Placement centre(Size scene, Size window, Scale scale);

} // namespace guardianes
