// The desktop host, on SDL2. It implements, for the runtime:
//  - one top-level window per shown scene: title, client size, resizing,
//    showing, hiding, raising and the player's close button;
//  - presses and releases of the primary button, passed on with their pixel;
//  - the pointer shapes arrow, hourglass and no-drop sign;
//  - wake-ups on the 64 Hz grid of the monotonic clock, sleeping in the
//    event wait in between and not waking at all while no timer runs;
//  - repainting only what a handler changed, and the modal message of a
//    run-time error;
//  - a whole-number scale for screens of high pixel density: every pixel
//    of a scene becomes a square block, and clicks are mapped back, so the
//    scenes never see scaled values;
//  - for measuring, a log of every wake-up ("grid_ns actual_ns", both on the
//    runtime's clock) and of when the first frame was shown.

#include "app/host.h"

#include "paint/canvas.h"
#include "paint/image.h"
#include "paint/painter.h"
#include "runtime/runtime.h"

#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace guardianes {

namespace {

constexpr int kLargestScale = 8;

struct Window {
    SDL_Window* window = nullptr;
    Image frame;
    std::vector<std::uint32_t> blocks; // the frame scaled up, for presenting
    // What SDL copies to the window from: the frame, or its blocks. It is
    // made again only when they change size, so presenting allocates nothing.
    SDL_Surface* picture = nullptr;
};

// The scale the desktop asks for: X's Xft.dpi resource over 96, so that
// 192 dpi draws everything twice as large. 1 where there is no such setting.
int desktop_scale() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "x11") != 0) return 1;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 1;
    int scale = 1;
    if (const char* resources = XResourceManagerString(display)) {
        if (const char* dpi = std::strstr(resources, "Xft.dpi:")) {
            const double value = std::strtod(dpi + 8, nullptr);
            scale = std::clamp(static_cast<int>(value / 96.0), 1, kLargestScale);
        }
    }
    XCloseDisplay(display);
    return scale;
}

// SDL 2.26 sends its wake-up message on a connection of its own, which may
// reach the X server after the host has destroyed the window it is sent
// to; the server answers BadWindow, and Xlib's own handler would end the
// game over it. Without OpenGL in the way, a closing window is destroyed
// quickly enough to lose that race often. That one error is harmless and
// passed over; every other goes on to the handler that was there before.
XErrorHandler earlier_x_error_handler = nullptr;

int on_x_error(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow && error->request_code == X_SendEvent) return 0;
    return earlier_x_error_handler ? earlier_x_error_handler(display, error) : 0;
}

class DesktopHost final : public RuntimeObserver {
public:
    DesktopHost(Runtime& runtime, Clock& clock, Painter& painter, const HostOptions& options)
        : runtime_(runtime), clock_(clock), painter_(painter),
          scale_(options.scale > 0 ? options.scale : desktop_scale()) {
        cursors_[MousePointer::Default] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
        cursors_[MousePointer::Arrow] = cursors_[MousePointer::Default];
        cursors_[MousePointer::Hourglass] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT);
        cursors_[MousePointer::NoDrop] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_NO);
        if (!options.wakeup_log.empty()) wakeup_log_ = std::fopen(options.wakeup_log.c_str(), "w");
    }

    ~DesktopHost() override {
        for (auto& [scene, w] : windows_) {
            SDL_FreeSurface(w.picture);
            SDL_DestroyWindow(w.window);
        }
        for (SDL_Window* window : closed_) SDL_DestroyWindow(window);
        SDL_FreeCursor(cursors_[MousePointer::Default]);
        SDL_FreeCursor(cursors_[MousePointer::Hourglass]);
        SDL_FreeCursor(cursors_[MousePointer::NoDrop]);
        if (wakeup_log_) std::fclose(wakeup_log_);
    }

    int run() {
        runtime_.set_observer(this);
        runtime_.start();
        while (runtime_.running()) {
            const std::optional<Nanos> next = runtime_.next_wakeup();
            SDL_Event event;
            if (SDL_WaitEventTimeout(&event, timeout_ms(next))) {
                handle(event);
                while (runtime_.running() && SDL_PollEvent(&event)) handle(event);
            }
            if (quit_) break;
            const Nanos now = clock_.now();
            // The log compares the time of waking with the grid time it was
            // due at, so that a late wake-up shows its full lateness.
            if (runtime_.serve_wakeup() && next && wakeup_log_)
                std::fprintf(wakeup_log_, "%lld %lld\n", static_cast<long long>(*next), static_cast<long long>(now));
        }
        runtime_.set_observer(nullptr);
        if (const auto& error = runtime_.error()) return report(*error);
        return 0;
    }

    void scene_shown(Scene& scene) override {
        Window& w = windows_[&scene];
        if (!w.window) {
            w.window = SDL_CreateWindow(scene.caption().c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                        to_pixels(scene.client_width()) * scale_,
                                        to_pixels(scene.client_height()) * scale_,
                                        SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN);
            if (!w.window) {
                std::fprintf(stderr, "guardianes: cannot open a window: %s\n", SDL_GetError());
                quit_ = true;
                return;
            }
        }
        SDL_ShowWindow(w.window);
        SDL_RaiseWindow(w.window);
        const PixelRect all = full(scene);
        repaint(scene, w, {&all, 1});
        update_pointer();
    }

    void scene_hidden(Scene& scene) override {
        if (auto it = windows_.find(&scene); it != windows_.end()) SDL_HideWindow(it->second.window);
    }

    void scene_closed(Scene& scene) override {
        if (auto it = windows_.find(&scene); it != windows_.end()) {
            // Hidden now, destroyed when the host ends: SDL 2.26 may still
            // send its event-loop wake-up to a window destroyed while the
            // loop runs, and X would end the game over that BadWindow.
            SDL_HideWindow(it->second.window);
            SDL_FreeSurface(it->second.picture);
            closed_.push_back(it->second.window);
            windows_.erase(it);
        }
    }

    void scene_changed(Scene& scene) override {
        auto it = windows_.find(&scene);
        if (it == windows_.end() || !scene.shown()) return;
        if (!scene.damaged_areas().empty()) repaint(scene, it->second, scene.damaged_areas());
        if (scene.pointer_changed()) update_pointer();
    }

