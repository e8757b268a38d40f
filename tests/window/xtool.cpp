// A player's hands and eyes on an X display, for the real-window tests:
//   xtool capture WINDOW FILE   writes the window's client area as PNG
//   xtool close WINDOW          asks the window to close, as its close button does

#include "runtime/paint/image.h"
#include "runtime/paint/png.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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
            out.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(out.width) + static_cast<std::size_t>(x)] =
                static_cast<std::uint32_t>((r << 16) | (g << 8) | b);
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

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || (std::strcmp(argv[1], "capture") == 0 && argc != 4)) {
        std::fprintf(stderr, "usage: xtool capture WINDOW FILE | xtool close WINDOW\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "xtool: no display\n");
        return 1;
    }
    const Window window = std::strtoul(argv[2], nullptr, 0);
    const int status = std::strcmp(argv[1], "capture") == 0 ? capture(display, window, argv[3])
                                                          : close_window(display, window);
    XCloseDisplay(display);
    return status;
}
