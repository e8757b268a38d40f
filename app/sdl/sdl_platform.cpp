// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop game's platform on SDL2 (on X11 or Wayland): the only code
// that talks to SDL. It implements, for the desktop host:
//  - top-level windows: opened with their title and client size, framed and
//    resizable or covering the monitor, shown, raised, hidden, resized,
//    moved, and closed with the player's close button passed on;
//  - the primary button's presses and releases, the pointer's moves and
//    comings in, and the keys the session has words for (Escape, the arrows,
//    Tab, Space, Enter), with Shift, Ctrl and repeat;
//  - the screen's facts: the monitor, its work area, the desktop's
//    resolution setting (X's Xft.dpi) and, once the window manager has
//    framed a window, its frame (from SDL or the window's
//    _NET_FRAME_EXTENTS);
//  - presenting a window's picture from a surface of its own, only the
//    areas that changed, and again whole when the window is exposed;
//  - warping the real pointer, the arrow, hourglass and no-drop cursors, and
//    the modal message box;
//  - sleeping in SDL's event wait until the host's next wake-up;
//  - one audio device, its thread asking the host's feed for samples and
//    telling the loop, with an event, when the feed has gone silent.
// It leaves out every rule: sizes, places, scales, keys and endings are the
// session's, the loop the desktop host's.

#include "app/desktop/desktop_host.h"

#include "sound/synth.h"

#include "app/sdl/x11.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <utility>
#include <vector>

namespace guardianes {

namespace {

constexpr std::pair<SDL_Keycode, Key> kKeys[] = {
    {SDLK_ESCAPE, Key::Escape}, {SDLK_LEFT, Key::Left},    {SDLK_RIGHT, Key::Right},
    {SDLK_UP, Key::Up},         {SDLK_DOWN, Key::Down},    {SDLK_TAB, Key::Tab},
    {SDLK_SPACE, Key::Space},   {SDLK_RETURN, Key::Enter}, {SDLK_KP_ENTER, Key::Enter}};

class SdlPlatform final : public Platform {
public:
    SdlPlatform() : sound_drained_event_(SDL_RegisterEvents(1)) {
        cursors_[MousePointer::Default] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
        cursors_[MousePointer::Arrow] = cursors_[MousePointer::Default];
        cursors_[MousePointer::Hourglass] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT);
        cursors_[MousePointer::NoDrop] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_NO);
    }

