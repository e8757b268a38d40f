// A player's hands and eyes on an X display, for the real-window tests:
//   xtool capture WINDOW FILE   writes the window's client area as PNG
//   xtool close WINDOW          asks the window to close, as its close button does
//   xtool minimise WINDOW       iconifies the window, as a window manager does
//   xtool restore WINDOW        maps an iconified window again
//   xtool resize WINDOW W H     moves the window to the screen's corner and
//                               makes its client area W x H pixels
//   xtool pointer WINDOW        prints where the pointer is, "X Y" in the
//                               window's client pixels
//   xtool storm WINDOW X Y N MS clicks N times at pixel (X, Y) of the window,
//                               evenly over MS milliseconds, through the
//                               server's input like a real mouse
// The tests' X server runs no window manager, so minimise and restore do
// to the game's window what one would: mark its state and unmap or map it.

#include "paint/image.h"
#include "paint/png.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

int shift_of(unsigned long mask) {
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

int capture(Display* display, Window window, const char* path) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return 1;
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (!image) {
        std::fprintf(stderr, "xtool: cannot read the window's pixels\n");
        return 1;
    }
    guardianes::Image out;
    out.resize(attributes.width, attributes.height);
    const int rs = shift_of(image->red_mask), gs = shift_of(image->green_mask), bs = shift_of(image->blue_mask);
    for (int y = 0; y < attributes.height; ++y) {
        for (int x = 0; x < attributes.width; ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            const unsigned long r = (p & image->red_mask) >> rs, g = (p & image->green_mask) >> gs,
                                b = (p & image->blue_mask) >> bs;
            out.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(out.width) +
                       static_cast<std::size_t>(x)] = static_cast<std::uint32_t>((r << 16) | (g << 8) | b);
        }
    }
    XDestroyImage(image);
    std::string error;
    if (!guardianes::write_png(out, path, error)) {
        std::fprintf(stderr, "xtool: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

int close_window(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
    return 0;
}

// ICCCM's WM_STATE and the EWMH hidden flag, which a window manager sets on
// a window it iconifies and clears when it maps it again.
void set_iconic(Display* display, Window window, bool iconic) {
    const Atom wm_state = XInternAtom(display, "WM_STATE", False);
    const long state[2] = {iconic ? IconicState : NormalState, None};
    XChangeProperty(display, window, wm_state, wm_state, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(state), 2);
    const Atom net_state = XInternAtom(display, "_NET_WM_STATE", False);
    const Atom hidden = XInternAtom(display, "_NET_WM_STATE_HIDDEN", False);
    XChangeProperty(display, window, net_state, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&hidden), iconic ? 1 : 0);
}

int minimise(Display* display, Window window) {
    set_iconic(display, window, true);
    XUnmapWindow(display, window);
    XFlush(display);
    return 0;
}

int pointer(Display* display, Window window) {
    Window root = 0;
    Window child = 0;
    int root_x = 0;
    int root_y = 0;
    int x = 0;
    int y = 0;
    unsigned int mask = 0;
    XQueryPointer(display, window, &root, &child, &root_x, &root_y, &x, &y, &mask);
    std::printf("%d %d\n", x, y);
    return 0;
}

int restore(Display* display, Window window) {
    set_iconic(display, window, false);
    XMapRaised(display, window);
    XFlush(display);
    return 0;
}

int resize(Display* display, Window window, const char* width, const char* height) {
    const unsigned long w = std::strtoul(width, nullptr, 10);
    const unsigned long h = std::strtoul(height, nullptr, 10);
    if (w < 1 || h < 1 || w > 32767 || h > 32767) {
        std::fprintf(stderr, "xtool: a window is 1 to 32767 pixels a side\n");
        return 2;
    }
    XMoveResizeWindow(display, window, 0, 0, static_cast<unsigned>(w), static_cast<unsigned>(h));
    XFlush(display);
    return 0;
}

int storm(Display* display, Window window, char** args) {
    const int x = std::atoi(args[0]);
    const int y = std::atoi(args[1]);
    const long count = std::atol(args[2]);
    const long span_ms = std::atol(args[3]);
    if (count < 1 || span_ms < 0) {
        std::fprintf(stderr, "xtool: a storm is at least one click over zero or more milliseconds\n");
        return 2;
    }
    XWarpPointer(display, None, window, 0, 0, 0, 0, x, y);
    XSync(display, False);
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    for (long i = 0; i < count; ++i) {
        std::this_thread::sleep_until(start + std::chrono::microseconds(span_ms * 1000 * i / count));
        XTestFakeButtonEvent(display, 1, True, CurrentTime);
        XTestFakeButtonEvent(display, 1, False, CurrentTime);
        XFlush(display);
    }
    XSync(display, False);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    std::printf("%ld clicks in %lld ms\n", count, static_cast<long long>(took));
    return 0;
}

struct Command {
    const char* name;
    int args; // after the window
};

constexpr Command kCommands[] = {{"capture", 1}, {"close", 0}, {"minimise", 0}, {"restore", 0},
                                 {"resize", 2},  {"storm", 4}, {"pointer", 0}};

} // namespace

int main(int argc, char** argv) {
    const Command* command = nullptr;
    for (const Command& c : kCommands)
        if (argc >= 2 && std::strcmp(argv[1], c.name) == 0 && argc == 3 + c.args) command = &c;
    if (!command) {
        std::fprintf(stderr, "usage: xtool capture WINDOW FILE | close WINDOW | minimise WINDOW | restore WINDOW |"
                             " resize WINDOW W H | storm WINDOW X Y N MS | pointer WINDOW\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "xtool: no display\n");
        return 1;
    }
    const Window window = std::strtoul(argv[2], nullptr, 0);
    const std::string name = command->name;
    const int status = name == "capture"    ? capture(display, window, argv[3])
                       : name == "close"    ? close_window(display, window)
                       : name == "minimise" ? minimise(display, window)
                       : name == "restore"  ? restore(display, window)
                       : name == "resize"   ? resize(display, window, argv[3], argv[4])
                       : name == "pointer"  ? pointer(display, window)
                                            : storm(display, window, argv + 3);
    XCloseDisplay(display);
    return status;
}
