// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop host, on SDL2: it turns SDL's events into the session's calls
// and shows what the session and its runtime say. It implements:
//  - one top-level window per shown scene: title, client size, resizing,
//    showing, hiding, raising and the player's close button;
//  - presses and releases of the primary button and the pointer's moves,
//    passed on with their scene pixel;
//  - the keys the session has rules for (Escape, the arrows, Tab, Space,
//    Enter), with Shift, Ctrl and repeat, and moving the real pointer where
//    the keys put it;
//  - the pointer shapes arrow, hourglass and no-drop sign;
//  - sleeping in the event wait until the session's next wake-up, and not
//    waking at all while nothing is due;
//  - repainting only what a handler changed, and the modal message of a
//    run-time error;
//  - the scale the session fits to the monitor's work area, from the
//    desktop's resolution setting or --scale: every pixel of a scene as a
//    square block, or smoothed smaller where even one to one does not fit;
//  - full screen: each scene at the scale that fits, centred on black, the
//    scene giving way staying up until the next is shown;
//  - the game's sounds through one SDL audio device, open only while
//    something sounds, and one line on standard error where there is none;
//  - for measuring, a log of every wake-up ("grid_ns actual_ns", both on the
//    runtime's clock) and of when the first frame was shown.
// It leaves out every rule: what Escape does, when a new game starts, where
// the keys take the pointer and how large a scene is drawn are the session's.

#include "app/host.h"
#include "app/scene_windows.h"
#include "app/wakeup_log.h"

#include "paint/image.h"
#include "paint/painter.h"
#include "paint/scaled.h"
#include "runtime/runtime.h"
#include "session/placement.h"
#include "session/session.h"
#include "sound/mixer.h"
#include "sound/synth.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace guardianes {

namespace {

// The scale the desktop asks for, from X's Xft.dpi resource; 1 where there
// is no such setting.
int desktop_scale() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "x11") != 0) return 1;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 1;
    int scale = 1;
    if (const char* resources = XResourceManagerString(display)) {
        if (const char* dpi = std::strstr(resources, "Xft.dpi:")) scale = scale_for_dpi(std::strtod(dpi + 8, nullptr));
    }
    XCloseDisplay(display);
    return scale;
}

// The window manager's frame around a window's client area.
struct FrameEdges {
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
    // Whether SDL knows them, and so places a window by its client area
    // rather than leaving the window manager to place it by its frame.
    bool known_to_sdl = false;
};

