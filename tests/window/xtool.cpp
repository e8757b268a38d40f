// SPDX-License-Identifier: GPL-3.0-or-later
// xtool close WINDOW: asks a window to close, as its close button does, with
// the WM_DELETE_WINDOW message a window manager sends.
// xtool find NAME, xtool shown NAME [SECONDS]: prints the ids of the windows
// titled NAME, a shell pattern, only those on screen for `shown`, which waits
// up to SECONDS for one. Status 0 when one matched, 1 when none did, 2 when
// the search failed. A window that vanishes while the search reads it was
// not there, where a search that died of it would pass for "no such window".

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fnmatch.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <thread>
#include <vector>

namespace {

bool search_failed = false;

// A window destroyed mid-search answers BadWindow, or BadDrawable to the
// geometry request XGetWindowAttributes makes; any other error is a fault.
int on_error(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow || error->error_code == BadDrawable) return 0;
    char text[160];
    XGetErrorText(display, error->error_code, text, sizeof text);
    std::fprintf(stderr, "xtool: the X server refused request %d: %s\n", error->request_code, text);
    search_failed = true;
    return 0;
}

// Xlib's own handler exits with status 1, which would read as "no window".
int on_lost_connection(Display*) {
    std::fprintf(stderr, "xtool: the connection to the X server was lost\n");
    std::exit(2);
}

void walk(Display* display, Window window, const char* pattern, bool shown, std::vector<Window>& found) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count)) return;
    for (unsigned int k = 0; k < count; ++k) {
        XTextProperty title{};
        XWindowAttributes attributes;
        if (XGetWMName(display, children[k], &title) && title.value) {
            if (fnmatch(pattern, reinterpret_cast<const char*>(title.value), 0) == 0 &&
                (!shown ||
                 (XGetWindowAttributes(display, children[k], &attributes) && attributes.map_state == IsViewable)))
                found.push_back(children[k]);
            XFree(title.value);
        }
        walk(display, children[k], pattern, shown, found);
    }
    if (children) XFree(children);
}

} // namespace

int main(int argc, char** argv) {
    std::string_view command = argc > 1 ? argv[1] : "";
    char* end = nullptr;
    double wait = argc == 4 ? std::strtod(argv[3], &end) : 0;
    if (!(command == "close" || command == "find" || command == "shown") || argc < 3 ||
        argc > (command == "shown" ? 4 : 3) || (end && (*end || !(wait >= 0)))) {
        std::fprintf(stderr, "usage: xtool close WINDOW | xtool find NAME | xtool shown NAME [SECONDS]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "xtool: cannot open the X display '%s'\n", XDisplayName(nullptr));
        return 2;
    }
    XSetErrorHandler(on_error);
    XSetIOErrorHandler(on_lost_connection);
    if (command == "close") {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = std::strtoul(argv[2], nullptr, 0);
        event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
        XCloseDisplay(display);
        return 0;
    }
    std::vector<Window> found;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(wait);
    for (;;) {
        walk(display, DefaultRootWindow(display), argv[2], command == "shown", found);
        if (search_failed) return 2;
        if (!found.empty() || std::chrono::steady_clock::now() >= deadline) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    for (Window window : found) std::printf("%lu\n", window);
    XCloseDisplay(display);
    return found.empty() ? 1 : 0;
}
