// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/sdl/x11.h"

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>

#include <cstdlib>
#include <cstring>

namespace guardianes {

double desktop_dpi() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "x11") != 0) return 96;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 96;
    double dpi = 96;
    if (const char* resources = XResourceManagerString(display))
        if (const char* setting = std::strstr(resources, "Xft.dpi:")) dpi = std::strtod(setting + 8, nullptr);
    XCloseDisplay(display);
    return dpi;
}

std::optional<Edges> frame_extents(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return std::nullopt;
    Display* display = info.info.x11.display;
    const Atom extents = XInternAtom(display, "_NET_FRAME_EXTENTS", True);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (extents == None || XGetWindowProperty(display, info.info.x11.window, extents, 0, 4, False, XA_CARDINAL, &type,
                                              &format, &count, &after, &data) != Success)
        return std::nullopt;
    std::optional<Edges> found;
    if (data && format == 32 && count == 4) {
        // Left, right, top, bottom, each as a long whatever its 32 bits.
        const auto* edge = reinterpret_cast<const long*>(data);
        found = Edges{static_cast<int>(edge[0]), static_cast<int>(edge[2]), static_cast<int>(edge[1]),
                      static_cast<int>(edge[3])};
    }
    if (data) XFree(data);
    return found;
}

// SDL 2.26 sends its wake-up message on a connection of its own, which may
// reach the X server after the window it is sent to was destroyed; the
// server answers BadWindow, and Xlib's own handler would end the game over
// it. That one error is harmless and passed over; every other goes on to
// the handler that was there before.
namespace {

XErrorHandler earlier_x_error_handler = nullptr;

int on_x_error(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow && error->request_code == X_SendEvent) return 0;
    return earlier_x_error_handler ? earlier_x_error_handler(display, error) : 0;
}

} // namespace

void pass_over_sdl_wake_up_errors() { earlier_x_error_handler = XSetErrorHandler(on_x_error); }

} // namespace guardianes