// The frame around a window, once the window manager has framed it. SDL
// 2.26 does not always learn it on X, so the window's _NET_FRAME_EXTENTS
// are read there.
std::optional<FrameEdges> frame_edges(SDL_Window* window) {
    FrameEdges edges;
    if (SDL_GetWindowBordersSize(window, &edges.top, &edges.left, &edges.bottom, &edges.right) == 0 &&
        edges.top + edges.left + edges.bottom + edges.right > 0) {
        edges.known_to_sdl = true;
        return edges;
    }
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
    std::optional<FrameEdges> found;
    if (data && format == 32 && count == 4) {
        // Left, right, top, bottom, each as a long whatever its 32 bits.
        const auto* edge = reinterpret_cast<const long*>(data);
        found = FrameEdges{static_cast<int>(edge[0]), static_cast<int>(edge[1]), static_cast<int>(edge[2]),
                           static_cast<int>(edge[3])};
    }
    if (data) XFree(data);
    return found;
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

// What the player sees: a window for each scene, its frame painted and
// presented at the window's placement, and the pointer's shape.
class DesktopWindows {
public:
    struct Window {
        SDL_Window* window = nullptr;
        Scene* scene = nullptr; // the current game's scene shown in it, if any
        Image frame;
        std::vector<std::uint32_t> scaled; // the frame at the window's scale, for presenting
        // What SDL copies to the window from: the frame, or its scaled copy.
        // It is made again only when they change size, so presenting
        // allocates nothing.
        SDL_Surface* picture = nullptr;
        // The scale the session fitted the window to when it opened, and
        // again once the window manager's frame around it was known.
        Scale fitted;
        bool framed = false;
        Placement placement{{0, 0}, 0, 0}; // none yet
        // The window's surface the frame was last shown on: SDL makes a new
        // one, of no known content, when the window changes size.
        SDL_Surface* shown_on = nullptr;
    };

    DesktopWindows(Painter& painter, const GameOptions& options)
        : painter_(painter), options_(options), windows_(options) {
        cursors_[MousePointer::Default] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
        cursors_[MousePointer::Arrow] = cursors_[MousePointer::Default];
        cursors_[MousePointer::Hourglass] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT);
        cursors_[MousePointer::NoDrop] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_NO);
    }

    ~DesktopWindows() {
        for (auto& [index, w] : windows_) {
            SDL_FreeSurface(w.picture);
            SDL_DestroyWindow(w.window);
        }
        for (SDL_Window* window : closed_) SDL_DestroyWindow(window);
        SDL_FreeCursor(cursors_[MousePointer::Default]);
        SDL_FreeCursor(cursors_[MousePointer::Hourglass]);
        SDL_FreeCursor(cursors_[MousePointer::NoDrop]);
    }

    // Opens or raises the scene's window; its pixels come with the
    // changes the show reports. Null when no window can be opened.
    Window* show(Scene& scene) {
        Window& w = windows_.take(scene);
        if (!w.window) {
            const Size size = pixel_size(scene);
            w.fitted = fit_scale(size, work_area(), wanted_scale());
            const Uint32 mode = options_.fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : SDL_WINDOW_RESIZABLE;
            w.window = SDL_CreateWindow(scene.caption().c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                        w.fitted.of(size.width), w.fitted.of(size.height), mode | SDL_WINDOW_HIDDEN);
            if (!w.window) {
                std::fprintf(stderr, "guardianes: cannot open a window: %s\n", SDL_GetError());
                return nullptr;
            }
        }
        SDL_ShowWindow(w.window);
        SDL_RaiseWindow(w.window);
        return &w;
    }

    void hide(const Scene& scene) {
        if (Window* w = windows_.find(scene); w && windows_.hides_at_once()) SDL_HideWindow(w->window);
    }

    void close(const Scene& scene) {
        if (Window* w = windows_.find(scene)) {
            // Hidden now, destroyed when the host ends: SDL 2.26 may still
            // send its event-loop wake-up to a window destroyed while the
            // loop runs, and X would end the game over that BadWindow.
            SDL_HideWindow(w->window);
            SDL_FreeSurface(w->picture);
            closed_.push_back(w->window);
            windows_.erase(scene);
        }
    }

    void forget_scenes() { windows_.forget_scenes(); }
    void hide_left_behind() {
        windows_.hide_left_behind([](Window& w) { SDL_HideWindow(w.window); });
    }

    // The window showing a scene of the current game.
    Window* window_of(Uint32 window_id) {
        SDL_Window* window = SDL_GetWindowFromID(window_id);
        return windows_.of([window](const Window& w) { return w.window == window; });
    }
    Window* window_showing(const Scene& scene) { return windows_.showing(scene); }

    SDL_Window* parent() const {
        const Window* top = windows_.top();
        return top ? top->window : nullptr;
    }

    void repaint(const Scene& scene, std::span<const PixelRect> areas) {
        Window* shown = windows_.showing(scene);
        if (!shown || !scene.shown()) return;
        Window& w = *shown;
        const Size size = pixel_size(scene);
        if (w.frame.width != size.width || w.frame.height != size.height) {
            painter_.paint(scene, w.frame);
            const PixelRect all{0, 0, size.width, size.height};
            present(w, {&all, 1});
            return;
        }
        for (const PixelRect& area : areas) painter_.paint(scene, w.frame, area);
        present(w, areas);
    }

    // Shows the whole frame again, and what is beside it.
    void expose(Window& w) {
        w.shown_on = nullptr;
        const PixelRect all{0, 0, w.frame.width, w.frame.height};
        present(w, {&all, 1});
    }

    void set_pointer(MousePointer shape) {
        auto it = cursors_.find(shape);
        SDL_Cursor* cursor = it != cursors_.end() ? it->second : cursors_[MousePointer::Default];
        if (cursor && cursor != SDL_GetCursor()) SDL_SetCursor(cursor);
    }

    // The window under the mouse, if it shows a scene, and where the mouse
    // is in it.
    Window* under_mouse(int& x, int& y) {
        SDL_Window* focus = SDL_GetMouseFocus();
        if (!focus) return nullptr;
        SDL_GetMouseState(&x, &y);
        return windows_.of([focus](const Window& w) { return w.window == focus && w.scene->shown(); });
    }

    bool presented() const { return presented_; }