private:
    static int timeout_ms(const std::optional<Nanos>& next, Nanos now) {
        if (!next) return -1;
        const Nanos left = *next - now;
        return left <= 0 ? 0 : static_cast<int>((left + kMillisecond - 1) / kMillisecond);
    }
    int timeout_ms(const std::optional<Nanos>& next) const { return timeout_ms(next, clock_.now()); }

    static PixelRect full(const Scene& scene) {
        return {0, 0, to_pixels(scene.client_width()), to_pixels(scene.client_height())};
    }

    Scene* scene_of(Uint32 window_id) const {
        SDL_Window* window = SDL_GetWindowFromID(window_id);
        for (const auto& [scene, w] : windows_)
            if (w.window == window) return scene;
        return nullptr;
    }

    void handle(const SDL_Event& event) {
        switch (event.type) {
        case SDL_QUIT: quit_ = true; break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (event.button.button != SDL_BUTTON_LEFT) break;
            if (Scene* scene = scene_of(event.button.windowID)) {
                const int x = unscale(event.button.x);
                const int y = unscale(event.button.y);
                if (event.type == SDL_MOUSEBUTTONDOWN) runtime_.press(*scene, x, y);
                else runtime_.release(*scene, x, y);
            }
            break;
        case SDL_MOUSEMOTION:
            if (Scene* scene = scene_of(event.motion.windowID))
                set_pointer(*scene, unscale(event.motion.x), unscale(event.motion.y));
            break;
        case SDL_WINDOWEVENT: window_event(event.window); break;
        default: break;
        }
    }

    void window_event(const SDL_WindowEvent& event) {
        Scene* scene = scene_of(event.windowID);
        if (!scene) return;
        switch (event.event) {
        case SDL_WINDOWEVENT_CLOSE: runtime_.close(*scene); break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            // The runtime repaints through scene_changed when the size really changed.
            runtime_.resize(*scene, std::max(event.data1 / scale_, 1), std::max(event.data2 / scale_, 1));
            break;
        case SDL_WINDOWEVENT_EXPOSED: {
            const PixelRect all = full(*scene);
            present(windows_[scene], {&all, 1});
            break;
        }
        case SDL_WINDOWEVENT_ENTER: update_pointer(); break;
        default: break;
        }
    }

    void repaint(const Scene& scene, Window& w, std::span<const PixelRect> areas) {
        const PixelRect all = full(scene);
        if (w.frame.width != all.x1 || w.frame.height != all.y1) {
            painter_.paint(scene, w.frame);
            present(w, {&all, 1});
            return;
        }
        for (const PixelRect& area : areas) painter_.paint(scene, w.frame, area);
        present(w, areas);
    }

    // Wraps the frame, or its blocks when the window is scaled, for SDL.
    SDL_Surface* picture(Window& w) const {
        const int width = w.frame.width * scale_;
        const int height = w.frame.height * scale_;
        if (w.picture && w.picture->w == width && w.picture->h == height) return w.picture;
        SDL_FreeSurface(w.picture);
        std::uint32_t* pixels = w.frame.pixels.data();
        if (scale_ > 1) {
            w.blocks.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
            pixels = w.blocks.data();
        }
        w.picture = SDL_CreateRGBSurfaceWithFormatFrom(pixels, width, height, 32, width * 4, SDL_PIXELFORMAT_XRGB8888);
        return w.picture;
    }

    // Copies areas of the painted frame to the window and shows them, each
    // pixel as a scale x scale block.
    void present(Window& w, std::span<const PixelRect> areas) {
        SDL_Surface* surface = SDL_GetWindowSurface(w.window);
        SDL_Surface* source = picture(w);
        if (!surface || !source) return;
        std::array<SDL_Rect, Damage::kMostAreas> shown{};
        int count = 0;
        for (PixelRect area : areas) {
            area = intersect(area, {0, 0, w.frame.width, w.frame.height});
            if (area.empty() || count == static_cast<int>(shown.size())) continue;
            if (scale_ > 1) scale_up(w, area);
            SDL_Rect from{area.x0 * scale_, area.y0 * scale_, (area.x1 - area.x0) * scale_,
                          (area.y1 - area.y0) * scale_};
            SDL_Rect to = from; // SDL may clip the target rectangle it is given
            SDL_BlitSurface(source, &from, surface, &to);
            shown[static_cast<std::size_t>(count++)] = from;
        }
        if (count > 0) SDL_UpdateWindowSurfaceRects(w.window, shown.data(), count);
        if (count > 0 && !presented_) log_first_frame();
    }

    void scale_up(Window& w, const PixelRect& area) const {
        const std::size_t width = static_cast<std::size_t>(w.frame.width) * static_cast<std::size_t>(scale_);
        for (int y = area.y0 * scale_; y < area.y1 * scale_; ++y) {
            const std::uint32_t* row =
                &w.frame.pixels[static_cast<std::size_t>(y / scale_) * static_cast<std::size_t>(w.frame.width)];
            std::uint32_t* out = &w.blocks[static_cast<std::size_t>(y) * width];
            for (int x = area.x0 * scale_; x < area.x1 * scale_; ++x) out[x] = row[x / scale_];
        }
    }

    // The start-up time is measured from outside the program, by the wall
    // clock, since the runtime's own clock starts only once the program runs.
    void log_first_frame() {
        presented_ = true;
        if (!wakeup_log_) return;
        const auto since_epoch = std::chrono::system_clock::now().time_since_epoch();
        std::fprintf(wakeup_log_, "# first frame presented at %lld ns of Unix time\n",
                     static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(since_epoch).count()));
        std::fflush(wakeup_log_);
    }

    int unscale(int coordinate) const {
        return coordinate >= 0 ? coordinate / scale_ : -((-coordinate + scale_ - 1) / scale_);
    }

    void set_pointer(const Scene& scene, int x, int y) {
        const MousePointer pointer = runtime_.pointer_at(scene, x, y);
        auto it = cursors_.find(pointer);
        SDL_Cursor* cursor = it != cursors_.end() ? it->second : cursors_[MousePointer::Default];
        if (cursor && cursor != SDL_GetCursor()) SDL_SetCursor(cursor);
    }

    // The pointer changes when a handler changes it, even if the mouse does not move.
    void update_pointer() {
        SDL_Window* focus = SDL_GetMouseFocus();
        if (!focus) return;
        int x = 0;
        int y = 0;
        SDL_GetMouseState(&x, &y);
        for (const auto& [scene, w] : windows_)
            if (w.window == focus && scene->shown()) set_pointer(*scene, unscale(x), unscale(y));
    }

    int report(const ErrorReport& error) {
        const std::string title = "Run-time error '" + std::to_string(error.number) + "':";
        std::fprintf(stderr, "guardianes: %s %s\n", title.c_str(), error.name.c_str());
        SDL_Window* parent = nullptr;
        for (const auto& [scene, w] : windows_)
            if (scene->shown()) parent = w.window;
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Guardianes", (title + "\n\n" + error.name).c_str(), parent);
        return 1;
    }

    Runtime& runtime_;
    Clock& clock_;
    Painter& painter_;
    int scale_;
    std::map<Scene*, Window> windows_;
    std::vector<SDL_Window*> closed_;
    std::map<MousePointer, SDL_Cursor*> cursors_;
    std::FILE* wakeup_log_ = nullptr;
    bool presented_ = false;
    bool quit_ = false;
};

} // namespace

