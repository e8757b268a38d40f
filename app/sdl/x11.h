// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What SDL does not tell of an X desktop, read from X itself.

#include "runtime/geometry.h"

#include <SDL.h>

#include <optional>

namespace guardianes {

// The desktop's resolution setting, from X's Xft.dpi resource; 96 where
// there is no such setting.
double desktop_dpi();

// The frame a window manager put round a window, as _NET_FRAME_EXTENTS
// says: SDL 2.26 does not always learn it on X.
std::optional<Edges> frame_extents(SDL_Window* window);

// Installs, before SDL starts, a handler that passes over the one X error
// SDL's event-loop wake-up causes.
void pass_over_sdl_wake_up_errors();

} // namespace guardianes
