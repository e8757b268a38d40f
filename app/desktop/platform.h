// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/controls.h"
#include "runtime/geometry.h"
#include "session/placement.h"
#include "session/session.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace guardianes {

// A window of the desktop game, by the place in the game's list of the
// scenes it shows.
using WindowId = std::size_t;

// What the window system says, as it happens, translated by the platform
// into the desktop host's words. Positions are client-area pixels.
class PlatformEvents {
public:
    virtual ~PlatformEvents() = default;

    // Whether the host takes more events now: not while it has something to
    // do first, such as a run-time error to show, nor once the game is over.
    virtual bool taking_events() const = 0;

    // The primary button went down or up over a window.
    virtual void pressed(WindowId window, Pixel at) = 0;
    virtual void released(WindowId window, Pixel at) = 0;
    virtual void pointer_moved(WindowId window, Pixel at) = 0;
    // The pointer came into a window.
    virtual void pointer_entered(WindowId window) = 0;
    // A key went down while a window, or none, had the keyboard. Returns
    // whether it was the game's, for a platform that must keep it from
    // the window system.
    virtual bool key_pressed(std::optional<WindowId> window, KeyStroke key) = 0;
    // The player asks for a window to close.
    virtual void close_requested(WindowId window) = 0;
    // A window's client area has a new size, whoever changed it.
    virtual void resized(WindowId window, Size client) = 0;
    // The frame the window manager put round a window is known now.
    virtual void framed(WindowId window, Edges frame) = 0;
    // The window system asks the program to end.
    virtual void quit_requested() = 0;
    // Time passes inside a loop of the window system's own, as while a
    // window is dragged: whatever is due is served now.
    virtual void time_passes() = 0;
    // The audio device has played every sample it was given.
    virtual void sound_drained() = 0;
    // A window's pixels reached the screen.
    virtual void presented() = 0;
};

// A window's picture: its scene at the window's scale, 0x00RRGGBB pixels,
// top row first, `stride` pixels from one row to the next.
struct Picture {
    std::uint32_t* pixels = nullptr;
    Size size;
    int stride = 0;
};

// A window to open: framed, or covering the monitor.
struct WindowRequest {
    std::string title;
    Size client;
    // Where the frame's top left corner goes; none where the window system
    // places new windows.
    std::optional<Pixel> origin;
    bool fullscreen = false;
};

// What the desktop game plays its sounds from: the mix of every sound
// playing, asked for by the audio device, from a thread of its own or not.
class SoundFeed {
public:
    virtual ~SoundFeed() = default;
    // Writes the next samples; returns whether anything still sounds.
    virtual bool fill(std::span<std::int16_t> out) = 0;
};

// The calls the desktop host makes of a window system: what SDL and Win32
// each implement, and nothing of the game. Every call is made on the thread
// the host runs on; the platform delivers its events to the PlatformEvents
// it was connected to, during wait() or during any call that makes the
// window system send one at once.
class Platform {
public:
    virtual ~Platform() = default;

    virtual void connect(PlatformEvents& events) = 0;
    // Waits for the window system's events, `timeout_ms` at most (for ever
    // when negative), and delivers those that came while the host takes them.
    virtual void wait(int timeout_ms) = 0;
    // The screen the game's windows open on.
    virtual Screen screen() = 0;

    // Opens a window, hidden; returns why where it cannot.
    virtual std::optional<std::string> open_window(WindowId window, const WindowRequest& request) = 0;
    // Shows a window in front of the others, with the keyboard.
    virtual void show_window(WindowId window) = 0;
    virtual void hide_window(WindowId window) = 0;
    // The window goes for good, though its id may open again.
    virtual void close_window(WindowId window) = 0;
    // Gives a window a new client size, or puts its frame's corner somewhere
    // else, or both.
    virtual void place_window(WindowId window, std::optional<Size> client, std::optional<Pixel> origin) = 0;
    // A window's client area, where it is on the screen.
    virtual PixelRect client_area(WindowId window) = 0;

    // The window's picture of that size, made anew when the size changes.
    virtual Picture picture(WindowId window, Size size) = 0;
    // Shows areas of the picture, its corner at `at` in the client area;
    // with `whole`, the whole picture on a black client area.
    virtual void present(WindowId window, Pixel at, std::span<const PixelRect> areas, bool whole) = 0;

    // Moves the real pointer to a window's pixel.
    virtual void warp_pointer(WindowId window, Pixel at) = 0;
    virtual void set_pointer_shape(WindowId window, MousePointer shape) = 0;
    // The window the pointer is over, and where in its client area.
    virtual std::optional<std::pair<WindowId, Pixel>> pointer() = 0;
    // A modal message over a window, or over none.
    virtual void show_message(std::optional<WindowId> over, const Message& message) = 0;

    // Opens the audio device, which from then on plays what `feed` gives;
    // returns why where it cannot.
    virtual std::optional<std::string> open_sound(SoundFeed& feed) = 0;
    virtual void close_sound() = 0;
};

} // namespace guardianes
