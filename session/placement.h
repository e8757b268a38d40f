// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/geometry.h"
#include "session/options.h"

#include <optional>

namespace guardianes {

// How many window pixels a scene pixel spans: times / over. A whole scale
// (over 1) draws every scene pixel as a square block; a fraction shrinks
// the scene, smoothed, where it would not fit whole otherwise.
struct Scale {
    int times = 1;
    int over = 1;

    bool whole() const { return over == 1; }
    // A length of scene pixels in window pixels, rounded down.
    int of(int length) const;
    Size of(Size size) const { return {of(size.width), of(size.height)}; }
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
    Pixel to_scene(Pixel at) const { return to_scene(at.x, at.y); }
    // The window pixel nearest the middle of a scene pixel's block: where a
    // pointer put on that scene pixel goes. It maps back to the same scene
    // pixel whenever the scale is whole.
    Pixel to_window(Pixel at) const;
    friend bool operator==(const Placement&, const Placement&) = default;
};

// The scale at which a scene is drawn whole in a room of that size: the
// largest whole number from 1 up to `most` that fits, or where even 1 does
// not fit, the largest fraction that does.
Scale fit_scale(Size scene, Size room, int most);

// The whole-number scale a screen's resolution setting asks for: one scene
// pixel to a screen pixel at 96 dots an inch, twice as large at 192, and
// never more than the largest scale an option may ask for. A setting that
// is no number at all counts as 96.
int scale_for_dpi(double dpi);

// The scene at `scale` in the middle of a window of that size, or at its
// top left corner where the picture is larger than the window.
Placement centre(Size scene, Size window, Scale scale);

// What a host knows of the screen its scenes' windows go on, in the
// screen's own pixels. A host reports it; the layout answers from it.
struct Screen {
    // The whole monitor, and where windows may go: the monitor less its
    // panels and task bars. Empty where the host cannot tell, which limits
    // nothing.
    PixelRect monitor;
    PixelRect work_area;
    // The resolution setting, in dots an inch: 96 is one to one.
    double dpi = 96;
    // The frame a window gets around its client area (its title bar and
    // borders), once the host knows it.
    std::optional<Edges> frame;
    // Whether the game has the room to itself, as in a page, rather than
    // sharing a desktop with other programs' windows.
    bool own_room = false;
};

// What a scene's window is to be, as the layout answers a host.
struct WindowPlan {
    // The window's client area, and the scene's picture in it.
    Size client;
    Placement picture;
    // Where the window's frame has its top left corner on the screen; none
    // where the window system places new windows.
    std::optional<Pixel> origin;
    friend bool operator==(const WindowPlan&, const WindowPlan&) = default;
};

// How large each scene is drawn and where its window goes: the one rule by
// which every host, the browser's included, sizes and places its windows.
//  - Among other programs' windows a scene is drawn at the resolution
//    setting's scale; in a room of its own (full screen, a page) as large as
//    it fits; --scale sets the most in either. Always whole: at a smaller
//    scale, or a fraction, where it would not fit otherwise.
//  - A framed window's client area fits the work area less the frame; a
//    full-screen window covers the monitor, the picture in its middle.
//  - The window system places a desktop's windows; a page's go in the middle
//    of its room.
class Layout {
public:
    explicit Layout(const GameOptions& options) : options_(options) {}

    // The window for a scene of that size, on that screen.
    WindowPlan plan(Size scene, const Screen& screen) const;
    // Where the picture of a scene of that size lies in a window planned at
    // `planned` whose client area is now `client`.
    Placement placement(Size scene, Size client, Scale planned) const;
    // The scene's size after the player resized a window planned at
    // `planned` to `client`: the window's size at its scale, at least a
    // pixel, or exactly the scene's own size `own` where the window is back
    // at its planned size; none where the scene keeps its size (full screen).
    std::optional<Size> resized(Size own, Size client, Scale planned) const;
    // Where a window the window system placed at `outer` (its frame
    // included) goes instead: the middle of the work area when it reaches
    // past it; none where it may stay.
    std::optional<Pixel> moved(const Screen& screen, const PixelRect& outer) const;

private:
    int most(const Screen& screen) const;

    GameOptions options_;
};

} // namespace guardianes