private:
    static Size pixel_size(const Scene& scene) {
        return {to_pixels(scene.client_width()), to_pixels(scene.client_height())};
    }

    int wanted_scale() const { return options_.scale > 0 ? options_.scale : desktop_scale(); }

    // Where windows may go: the monitor's work area, or all of it in full
    // screen; a large room when the desktop does not say.
    SDL_Rect work_rect() const {
        SDL_Rect area{0, 0, 0, 0};
        const bool known =
            options_.fullscreen ? SDL_GetDisplayBounds(0, &area) == 0 : SDL_GetDisplayUsableBounds(0, &area) == 0;
        if (!known || area.w <= 0 || area.h <= 0) return {0, 0, 1 << 15, 1 << 15};
        return area;
    }
    Size work_area() const {
        const SDL_Rect area = work_rect();
        return {area.w, area.h};
    }

public:
    // Once the window manager has framed a window, which SDL learns some
    // time after showing it, its frame is known: a window that would then
    // not fit the work area is fitted again, once.
    void refit(Window& w) {
        if (w.framed || options_.fullscreen || !w.scene) return;
        const std::optional<FrameEdges> frame = frame_edges(w.window);
        if (!frame) return;
        w.framed = true;
        const Size size = pixel_size(*w.scene);
        const SDL_Rect area = work_rect();
        const Size room{area.w - frame->left - frame->right, area.h - frame->top - frame->bottom};
        const Scale scale = fit_scale(size, room, wanted_scale());
        if (scale == w.fitted) return;
        w.fitted = scale;
        SDL_SetWindowSize(w.window, scale.of(size.width), scale.of(size.height));
        // Where the window manager put the larger window, the smaller one
        // may still reach past the work area's edge: in its middle it fits.
        const int inset_x = frame->known_to_sdl ? frame->left : 0;
        const int inset_y = frame->known_to_sdl ? frame->top : 0;
        SDL_SetWindowPosition(w.window, area.x + inset_x + (room.width - scale.of(size.width)) / 2,
                              area.y + inset_y + (room.height - scale.of(size.height)) / 2);
    }

    // Whether a window's new size is only its scene's at the fitted scale,
    // as the host asked for it, rather than a player's resize.
    static bool fitted_size(const Window& w, int width, int height) {
        const Size size = pixel_size(*w.scene);
        return w.fitted.of(size.width) == width && w.fitted.of(size.height) == height;
    }

