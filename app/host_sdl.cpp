// SPDX-License-Identifier: GPL-3.0-or-later
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
//  - full screen: each scene at the largest whole scale that fits, centred
//    on black, the scene giving way staying up until the next is shown;
//  - a new game, built afresh, on Escape and after a stretch without a
//    press, and on a shared machine no way out but Shift+Ctrl+Escape;
//  - keyboard play: the keys move the real pointer where the runtime's
//    keyboard rules say, and Space or Enter click there;
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
    DesktopHost(const RuntimeFactory& new_game, Clock& clock, Painter& painter, const HostOptions& options)
        : new_game_(new_game), clock_(clock), painter_(painter), options_(options),
          scale_(options.scale > 0 ? options.scale : desktop_scale()) {
        cursors_[MousePointer::Default] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
        cursors_[MousePointer::Arrow] = cursors_[MousePointer::Default];
        cursors_[MousePointer::Hourglass] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT);
        cursors_[MousePointer::NoDrop] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_NO);
        if (!options.wakeup_log.empty()) wakeup_log_ = std::fopen(options.wakeup_log.c_str(), "w");
    }

    ~DesktopHost() override {
        if (runtime_) runtime_->set_observer(nullptr);
        for (auto& [index, w] : windows_) {
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
        start_game();
        for (;;) {
            if (!runtime_->running()) {
                // On a shared machine the game never ends by itself: an
                // error is shown, and the next child finds a new game.
                if (!options_.kiosk || quit_) break;
                if (const auto& error = runtime_->error()) report(*error);
                start_game();
                continue;
            }
            const std::optional<Nanos> next = runtime_->next_wakeup();
            SDL_Event event;
            if (SDL_WaitEventTimeout(&event, timeout_ms(next))) {
                handle(event);
                while (runtime_->running() && !restart_ && SDL_PollEvent(&event)) handle(event);
            }
            if (quit_) break;
            const Nanos now = clock_.now();
            if (options_.idle_restart > 0 && now >= last_press_ + options_.idle_restart) restart_ = true;
            if (restart_) {
                start_game();
                continue;
            }
            // The log compares the time of waking with the grid time it was
            // due at, so that a late wake-up shows its full lateness.
            if (runtime_->serve_wakeup() && next && wakeup_log_)
                std::fprintf(wakeup_log_, "%lld %lld\n", static_cast<long long>(*next), static_cast<long long>(now));
            hide_left_behind();
        }
        runtime_->set_observer(nullptr);
        if (const auto& error = runtime_->error(); error && !quit_) return report(*error);
        return 0;
    }

    void scene_shown(Scene& scene) override {
        Window& w = windows_[scene.index()];
        w.scene = &scene;
        if (!w.window) {
            const Uint32 mode = options_.fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : SDL_WINDOW_RESIZABLE;
            w.window = SDL_CreateWindow(scene.caption().c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                        to_pixels(scene.client_width()) * scale_,
                                        to_pixels(scene.client_height()) * scale_, mode | SDL_WINDOW_HIDDEN);
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
        auto it = windows_.find(scene.index());
        if (it == windows_.end()) return;
        // In full screen a scene that gives way to another stays up until
        // the other one is shown, so that the desktop never shows between.
        if (!options_.fullscreen) SDL_HideWindow(it->second.window);
    }

    void scene_closed(Scene& scene) override {
        if (auto it = windows_.find(scene.index()); it != windows_.end()) {
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
        auto it = windows_.find(scene.index());
        if (it == windows_.end() || it->second.scene != &scene || !scene.shown()) return;
        if (!scene.damaged_areas().empty()) repaint(scene, it->second, scene.damaged_areas());
        if (scene.pointer_changed()) update_pointer();
    }

private:
    struct Window {
        SDL_Window* window = nullptr;
        Scene* scene = nullptr; // the current game's scene shown in it, if any
        Image frame;
        std::vector<std::uint32_t> blocks; // the frame scaled up, for presenting
        // What SDL copies to the window from: the frame, or its blocks. It is
        // made again only when they change size, so presenting allocates nothing.
        SDL_Surface* picture = nullptr;
        // Where the frame goes in the window, and how large.
        int scale = 0;
        int left = 0;
        int top = 0;
        // The window's surface the frame was last shown on: SDL makes a new
        // one, of no known content, when the window changes size.
        SDL_Surface* shown_on = nullptr;
    };

    // A new game, as when the program starts. The windows of the game
    // before are kept for the new game's scenes of the same place, so that
    // the screen never shows the desktop and no window is left behind.
    void start_game() {
        if (runtime_) runtime_->set_observer(nullptr);
        for (auto& [index, w] : windows_) w.scene = nullptr;
        runtime_.reset();
        runtime_ = new_game_();
        restart_ = false;
        pointer_.reset();
        last_press_ = clock_.now();
        runtime_->set_observer(this);
        runtime_->start();
        hide_left_behind();
    }

    // Hides every window whose scene is not shown, once the scene that
    // takes its place is up.
    void hide_left_behind() {
        for (auto& [index, w] : windows_)
            if (!w.scene || !w.scene->shown()) SDL_HideWindow(w.window);
    }

    int timeout_ms(const std::optional<Nanos>& next) const {
        std::optional<Nanos> until = next;
        if (options_.idle_restart > 0)
            until = std::min(until.value_or(last_press_ + options_.idle_restart), last_press_ + options_.idle_restart);
        if (!until) return -1;
        const Nanos left = *until - clock_.now();
        return left <= 0 ? 0 : static_cast<int>(std::min<Nanos>((left + kMillisecond - 1) / kMillisecond, 1 << 30));
    }

    static PixelRect full(const Scene& scene) {
        return {0, 0, to_pixels(scene.client_width()), to_pixels(scene.client_height())};
    }

    Window* window_of(Uint32 window_id) {
        SDL_Window* window = SDL_GetWindowFromID(window_id);
        for (auto& [index, w] : windows_)
            if (w.window == window && w.scene) return &w;
        return nullptr;
    }

    // A window pixel as the scene's client pixel.
    static Pixel to_scene(const Window& w, int x, int y) {
        const int scale = std::max(w.scale, 1);
        const auto unscale = [scale](int c) { return c >= 0 ? c / scale : -((-c + scale - 1) / scale); };
        return {unscale(x - w.left), unscale(y - w.top)};
    }

    void handle(const SDL_Event& event) {
        switch (event.type) {
        case SDL_QUIT: quit_ = true; break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (event.button.button != SDL_BUTTON_LEFT) break;
            if (Window* w = window_of(event.button.windowID)) {
                const Pixel at = to_scene(*w, event.button.x, event.button.y);
                pointer_ = {w->scene, at};
                if (event.type == SDL_MOUSEBUTTONDOWN) {
                    last_press_ = clock_.now();
                    runtime_->press(*w->scene, at.x, at.y);
                } else {
                    runtime_->release(*w->scene, at.x, at.y);
                }
            }
            break;
        case SDL_MOUSEMOTION:
            if (Window* w = window_of(event.motion.windowID)) {
                const Pixel at = to_scene(*w, event.motion.x, event.motion.y);
                pointer_ = {w->scene, at};
                set_pointer(*w->scene, at);
            }
            break;
        case SDL_KEYDOWN: key(event.key); break;
        case SDL_WINDOWEVENT: window_event(event.window); break;
        default: break;
        }
    }

    void key(const SDL_KeyboardEvent& event) {
        last_press_ = clock_.now();
        const SDL_Keycode key = event.keysym.sym;
        const bool shift = (event.keysym.mod & KMOD_SHIFT) != 0;
        if (options_.kiosk && key == SDLK_ESCAPE && !event.repeat) {
            if (shift && (event.keysym.mod & KMOD_CTRL))
                quit_ = true;
            else
                restart_ = true;
            return;
        }
        Window* w = options_.keyboard ? window_of(event.windowID) : nullptr;
        if (!w) return;
        Scene& scene = *w->scene;
        const Pixel at = pointer_over(*w);
        if (key == SDLK_SPACE || key == SDLK_RETURN || key == SDLK_KP_ENTER) {
            // A click, as the mouse's; a held key clicks once.
            if (event.repeat) return;
            runtime_->press(scene, at.x, at.y);
            runtime_->release(scene, at.x, at.y);
            return;
        }
        std::optional<PointerKey> move;
        switch (key) {
        case SDLK_LEFT: move = PointerKey::Left; break;
        case SDLK_RIGHT: move = PointerKey::Right; break;
        case SDLK_UP: move = PointerKey::Up; break;
        case SDLK_DOWN: move = PointerKey::Down; break;
        case SDLK_TAB: move = shift ? PointerKey::Previous : PointerKey::Next; break;
        default: return;
        }
        const Pixel to = Runtime::move_pointer(scene, at, *move, shift);
        pointer_ = {&scene, to};
        // The middle of the pixel's block, which maps back to the pixel.
        const int scale = std::max(w->scale, 1);
        SDL_WarpMouseInWindow(w->window, w->left + to.x * scale + scale / 2, w->top + to.y * scale + scale / 2);
        set_pointer(scene, to);
    }

    // The pointer over the window's scene: where the mouse or a key last
    // put it, or else where the window system has it now.
    Pixel pointer_over(const Window& w) const {
        if (pointer_ && pointer_->scene == w.scene) return pointer_->at;
        int x = 0;
        int y = 0;
        int window_x = 0;
        int window_y = 0;
        SDL_GetGlobalMouseState(&x, &y);
        SDL_GetWindowPosition(w.window, &window_x, &window_y);
        return to_scene(w, x - window_x, y - window_y);
    }

    void window_event(const SDL_WindowEvent& event) {
        Window* w = window_of(event.windowID);
        if (!w) return;
        Scene& scene = *w->scene;
        switch (event.event) {
        case SDL_WINDOWEVENT_CLOSE:
            if (!options_.kiosk) runtime_->close(scene);
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            // A full-screen window keeps its scene's size and places it anew
            // when it is next presented. Otherwise the runtime repaints
            // through scene_changed when the size really changed.
            if (!options_.fullscreen)
                runtime_->resize(scene, std::max(event.data1 / scale_, 1), std::max(event.data2 / scale_, 1));
            break;
        case SDL_WINDOWEVENT_EXPOSED: {
            // What was beside the frame may be gone too: show it all again.
            w->shown_on = nullptr;
            const PixelRect all = full(scene);
            present(*w, {&all, 1});
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

    // Decides where the frame goes in a window of that size: at the chosen
    // scale in the corner, or in full screen at the largest whole scale that
    // fits, centred. Returns whether that changed.
    bool place(Window& w, int width, int height) const {
        int scale = scale_;
        int left = 0;
        int top = 0;
        if (options_.fullscreen && w.frame.width > 0 && w.frame.height > 0) {
            scale = std::max(1, std::min(width / w.frame.width, height / w.frame.height));
            left = (width - w.frame.width * scale) / 2;
            top = (height - w.frame.height * scale) / 2;
        }
        if (scale == w.scale && left == w.left && top == w.top) return false;
        w.scale = scale;
        w.left = left;
        w.top = top;
        return true;
    }

    // Wraps the frame, or its blocks when the window is scaled, for SDL.
    static SDL_Surface* picture(Window& w) {
        const int width = w.frame.width * w.scale;
        const int height = w.frame.height * w.scale;
        if (w.picture && w.picture->w == width && w.picture->h == height) return w.picture;
        SDL_FreeSurface(w.picture);
        std::uint32_t* pixels = w.frame.pixels.data();
        if (w.scale > 1) {
            w.blocks.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
            pixels = w.blocks.data();
        }
        w.picture = SDL_CreateRGBSurfaceWithFormatFrom(pixels, width, height, 32, width * 4, SDL_PIXELFORMAT_XRGB8888);
        return w.picture;
    }

    // Copies areas of the painted frame to the window and shows them, each
    // pixel as a scale x scale block. When the frame's place in the window
    // or the window's surface changes, the window is cleared to black and
    // the whole frame shown.
    void present(Window& w, std::span<const PixelRect> areas) {
        SDL_Surface* surface = SDL_GetWindowSurface(w.window);
        if (!surface) return;
        const PixelRect all{0, 0, w.frame.width, w.frame.height};
        const bool moved = place(w, surface->w, surface->h) || surface != w.shown_on;
        w.shown_on = surface;
        if (moved) {
            SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
            areas = {&all, 1};
        }
        SDL_Surface* source = picture(w);
        if (!source) return;
        std::array<SDL_Rect, Damage::kMostAreas> shown{};
        int count = 0;
        const int scale = w.scale;
        for (PixelRect area : areas) {
            area = area.intersected(all);
            if (area.empty() || count == static_cast<int>(shown.size())) continue;
            if (scale > 1) scale_up(w, area);
            SDL_Rect from{area.x0 * scale, area.y0 * scale, (area.x1 - area.x0) * scale, (area.y1 - area.y0) * scale};
            SDL_Rect to{from.x + w.left, from.y + w.top, from.w, from.h}; // SDL may clip the target it is given
            shown[static_cast<std::size_t>(count++)] = to;
            SDL_BlitSurface(source, &from, surface, &to);
        }
        if (moved)
            SDL_UpdateWindowSurface(w.window);
        else if (count > 0)
            SDL_UpdateWindowSurfaceRects(w.window, shown.data(), count);
        if (count > 0 && !presented_) log_first_frame();
    }

    static void scale_up(Window& w, const PixelRect& area) {
        const int scale = w.scale;
        const std::size_t width = static_cast<std::size_t>(w.frame.width) * static_cast<std::size_t>(scale);
        for (int y = area.y0 * scale; y < area.y1 * scale; ++y) {
            const std::uint32_t* row =
                &w.frame.pixels[static_cast<std::size_t>(y / scale) * static_cast<std::size_t>(w.frame.width)];
            std::uint32_t* out = &w.blocks[static_cast<std::size_t>(y) * width];
            for (int x = area.x0 * scale; x < area.x1 * scale; ++x) out[x] = row[x / scale];
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

    void set_pointer(const Scene& scene, Pixel at) {
        const MousePointer pointer = runtime_->pointer_at(scene, at.x, at.y);
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
        for (const auto& [index, w] : windows_)
            if (w.window == focus && w.scene && w.scene->shown()) set_pointer(*w.scene, to_scene(w, x, y));
    }

    int report(const ErrorReport& error) {
        const std::string title = "Run-time error '" + std::to_string(error.number) + "':";
        std::fprintf(stderr, "guardianes: %s %s\n", title.c_str(), error.name.c_str());
        SDL_Window* parent = nullptr;
        for (const auto& [index, w] : windows_)
            if (w.scene && w.scene->shown()) parent = w.window;
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Guardianes", (title + "\n\n" + error.name).c_str(), parent);
        return 1;
    }

    struct PointerSpot {
        const Scene* scene;
        Pixel at;
    };

    const RuntimeFactory& new_game_;
    std::unique_ptr<Runtime> runtime_;
    Clock& clock_;
    Painter& painter_;
    const HostOptions& options_;
    int scale_;
    std::map<std::size_t, Window> windows_; // by scene index
    std::vector<SDL_Window*> closed_;
    std::map<MousePointer, SDL_Cursor*> cursors_;
    std::FILE* wakeup_log_ = nullptr;
    std::optional<PointerSpot> pointer_;
    Nanos last_press_ = 0;
    bool presented_ = false;
    bool quit_ = false;
    bool restart_ = false;
};

} // namespace

int run_desktop(const RuntimeFactory& new_game, Clock& clock, Painter& painter, const HostOptions& options) {
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
            std::fprintf(stderr,
                         "guardianes: cannot open a window: no display (neither DISPLAY nor WAYLAND_DISPLAY is set)\n");
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
        DesktopHost host(new_game, clock, painter, options);
        status = host.run();
    }
    SDL_Quit();
    return status;
}

} // namespace guardianes