int run_desktop(Runtime& runtime, Clock& clock, Painter& painter, const HostOptions& options) {
    // A player's first click on a window that has just been focused must never be lost.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // The game paints in software, so the window's pixels go the window
    // system's own way. Through OpenGL they would load a GL driver, which
    // on a school computer without one means a software rasteriser: tens
    // of megabytes and a slower start, for nothing.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // Only a desktop will do: without one, SDL would try the console's
    // framebuffer or an invisible offscreen driver and the game would run
    // where nobody can see it.
    if (!SDL_getenv("SDL_VIDEODRIVER")) {
        std::string drivers;
        if (SDL_getenv("DISPLAY")) drivers = "x11";
        if (SDL_getenv("WAYLAND_DISPLAY")) drivers += drivers.empty() ? "wayland" : ",wayland";
        if (drivers.empty()) {
            std::fprintf(stderr, "guardianes: cannot open a window: no display (neither DISPLAY nor WAYLAND_DISPLAY is set)\n");
            return 1;
        }
        SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
    }
    // Before SDL starts: SDL keeps the handler it finds and puts it back
    // as it quits, just before it closes its connections to the X server,
    // which is when such an error is often read.
    earlier_x_error_handler = XSetErrorHandler(on_x_error);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "guardianes: cannot open a window: %s\n", SDL_GetError());
        return 1;
    }
    int status = 0;
    {
        DesktopHost host(runtime, clock, painter, options);
        status = host.run();
    }
    SDL_Quit();
    return status;
}

} // namespace guardianes