private:
    // Decides where the frame goes in a window of that size: at the fitted
    // scale in the corner, or in full screen at the scale that fits,
    // centred. Returns whether that changed.
    bool place(Window& w, int width, int height) const {
        const Size frame{w.frame.width, w.frame.height};
        const Placement placement = options_.fullscreen && frame.width > 0 && frame.height > 0
                                        ? centre(frame, {width, height}, fit_scale(frame, {width, height}, 1 << 15))
                                        : Placement{w.fitted, 0, 0};
        if (placement == w.placement) return false;
        w.placement = placement;
        return true;
    }

    // Wraps the frame, or its scaled copy, for SDL.
    static SDL_Surface* picture(Window& w) {
        const Scale scale = w.placement.scale;
        const int width = scale.of(w.frame.width);
        const int height = scale.of(w.frame.height);
        if (w.picture && w.picture->w == width && w.picture->h == height) return w.picture;
        SDL_FreeSurface(w.picture);
        std::uint32_t* pixels = w.frame.pixels.data();
        if (scale != Scale{}) {
            w.scaled.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
            pixels = w.scaled.data();
        }
        w.picture = SDL_CreateRGBSurfaceWithFormatFrom(pixels, width, height, 32, width * 4, SDL_PIXELFORMAT_XRGB8888);
        return w.picture;
    }

    // Copies areas of the painted frame to the window and shows them, at
    // the window's scale. When the frame's place in the window or the
    // window's surface changes, the window is cleared to black and the
    // whole frame shown.
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
        const Placement& at = w.placement;
        const ScaledFrame scaled(at.scale.times, at.scale.over);
        std::array<SDL_Rect, Damage::kMostAreas> shown{};
        int count = 0;
        for (const PixelRect& area : areas) {
            const PixelRect covered = scaled.covering(w.frame, area);
            if (covered.empty() || count == static_cast<int>(shown.size())) continue;
            if (at.scale != Scale{}) scaled.draw(w.frame, covered, w.scaled.data(), source->w);
            SDL_Rect from{covered.x0, covered.y0, covered.x1 - covered.x0, covered.y1 - covered.y0};
            SDL_Rect to{from.x + at.left, from.y + at.top, from.w, from.h}; // SDL may clip the target it is given
            shown[static_cast<std::size_t>(count++)] = to;
            SDL_BlitSurface(source, &from, surface, &to);
        }
        if (moved)
            SDL_UpdateWindowSurface(w.window);
        else if (count > 0)
            SDL_UpdateWindowSurfaceRects(w.window, shown.data(), count);
        if (count > 0) presented_ = true;
    }

    Painter& painter_;
    const GameOptions& options_;
    SceneWindows<Window> windows_;
    std::vector<SDL_Window*> closed_;
    std::map<MousePointer, SDL_Cursor*> cursors_;
    bool presented_ = false;
};