    ~SdlPlatform() override {
        close_sound();
        if (sound_started_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
        for (auto& [id, w] : windows_) forget(w);
        for (SDL_Window* window : closed_) SDL_DestroyWindow(window);
        SDL_FreeCursor(cursors_[MousePointer::Default]);
        SDL_FreeCursor(cursors_[MousePointer::Hourglass]);
        SDL_FreeCursor(cursors_[MousePointer::NoDrop]);
        SDL_Quit();
    }

    void connect(PlatformEvents& events) override { events_ = &events; }

    void wait(int timeout_ms) override {
        SDL_Event event;
        if (!SDL_WaitEventTimeout(&event, timeout_ms)) return;
        handle(event);
        while (events_->taking_events() && SDL_PollEvent(&event)) handle(event);
    }

    Screen screen() override {
        SDL_Rect monitor{0, 0, 0, 0};
        SDL_Rect usable{0, 0, 0, 0};
        Screen screen;
        if (SDL_GetDisplayBounds(0, &monitor) == 0) screen.monitor = rect(monitor);
        screen.work_area = SDL_GetDisplayUsableBounds(0, &usable) == 0 ? rect(usable) : screen.monitor;
        screen.dpi = desktop_dpi();
        return screen;
    }

    std::optional<std::string> open_window(WindowId id, const WindowRequest& request) override {
        const Uint32 mode = request.fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : SDL_WINDOW_RESIZABLE;
        SDL_Window* window = SDL_CreateWindow(request.title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                              request.client.width, request.client.height, mode | SDL_WINDOW_HIDDEN);
        if (!window) return std::string(SDL_GetError());
        windows_[id].window = window;
        return std::nullopt;
    }

    void show_window(WindowId id) override {
        SDL_ShowWindow(windows_.at(id).window);
        SDL_RaiseWindow(windows_.at(id).window);
    }

    void hide_window(WindowId id) override { SDL_HideWindow(windows_.at(id).window); }

    // Hidden now, destroyed when the game ends: SDL 2.26 may still send its
    // event loop's wake-up to a window destroyed while the loop runs.
    void close_window(WindowId id) override {
        Window& w = windows_.at(id);
        SDL_HideWindow(w.window);
        closed_.push_back(w.window);
        w.window = nullptr;
        forget(w);
        windows_.erase(id);
    }

    void place_window(WindowId id, std::optional<Size> client, std::optional<Pixel> origin) override {
        Window& w = windows_.at(id);
        if (client) SDL_SetWindowSize(w.window, client->width, client->height);
        // SDL places a window by its client area where it knows the frame,
        // and leaves the window manager to place it by its frame otherwise.
        const Edges inset = w.frame_known_to_sdl ? w.frame : Edges{};
        if (origin) SDL_SetWindowPosition(w.window, origin->x + inset.left, origin->y + inset.top);
    }

    PixelRect client_area(WindowId id) override {
        Pixel at{0, 0};
        Size size;
        SDL_Window* window = windows_.at(id).window;
        SDL_GetWindowPosition(window, &at.x, &at.y);
        SDL_GetWindowSize(window, &size.width, &size.height);
        return PixelRect::at(at, size);
    }

    Picture picture(WindowId id, Size size) override {
        Window& w = windows_.at(id);
        if (!w.picture || w.picture->w != size.width || w.picture->h != size.height) {
            SDL_FreeSurface(w.picture);
            w.pixels.assign(static_cast<std::size_t>(std::max(size.width, 1)) * std::max(size.height, 1), 0);
            w.picture = SDL_CreateRGBSurfaceWithFormatFrom(w.pixels.data(), size.width, size.height, 32, size.width * 4,
                                                           SDL_PIXELFORMAT_XRGB8888);
        }
        if (!w.picture) return {};
        return {w.pixels.data(), size, size.width};
    }

    void present(WindowId id, Pixel at, std::span<const PixelRect> areas, bool whole) override {
        Window& w = windows_.at(id);
        w.at = at;
        SDL_Surface* surface = SDL_GetWindowSurface(w.window);
        if (!surface || !w.picture) return;
        // A window that changed size has a new surface, of no known content.
        if (whole || surface != w.shown_on) return present_whole(w, surface);
        std::array<SDL_Rect, 8> shown{};
        int count = 0;
        for (const PixelRect& area : areas) {
            if (count == static_cast<int>(shown.size())) break;
            SDL_Rect from{area.x0, area.y0, area.width(), area.height()};
            SDL_Rect to{from.x + at.x, from.y + at.y, from.w, from.h}; // SDL may clip the target it is given
            shown[static_cast<std::size_t>(count++)] = to;
            SDL_BlitSurface(w.picture, &from, surface, &to);
        }
        if (count > 0) SDL_UpdateWindowSurfaceRects(w.window, shown.data(), count);
        events_->presented();
    }

    void warp_pointer(WindowId id, Pixel at) override { SDL_WarpMouseInWindow(windows_.at(id).window, at.x, at.y); }

    void set_pointer_shape(WindowId, MousePointer shape) override {
        auto it = cursors_.find(shape);
        SDL_Cursor* cursor = it != cursors_.end() ? it->second : cursors_[MousePointer::Default];
        if (cursor && cursor != SDL_GetCursor()) SDL_SetCursor(cursor);
    }

    std::optional<std::pair<WindowId, Pixel>> pointer() override {
        SDL_Window* focus = SDL_GetMouseFocus();
        const std::optional<WindowId> id = focus ? id_of(SDL_GetWindowID(focus)) : std::nullopt;
        if (!id) return std::nullopt;
        Pixel at{0, 0};
        SDL_GetMouseState(&at.x, &at.y);
        return std::pair{*id, at};
    }

    void show_message(std::optional<WindowId> over, const Message& message) override {
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, message.title.c_str(), message.text.c_str(),
                                 over ? windows_.at(*over).window : nullptr);
    }

    std::optional<std::string> open_sound(SoundFeed& feed) override {
        if (!sound_started_ && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return std::string(SDL_GetError());
        sound_started_ = true;
        SDL_AudioSpec want{};
        want.freq = sound::kSampleRate;
        want.format = AUDIO_S16SYS;
        want.channels = 1;
        // About 12 ms a buffer: a cue is heard within two of its wake-up.
        want.samples = 256;
        want.callback = fill;
        want.userdata = this;
        feed_ = &feed;
        told_drained_ = false;
        SDL_AudioSpec got{};
        device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &got, 0);
        if (device_ == 0) return std::string(SDL_GetError());
        SDL_PauseAudioDevice(device_, 0);
        return std::nullopt;
    }

    void close_sound() override {
        if (device_) SDL_CloseAudioDevice(device_);
        device_ = 0;
    }

private:
    struct Window {
        SDL_Window* window = nullptr;
        // The picture, and the surface SDL copies it to the window from.
        std::vector<std::uint32_t> pixels;
        SDL_Surface* picture = nullptr;
        Pixel at{0, 0};
        // The window's surface the picture was last shown on.
        SDL_Surface* shown_on = nullptr;
        Edges frame;
        bool framed = false;
        bool frame_known_to_sdl = false;
    };

    static PixelRect rect(const SDL_Rect& r) { return PixelRect::at({r.x, r.y}, {r.w, r.h}); }

    static void forget(Window& w) {
        SDL_FreeSurface(w.picture);
        w.picture = nullptr;
        if (w.window) SDL_DestroyWindow(w.window);
    }

    std::optional<WindowId> id_of(Uint32 sdl_id) const {
        SDL_Window* window = SDL_GetWindowFromID(sdl_id);
        for (const auto& [id, w] : windows_)
            if (w.window == window && window) return id;
        return std::nullopt;
    }

    void present_whole(Window& w, SDL_Surface* surface) {
        w.shown_on = surface;
        SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
        SDL_Rect to{w.at.x, w.at.y, w.picture->w, w.picture->h};
        SDL_BlitSurface(w.picture, nullptr, surface, &to);
        SDL_UpdateWindowSurface(w.window);
        events_->presented();
    }

    // Once the window manager has framed a window, which SDL learns some
    // time after showing it, the host is told its frame.
    void learn_frame(WindowId id, Window& w) {
        if (w.framed) return;
        Edges edges;
        if (SDL_GetWindowBordersSize(w.window, &edges.top, &edges.left, &edges.bottom, &edges.right) == 0 &&
            edges.top + edges.left + edges.bottom + edges.right > 0) {
            w.frame_known_to_sdl = true;
        } else if (const std::optional<Edges> extents = frame_extents(w.window)) {
            edges = *extents;
        } else {
            return;
        }
        w.framed = true;
        w.frame = edges;
        events_->framed(id, edges);
    }

    void handle(const SDL_Event& event) {
        switch (event.type) {
        case SDL_QUIT: events_->quit_requested(); break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            const std::optional<WindowId> id = id_of(event.button.windowID);
            if (event.button.button != SDL_BUTTON_LEFT || !id) break;
            const Pixel at{event.button.x, event.button.y};
            if (event.type == SDL_MOUSEBUTTONDOWN)
                events_->pressed(*id, at);
            else
                events_->released(*id, at);
            break;
        }
        case SDL_MOUSEMOTION:
            if (const std::optional<WindowId> id = id_of(event.motion.windowID))
                events_->pointer_moved(*id, {event.motion.x, event.motion.y});
            break;
        case SDL_KEYDOWN: key(event.key); break;
        case SDL_WINDOWEVENT: window_event(event.window); break;
        default:
            if (event.type == sound_drained_event_) events_->sound_drained();
            break;
        }
    }

    void key(const SDL_KeyboardEvent& event) {
        KeyStroke stroke;
        for (const auto& [code, key] : kKeys)
            if (event.keysym.sym == code) stroke.key = key;
        stroke.shift = (event.keysym.mod & KMOD_SHIFT) != 0;
        stroke.ctrl = (event.keysym.mod & KMOD_CTRL) != 0;
        stroke.repeat = event.repeat != 0;
        events_->key_pressed(id_of(event.windowID), stroke);
    }

    void window_event(const SDL_WindowEvent& event) {
        const std::optional<WindowId> id = id_of(event.windowID);
        if (!id) return;
        Window& w = windows_.at(*id);
        learn_frame(*id, w);
        switch (event.event) {
        case SDL_WINDOWEVENT_CLOSE: events_->close_requested(*id); break;
        case SDL_WINDOWEVENT_SIZE_CHANGED: events_->resized(*id, {event.data1, event.data2}); break;
        case SDL_WINDOWEVENT_EXPOSED:
            if (w.picture)
                if (SDL_Surface* surface = SDL_GetWindowSurface(w.window)) present_whole(w, surface);
            break;
        case SDL_WINDOWEVENT_ENTER: events_->pointer_entered(*id); break;
        default: break;
        }
    }

    // The device's thread: it tells the loop once the feed has gone silent.
    static void fill(void* self, Uint8* stream, int length) {
        auto& platform = *static_cast<SdlPlatform*>(self);
        const bool sounding =
            platform.feed_->fill({reinterpret_cast<std::int16_t*>(stream), static_cast<std::size_t>(length) / 2});
        if (sounding) {
            platform.told_drained_ = false;
        } else if (!platform.told_drained_) {
            platform.told_drained_ = true;
            SDL_Event drained{};
            drained.type = platform.sound_drained_event_;
            SDL_PushEvent(&drained);
        }
    }

    PlatformEvents* events_ = nullptr;
    std::map<WindowId, Window> windows_;
    std::vector<SDL_Window*> closed_;
    std::map<MousePointer, SDL_Cursor*> cursors_;
    Uint32 sound_drained_event_;
    bool sound_started_ = false;
    SDL_AudioDeviceID device_ = 0;
    SoundFeed* feed_ = nullptr;
    bool told_drained_ = false; // by the device's thread
};

} // namespace

std::unique_ptr<Platform> start_platform(std::string& why) {
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
            why = "no display (neither DISPLAY nor WAYLAND_DISPLAY is set)";
            return nullptr;
        }
        SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
    }
    // Before SDL starts: SDL keeps the handler it finds and puts it back
    // as it quits, just before it closes its connections to the X server,
    // which is when such an error is often read.
    pass_over_sdl_wake_up_errors();
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        why = SDL_GetError();
        return nullptr;
    }
    return std::make_unique<SdlPlatform>();
}

std::vector<std::string> system_languages() {
    return languages_from_environment([](const char* name) -> const char* { return std::getenv(name); });
}

} // namespace guardianes