// The game's sounds through one SDL audio device, open only while something
// sounds: an open device's thread wakes for every buffer even when paused,
// and an idle game should cost nothing. The device's thread tells the main
// loop, with an event, when the mix has gone silent, and the loop closes it.
class DesktopSound {
public:
    DesktopSound() : silent_event_(SDL_RegisterEvents(1)) {}
    ~DesktopSound() {
        if (device_) SDL_CloseAudioDevice(device_);
        if (started_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    DesktopSound(const DesktopSound&) = delete;
    DesktopSound& operator=(const DesktopSound&) = delete;

    void start(const Scene& scene, Cue cue) {
        if (failed_) return;
        if (!device_) {
            // The voice is ready before the device opens, so that its first
            // buffer is the cue's and not the silence of a paused device.
            mixer_.start(scene.index(), cue);
            told_silent_ = false;
            if (!open()) return void(mixer_ = sound::Mixer{});
            SDL_PauseAudioDevice(device_, 0);
            return;
        }
        // Made before the device is locked, so that its thread never waits for it.
        sound::samples(cue);
        SDL_LockAudioDevice(device_);
        mixer_.start(scene.index(), cue);
        told_silent_ = false;
        SDL_UnlockAudioDevice(device_);
    }

    void stop(const Scene& scene) {
        if (!device_) return;
        SDL_LockAudioDevice(device_);
        mixer_.stop(scene.index());
        SDL_UnlockAudioDevice(device_);
    }

    bool is_silent_event(const SDL_Event& event) const { return event.type == silent_event_; }

    // Closes the device once the mix is silent.
    void close_if_silent() {
        if (!device_) return;
        SDL_LockAudioDevice(device_);
        const bool silent = mixer_.silent();
        SDL_UnlockAudioDevice(device_);
        if (!silent) return;
        SDL_CloseAudioDevice(device_);
        device_ = 0;
    }

private:
    bool open() {
        if (device_) return true;
        if (failed_) return false;
        if (!started_ && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return fail();
        started_ = true;
        SDL_AudioSpec want{};
        want.freq = sound::kSampleRate;
        want.format = AUDIO_S16SYS;
        want.channels = 1;
        // About 12 ms a buffer: a cue is heard within two of its wake-up.
        want.samples = 256;
        want.callback = fill;
        want.userdata = this;
        SDL_AudioSpec got{};
        device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &got, 0);
        return device_ != 0 || fail();
    }

    bool fail() {
        failed_ = true;
        std::fprintf(stderr, "guardianes: playing without sound: %s\n", SDL_GetError());
        return false;
    }

    static void fill(void* self, Uint8* stream, int length) {
        auto& sound = *static_cast<DesktopSound*>(self);
        sound.mixer_.mix({reinterpret_cast<std::int16_t*>(stream), static_cast<std::size_t>(length) / 2});
        if (sound.mixer_.silent() && !sound.told_silent_) {
            sound.told_silent_ = true;
            SDL_Event event{};
            event.type = sound.silent_event_;
            SDL_PushEvent(&event);
        }
    }

    Uint32 silent_event_;
    SDL_AudioDeviceID device_ = 0;
    bool started_ = false;
    bool failed_ = false;
    // Touched by the device's thread under its lock.
    sound::Mixer mixer_;
    bool told_silent_ = false;
};

// The player's side: SDL's events turned into the session's calls, and the
// loop that sleeps until the session's next wake-up.
class DesktopHost final : public SessionObserver {
public:
    DesktopHost(Session& session, Clock& clock, Painter& painter, const HostOptions& options)
        : session_(session), clock_(clock), windows_(painter, session.options()), wakeup_log_(options.wakeup_log) {
        session_.set_observer(this);
    }

    ~DesktopHost() override { session_.set_observer(nullptr); }

    int run() {
        session_.new_game();
        while (!quit_) {
            if (error_) {
                report(*error_);
                error_.reset();
                session_.error_seen();
            }
            if (session_.ended()) break;
            SDL_Event event;
            if (SDL_WaitEventTimeout(&event, timeout_ms(session_.next_wakeup()))) {
                handle(event);
                while (session_.playing() && !quit_ && SDL_PollEvent(&event)) handle(event);
            }
            if (quit_) break;
            wakeup_log_.serve(session_, clock_);
            windows_.hide_left_behind();
        }
        return session_.exit_status();
    }

    // SessionObserver
    void scene_shown(Scene& scene) override {
        if (!windows_.show(scene)) quit_ = true;
        update_pointer(true);
    }
    void scene_hidden(Scene& scene) override { windows_.hide(scene); }
    void scene_closed(Scene& scene) override { windows_.close(scene); }
    void scene_changed(Scene& scene) override {
        if (!scene.damaged_areas().empty()) {
            windows_.repaint(scene, scene.damaged_areas());
            if (windows_.presented()) wakeup_log_.frame_presented();
        }
        if (scene.pointer_changed()) update_pointer();
    }
    void game_closing() override { windows_.forget_scenes(); }
    void game_started() override { windows_.hide_left_behind(); }
    void error_raised(const ErrorReport& error) override { error_ = error; }
    void pointer_moved_by_keys(Scene& scene, Pixel at) override { warp(scene, at); }
    void cue_started(Scene& scene, Cue cue) override { sound_.start(scene, cue); }
    void cues_stopped(Scene& scene) override { sound_.stop(scene); }

private:
    int timeout_ms(const std::optional<Nanos>& next) const {
        if (!next) return -1;
        const Nanos left = *next - clock_.now();
        return left <= 0 ? 0 : static_cast<int>(std::min<Nanos>((left + kMillisecond - 1) / kMillisecond, 1 << 30));
    }

    void handle(const SDL_Event& event) {
        switch (event.type) {
        case SDL_QUIT: quit_ = true; break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (event.button.button != SDL_BUTTON_LEFT) break;
            if (DesktopWindows::Window* w = windows_.window_of(event.button.windowID)) {
                const Pixel at = w->placement.to_scene(event.button.x, event.button.y);
                if (event.type == SDL_MOUSEBUTTONDOWN)
                    session_.press(*w->scene, at);
                else
                    session_.release(*w->scene, at);
            }
            break;
        case SDL_MOUSEMOTION:
            if (DesktopWindows::Window* w = windows_.window_of(event.motion.windowID)) {
                // The move a warp of the keys' pointer makes is theirs
                // already: at a shrunken scale it would land a pixel off.
                if (warped_ && warped_->window == event.motion.windowID && warped_->x == event.motion.x &&
                    warped_->y == event.motion.y) {
                    warped_.reset();
                    break;
                }
                session_.pointer_moved(*w->scene, w->placement.to_scene(event.motion.x, event.motion.y));
                windows_.set_pointer(session_.pointer_shape(*w->scene));
            }
            break;
        case SDL_KEYDOWN: key(event.key); break;
        case SDL_WINDOWEVENT: window_event(event.window); break;
        default:
            if (sound_.is_silent_event(event)) sound_.close_if_silent();
            break;
        }
    }

    void key(const SDL_KeyboardEvent& event) {
        KeyStroke press;
        switch (event.keysym.sym) {
        case SDLK_ESCAPE: press.key = Key::Escape; break;
        case SDLK_LEFT: press.key = Key::Left; break;
        case SDLK_RIGHT: press.key = Key::Right; break;
        case SDLK_UP: press.key = Key::Up; break;
        case SDLK_DOWN: press.key = Key::Down; break;
        case SDLK_TAB: press.key = Key::Tab; break;
        case SDLK_SPACE: press.key = Key::Space; break;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: press.key = Key::Enter; break;
        default: break;
        }
        press.shift = (event.keysym.mod & KMOD_SHIFT) != 0;
        press.ctrl = (event.keysym.mod & KMOD_CTRL) != 0;
        press.repeat = event.repeat != 0;
        DesktopWindows::Window* w = windows_.window_of(event.windowID);
        session_.key(w ? w->scene : nullptr, press);
    }

    // Moves the real pointer to the middle of the scene pixel the keys chose.
    void warp(const Scene& scene, Pixel at) {
        DesktopWindows::Window* w = windows_.window_showing(scene);
        if (!w) return;
        const Pixel to = w->placement.to_window(at);
        warped_ = Warp{SDL_GetWindowID(w->window), to.x, to.y};
        SDL_WarpMouseInWindow(w->window, to.x, to.y);
        windows_.set_pointer(session_.pointer_shape(scene));
    }

    void window_event(const SDL_WindowEvent& event) {
        DesktopWindows::Window* w = windows_.window_of(event.windowID);
        if (!w) return;
        Scene& scene = *w->scene;
        windows_.refit(*w);
        switch (event.event) {
        case SDL_WINDOWEVENT_CLOSE: session_.close(scene); break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            // A full-screen window keeps its scene's size and places it anew
            // when it is next presented. Otherwise the runtime repaints
            // through scene_changed when the size really changed.
            if (!session_.options().fullscreen && !DesktopWindows::fitted_size(*w, event.data1, event.data2)) {
                const Pixel size = Placement{w->fitted, 0, 0}.to_scene(event.data1, event.data2);
                session_.runtime().resize(scene, std::max(size.x, 1), std::max(size.y, 1));
            }
            break;
        case SDL_WINDOWEVENT_EXPOSED: windows_.expose(*w); break;
        case SDL_WINDOWEVENT_ENTER: update_pointer(true); break;
        default: break;
        }
    }

    // The pointer changes when a handler changes it, even if the mouse does
    // not move; and with `entered`, the session learns where the mouse is
    // over a window it has just entered or that has just opened under it.
    void update_pointer(bool entered = false) {
        int x = 0;
        int y = 0;
        DesktopWindows::Window* w = windows_.under_mouse(x, y);
        if (!w) return;
        if (entered) session_.pointer_moved(*w->scene, w->placement.to_scene(x, y));
        windows_.set_pointer(session_.pointer_shape(*w->scene));
    }

    void report(const ErrorReport& error) {
        const std::string title = error_title(error);
        std::fprintf(stderr, "guardianes: %s %s\n", title.c_str(), error.name.c_str());
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Guardianes", (title + "\n\n" + error.name).c_str(),
                                 windows_.parent());
    }

    struct Warp {
        Uint32 window;
        int x;
        int y;
    };

    Session& session_;
    Clock& clock_;
    DesktopWindows windows_;
    DesktopSound sound_;
    WakeupLog wakeup_log_;
    std::optional<ErrorReport> error_;
    std::optional<Warp> warped_;
    bool quit_ = false;
};

} // namespace

int run_desktop(Session& session, Clock& clock, Painter& painter, const HostOptions& options) {
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
        DesktopHost host(session, clock, painter, options);
        status = host.run();
    }
    SDL_Quit();
    return status;
}

} // namespace guardianes
