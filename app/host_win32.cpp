// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows host, on the Win32 API itself: it turns window messages into
// the session's calls and shows what the session and its runtime say, as
// the desktop host does on SDL2. It implements:
//  - one top-level window per shown scene: its title the scene's caption,
//    its client area the scene's size at the session's scale, the scene
//    shown last in front, hidden scenes hidden, and the close button (or
//    Alt+F4) passed on as the player's close of the scene;
//  - presses and releases of the left button, with the mouse captured while
//    it is held, and the pointer's moves, each with its scene pixel;
//  - the keys the session has rules for (Escape, the arrows, Tab, Space,
//    Enter), with Shift, Ctrl and repeat, and moving the real pointer where
//    the keys put it (SetCursorPos);
//  - the system's arrow, hourglass and no-drop cursors;
//  - sleeping in the message wait until the session's next wake-up, with
//    the system timer at 1 ms while a wake-up is due and left alone while
//    none is, and serving wake-ups while a window is dragged or sized;
//  - repainting only what a handler changed: the painted frame is drawn at
//    the window's scale into a DIB section, and the changed areas only are
//    invalidated and copied to the window;
//  - the modal message box of a run-time error;
//  - per-monitor DPI awareness (declared in the manifest): windows at the
//    largest whole scale the monitor's DPI asks for, or --scale, fitted to
//    the monitor's work area by the session's rule;
//  - full screen: each scene on a borderless window covering the monitor,
//    at the scale that fits, centred on black, the scene giving way staying
//    up until the next is shown;
//  - standard output and error on the console the game was started from,
//    for --help, --version and a refused option;
//  - the game's sounds through waveOut, the device open only while
//    something sounds, fed 20 ms buffers from the main loop;
//  - for measuring, the log of wake-ups and of the first frame that
//    GUARDIANES_WAKEUP_LOG asks for, as on the desktop.
// It leaves out moving a window to a monitor of another DPI (the window
// keeps the scale it opened at). Every rule is the session's.

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

#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#ifndef UNICODE
#define UNICODE // the system's resource names (IDC_ARROW) as wide strings
#endif
#include <windows.h>

#include <mmsystem.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace guardianes {

namespace {

// A program built for the window system starts without the console of the
// command prompt it was typed at, so --help, --version and a refused
// option would print nowhere. It borrows that console, where there is one,
// before main() prints anything; output sent to a file or a pipe is kept.
bool borrow_console() {
    const auto missing = [](DWORD which) {
        const HANDLE handle = GetStdHandle(which);
        return handle == nullptr || handle == INVALID_HANDLE_VALUE;
    };
    const bool out = missing(STD_OUTPUT_HANDLE);
    const bool err = missing(STD_ERROR_HANDLE);
    if ((!out && !err) || !AttachConsole(ATTACH_PARENT_PROCESS)) return false;
    if (out) std::freopen("CONOUT$", "w", stdout);
    if (err) std::freopen("CONOUT$", "w", stderr);
    return true;
}
[[maybe_unused]] const bool console_borrowed = borrow_console();

constexpr wchar_t kWindowClass[] = L"Guardianes scene";

std::wstring widen(const std::string& text) {
    const int length = static_cast<int>(text.size());
    std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0)),
                      L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

Size pixel_size(const Scene& scene) { return {to_pixels(scene.client_width()), to_pixels(scene.client_height())}; }

// The monitor the game opens its windows on: the one the player started it
// from, under the pointer.
HMONITOR game_monitor() {
    POINT at{0, 0};
    GetCursorPos(&at);
    return MonitorFromPoint(at, MONITOR_DEFAULTTOPRIMARY);
}

// The DPI a monitor asks for: its own since Windows 8.1, found at run time
// so that the game still starts where shcore.dll is missing, and the
// system's otherwise.
int monitor_dpi(HMONITOR monitor) {
    using DpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const DpiForMonitor dpi_for_monitor = [] {
        const HMODULE shcore = LoadLibraryW(L"shcore.dll");
        return shcore ? reinterpret_cast<DpiForMonitor>(
                            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    UINT x = 0;
    UINT y = 0;
    if (dpi_for_monitor && dpi_for_monitor(monitor, 0 /* effective DPI */, &x, &y) == S_OK && x > 0)
        return static_cast<int>(x);
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

RECT monitor_rect(HMONITOR monitor, bool whole) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info)) return {0, 0, 1 << 15, 1 << 15};
    return whole ? info.rcMonitor : info.rcWork;
}

constexpr DWORD kFramedStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD kFullScreenStyle = WS_POPUP;

// What the player sees: a window for each scene, its frame painted and
// copied to the window at the window's placement, and the cursors.
class Win32Windows {
public:
    struct Window {
        HWND hwnd = nullptr;
        Scene* scene = nullptr; // the current game's scene shown in it, if any
        Image frame;
        // The frame at the window's scale, which GDI copies from.
        HBITMAP picture = nullptr;
        std::uint32_t* bits = nullptr;
        Size picture_size;
        Scale fitted; // the scale the window was opened at
        Placement placement;
    };

    Win32Windows(Painter& painter, const GameOptions& options)
        : painter_(painter), options_(options), windows_(options) {
        memory_ = CreateCompatibleDC(nullptr);
        cursors_[MousePointer::Default] = LoadCursorW(nullptr, IDC_ARROW);
        cursors_[MousePointer::Arrow] = cursors_[MousePointer::Default];
        cursors_[MousePointer::Hourglass] = LoadCursorW(nullptr, IDC_WAIT);
        cursors_[MousePointer::NoDrop] = LoadCursorW(nullptr, IDC_NO);
    }

    ~Win32Windows() {
        for (auto& [index, w] : windows_) {
            DestroyWindow(w.hwnd);
            DeleteObject(w.picture);
        }
        destroy_closed();
        DeleteDC(memory_);
    }

    // Opens or raises the scene's window; its pixels come with the changes
    // the show reports. Null when no window can be opened.
    Window* show(Scene& scene) {
        Window& w = windows_.take(scene);
        if (!w.hwnd && !open(w)) {
            windows_.erase(scene);
            return nullptr;
        }
        ShowWindow(w.hwnd, SW_SHOW);
        SetWindowPos(w.hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetForegroundWindow(w.hwnd);
        return &w;
    }

    void hide(const Scene& scene) {
        if (Window* w = windows_.find(scene); w && windows_.hides_at_once()) ShowWindow(w->hwnd, SW_HIDE);
    }

    // Hidden now and destroyed once the message that caused it is handled:
    // the close may come from inside the window's own procedure.
    void close(const Scene& scene) {
        if (Window* w = windows_.find(scene)) {
            ShowWindow(w->hwnd, SW_HIDE);
            closed_.push_back(w->hwnd);
            DeleteObject(w->picture);
            windows_.erase(scene);
        }
    }

    void destroy_closed() {
        for (HWND hwnd : closed_) DestroyWindow(hwnd);
        closed_.clear();
    }

    void forget_scenes() { windows_.forget_scenes(); }
    void hide_left_behind() {
        windows_.hide_left_behind([](Window& w) {
            if (IsWindowVisible(w.hwnd)) ShowWindow(w.hwnd, SW_HIDE);
        });
    }

    // The window of a scene of the current game.
    Window* window_of(HWND hwnd) {
        return windows_.of([hwnd](const Window& w) { return w.hwnd == hwnd; });
    }
    Window* window_showing(const Scene& scene) { return windows_.showing(scene); }

    HWND parent() const {
        const Window* top = windows_.top();
        return top ? top->hwnd : nullptr;
    }

    // Paints what changed into the frame, draws it at the window's scale and
    // asks Windows to copy just those areas to the window.
    void repaint(const Scene& scene, std::span<const PixelRect> areas) {
        Window* shown = windows_.showing(scene);
        if (!shown || !scene.shown()) return;
        Window& w = *shown;
        const Size size = pixel_size(scene);
        const PixelRect all{0, 0, size.width, size.height};
        if (w.frame.width != size.width || w.frame.height != size.height) {
            painter_.paint(scene, w.frame);
            areas = {&all, 1};
        } else {
            for (const PixelRect& area : areas) painter_.paint(scene, w.frame, area);
        }
        const bool moved = place(w);
        if (moved || !w.bits) areas = {&all, 1};
        if (!w.bits) return;
        const ScaledFrame scaled(w.placement.scale.times, w.placement.scale.over);
        for (const PixelRect& area : areas) {
            const PixelRect covered = scaled.covering(w.frame, area);
            if (covered.empty()) continue;
            scaled.draw(w.frame, covered, w.bits, w.picture_size.width);
            const RECT dirty{covered.x0 + w.placement.left, covered.y0 + w.placement.top, covered.x1 + w.placement.left,
                             covered.y1 + w.placement.top};
            InvalidateRect(w.hwnd, moved ? nullptr : &dirty, FALSE);
            if (moved) break;
        }
    }

    // WM_PAINT: the picture where the placement puts it, black around it.
    void paint(Window& w) {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(w.hwnd, &paint);
        const RECT picture{w.placement.left, w.placement.top, w.placement.left + w.picture_size.width,
                           w.placement.top + w.picture_size.height};
        if (w.bits) {
            const HGDIOBJ before = SelectObject(memory_, w.picture);
            BitBlt(dc, picture.left, picture.top, w.picture_size.width, w.picture_size.height, memory_, 0, 0, SRCCOPY);
            SelectObject(memory_, before);
            ExcludeClipRect(dc, picture.left, picture.top, picture.right, picture.bottom);
        }
        FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        EndPaint(w.hwnd, &paint);
        presented_ = presented_ || w.bits != nullptr;
    }

    HCURSOR cursor(MousePointer shape) {
        auto it = cursors_.find(shape);
        return it != cursors_.end() ? it->second : cursors_[MousePointer::Default];
    }

    // The window under the mouse, if it shows a scene, and where the mouse
    // is in its client area.
    Window* under_mouse(POINT& at) {
        if (!GetCursorPos(&at)) return nullptr;
        Window* w = window_of(WindowFromPoint(at));
        if (!w || !w->scene->shown() || !ScreenToClient(w->hwnd, &at)) return nullptr;
        return w;
    }

    // Whether a client size is the one the window was opened at, rather
    // than a player's resize.
    static bool fitted_size(const Window& w, int width, int height) {
        const Size size = pixel_size(*w.scene);
        return w.fitted.of(size.width) == width && w.fitted.of(size.height) == height;
    }

    bool presented() const { return presented_; }

private:
    int wanted_scale(HMONITOR monitor) const {
        return options_.scale > 0 ? options_.scale : scale_for_dpi(monitor_dpi(monitor));
    }

    bool open(Window& w) {
        const Size size = pixel_size(*w.scene);
        const HMONITOR monitor = game_monitor();
        const DWORD style = options_.fullscreen ? kFullScreenStyle : kFramedStyle;
        RECT area = monitor_rect(monitor, options_.fullscreen);
        RECT outer{0, 0, 0, 0};
        if (options_.fullscreen) {
            w.fitted = Scale{};
            outer = area;
        } else {
            // The room for the client area is the work area less the frame.
            RECT frame{0, 0, 0, 0};
            AdjustWindowRectEx(&frame, style, FALSE, 0);
            const Size room{(area.right - area.left) - (frame.right - frame.left),
                            (area.bottom - area.top) - (frame.bottom - frame.top)};
            w.fitted = fit_scale(size, room, wanted_scale(monitor));
            outer = {0, 0, w.fitted.of(size.width), w.fitted.of(size.height)};
            AdjustWindowRectEx(&outer, style, FALSE, 0);
        }
        const int width = outer.right - outer.left;
        const int height = outer.bottom - outer.top;
        w.hwnd = CreateWindowExW(0, kWindowClass, widen(w.scene->caption()).c_str(), style,
                                 options_.fullscreen ? outer.left : CW_USEDEFAULT,
                                 options_.fullscreen ? outer.top : CW_USEDEFAULT, width, height, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        if (!w.hwnd) {
            std::fprintf(stderr, "guardianes: cannot open a window (Windows error %lu)\n", GetLastError());
            return false;
        }
        // Windows places new windows in a cascade: one that would reach past
        // the work area goes in its middle instead.
        RECT placed{0, 0, 0, 0};
        if (!options_.fullscreen && GetWindowRect(w.hwnd, &placed) &&
            (placed.right > area.right || placed.bottom > area.bottom))
            SetWindowPos(w.hwnd, nullptr, area.left + (area.right - area.left - width) / 2,
                         area.top + (area.bottom - area.top - height) / 2, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return true;
    }

    // Decides where the frame goes in the window's client area: at the
    // fitted scale in the corner, or in full screen at the scale that fits,
    // centred; and makes the picture of that size. Returns whether either
    // changed, when the whole window is to be shown again.
    bool place(Window& w) {
        RECT client{0, 0, 0, 0};
        GetClientRect(w.hwnd, &client);
        const Size frame{w.frame.width, w.frame.height};
        const Size room{client.right, client.bottom};
        const Placement placement = options_.fullscreen && frame.width > 0 && frame.height > 0
                                        ? centre(frame, room, fit_scale(frame, room, 1 << 15))
                                        : Placement{w.fitted, 0, 0};
        const Size picture{placement.scale.of(frame.width), placement.scale.of(frame.height)};
        const bool moved = !(placement == w.placement) || !(picture == w.picture_size) || !w.bits;
        w.placement = placement;
        if (!(picture == w.picture_size) || !w.bits) {
            DeleteObject(w.picture);
            w.picture = nullptr;
            w.bits = nullptr;
            w.picture_size = picture;
            BITMAPINFO info{};
            info.bmiHeader.biSize = sizeof info.bmiHeader;
            info.bmiHeader.biWidth = std::max(picture.width, 1);
            info.bmiHeader.biHeight = -std::max(picture.height, 1); // top row first, as the frame
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32; // 0x00RRGGBB, as the frame
            info.bmiHeader.biCompression = BI_RGB;
            void* bits = nullptr;
            w.picture = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
            w.bits = static_cast<std::uint32_t*>(bits);
        }
        return moved;
    }

    Painter& painter_;
    const GameOptions& options_;
    HDC memory_ = nullptr;
    SceneWindows<Window> windows_;
    std::vector<HWND> closed_;
    std::map<MousePointer, HCURSOR> cursors_;
    bool presented_ = false;
};

// The game's sounds through one waveOut device, open only while something
// sounds, so that an idle game costs nothing. Everything happens on the
// main thread: the device sets an event as it finishes a buffer, the loop
// waits on it beside the messages and refills the buffer from the mixer,
// and once the mix is silent and every buffer played, closes the device.
class Win32Sound {
public:
    Win32Sound() : done_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}
    ~Win32Sound() {
        close();
        CloseHandle(done_);
    }
    Win32Sound(const Win32Sound&) = delete;
    Win32Sound& operator=(const Win32Sound&) = delete;

    HANDLE event() const { return done_; }

    void start(const Scene& scene, Cue cue) {
        if (!open()) return;
        mixer_.start(scene.index(), cue);
        refill();
    }

    void stop(const Scene& scene) {
        if (device_) mixer_.stop(scene.index());
    }

    // Gives every played buffer the mix's next samples, or closes the
    // device when nothing is left to play.
    void refill() {
        if (!device_) return;
        bool queued = false;
        for (Buffer& buffer : buffers_) {
            if ((buffer.header.dwFlags & WHDR_INQUEUE) == 0 && !mixer_.silent()) {
                mixer_.mix(buffer.samples);
                buffer.header.dwFlags &= ~static_cast<DWORD>(WHDR_DONE);
                waveOutWrite(device_, &buffer.header, sizeof buffer.header);
            }
            queued = queued || (buffer.header.dwFlags & WHDR_INQUEUE) != 0;
        }
        if (!queued) close();
    }

private:
    // 20 ms each: a cue is heard within a few buffers of its wake-up.
    static constexpr std::size_t kBufferSamples = sound::kSampleRate / 50;
    struct Buffer {
        std::array<std::int16_t, kBufferSamples> samples{};
        WAVEHDR header{};
    };

    bool open() {
        if (device_) return true;
        if (failed_) return false;
        WAVEFORMATEX format{};
        format.wFormatTag = WAVE_FORMAT_PCM;
        format.nChannels = 1;
        format.nSamplesPerSec = sound::kSampleRate;
        format.wBitsPerSample = 16;
        format.nBlockAlign = 2;
        format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
        const MMRESULT result =
            waveOutOpen(&device_, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(done_), 0, CALLBACK_EVENT);
        if (result != MMSYSERR_NOERROR) {
            device_ = nullptr;
            failed_ = true;
            std::fprintf(stderr, "guardianes: playing without sound: no audio device (waveOut error %u)\n", result);
            return false;
        }
        for (Buffer& buffer : buffers_) {
            buffer.header = WAVEHDR{};
            buffer.header.lpData = reinterpret_cast<LPSTR>(buffer.samples.data());
            buffer.header.dwBufferLength = sizeof buffer.samples;
            waveOutPrepareHeader(device_, &buffer.header, sizeof buffer.header);
        }
        return true;
    }

    void close() {
        if (!device_) return;
        waveOutReset(device_);
        for (Buffer& buffer : buffers_) waveOutUnprepareHeader(device_, &buffer.header, sizeof buffer.header);
        waveOutClose(device_);
        device_ = nullptr;
    }

    HANDLE done_;
    HWAVEOUT device_ = nullptr;
    bool failed_ = false;
    std::array<Buffer, 3> buffers_{};
    sound::Mixer mixer_;
};

// The player's side: window messages turned into the session's calls, and
// the loop that sleeps until the session's next wake-up.
class Win32Host final : public SessionObserver {
public:
    Win32Host(Session& session, Clock& clock, Painter& painter, const HostOptions& options)
        : session_(session), clock_(clock), windows_(painter, session.options()), wakeup_log_(options.wakeup_log) {
        session_.set_observer(this);
        the_host_ = this;
    }

    ~Win32Host() override {
        precise_timer(false);
        session_.set_observer(nullptr);
        the_host_ = nullptr;
    }

    static bool register_class() {
        WNDCLASSEXW type{};
        type.cbSize = sizeof type;
        type.lpfnWndProc = &Win32Host::procedure;
        type.hInstance = GetModuleHandleW(nullptr);
        type.hIcon = LoadIconW(type.hInstance, MAKEINTRESOURCEW(1));
        type.hIconSm = type.hIcon;
        type.lpszClassName = kWindowClass;
        // No CS_DBLCLKS: the runtime has its own double-click rule, and
        // every press is a press.
        return RegisterClassExW(&type) != 0;
    }

    int run() {
        session_.new_game();
        while (!quit_) {
            if (error_) {
                report(*error_);
                error_.reset();
                session_.error_seen();
            }
            if (session_.ended()) break;
            const std::optional<Nanos> next = session_.next_wakeup();
            precise_timer(next.has_value());
            const HANDLE sound_done = sound_.event();
            MsgWaitForMultipleObjectsEx(1, &sound_done, timeout_ms(next), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            sound_.refill();
            MSG message;
            while (session_.playing() && !quit_ && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            windows_.destroy_closed();
            if (quit_) break;
            wakeup_log_.serve(session_, clock_);
            windows_.hide_left_behind();
        }
        return quit_on_failure_ ? 1 : session_.exit_status();
    }

    // SessionObserver
    void scene_shown(Scene& scene) override {
        if (!windows_.show(scene)) {
            quit_on_failure_ = true;
            quit_ = true;
        }
        update_pointer(true);
    }
    void scene_hidden(Scene& scene) override { windows_.hide(scene); }
    void scene_closed(Scene& scene) override { windows_.close(scene); }
    void scene_changed(Scene& scene) override {
        if (!scene.damaged_areas().empty()) windows_.repaint(scene, scene.damaged_areas());
        if (scene.pointer_changed()) update_pointer();
    }
    void game_closing() override { windows_.forget_scenes(); }
    void game_started() override { windows_.hide_left_behind(); }
    void error_raised(const ErrorReport& error) override { error_ = error; }
    void pointer_moved_by_keys(Scene& scene, Pixel at) override { warp(scene, at); }
    void cue_started(Scene& scene, Cue cue) override { sound_.start(scene, cue); }
    void cues_stopped(Scene& scene) override { sound_.stop(scene); }

private:
    // 1 ms wake-ups from the system timer while a timer runs, so that each
    // falls on its grid time; the system's own coarse timer otherwise.
    void precise_timer(bool on) {
        if (on == precise_) return;
        precise_ = on;
        if (on)
            timeBeginPeriod(1);
        else
            timeEndPeriod(1);
    }

    DWORD timeout_ms(const std::optional<Nanos>& next) const {
        if (!next) return INFINITE;
        const Nanos left = *next - clock_.now();
        return left <= 0 ? 0 : static_cast<DWORD>(std::min<Nanos>((left + kMillisecond - 1) / kMillisecond, 1 << 30));
    }

    void serve() { wakeup_log_.serve(session_, clock_); }

    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
        if (the_host_)
            if (Win32Windows::Window* w = the_host_->windows_.window_of(hwnd))
                if (const std::optional<LRESULT> result = the_host_->handle(*w, message, wparam, lparam))
                    return *result;
        if (message == WM_CLOSE) return 0; // a window no scene owns any more closes with its scene
        return DefWindowProcW(hwnd, message, wparam, lparam);
    }

    // A message to a scene's window; nothing for those Windows handles.
    std::optional<LRESULT> handle(Win32Windows::Window& w, UINT message, WPARAM wparam, LPARAM lparam) {
        Scene& scene = *w.scene;
        const auto at = [&] {
            return w.placement.to_scene(static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam)));
        };
        switch (message) {
        case WM_CLOSE: session_.close(scene); return 0;
        case WM_LBUTTONDOWN:
            SetCapture(w.hwnd);
            session_.press(scene, at());
            return 0;
        case WM_LBUTTONUP:
            if (GetCapture() == w.hwnd) ReleaseCapture();
            session_.release(scene, at());
            return 0;
        case WM_MOUSEMOVE: {
            // The move a warp of the keys' pointer makes is theirs already:
            // at a shrunken scale it would land a pixel off.
            const Pixel to{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
            if (warped_ && warped_->hwnd == w.hwnd && warped_->x == to.x && warped_->y == to.y) {
                warped_.reset();
                return 0;
            }
            session_.pointer_moved(scene, at());
            SetCursor(windows_.cursor(session_.pointer_shape(scene)));
            return 0;
        }
        case WM_SETCURSOR:
            if (LOWORD(lparam) != HTCLIENT) return std::nullopt;
            SetCursor(windows_.cursor(session_.pointer_shape(scene)));
            return TRUE;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (key(w, wparam, lparam)) return 0;
            return std::nullopt;
        case WM_SIZE:
            // A player's resize; the runtime repaints through scene_changed
            // when the size really changed. Full screen keeps its scene's size.
            if (wparam != SIZE_MINIMIZED && !session_.options().fullscreen &&
                !Win32Windows::fitted_size(w, LOWORD(lparam), HIWORD(lparam))) {
                const Pixel size = Placement{w.fitted, 0, 0}.to_scene(LOWORD(lparam), HIWORD(lparam));
                session_.runtime().resize(scene, std::max(size.x, 1), std::max(size.y, 1));
            }
            return 0;
        case WM_PAINT:
            windows_.paint(w);
            if (windows_.presented()) wakeup_log_.frame_presented();
            return 0;
        case WM_ERASEBKGND:
            return 1; // WM_PAINT covers every pixel
        // Dragging or sizing a window runs a loop of Windows' own until the
        // button is let go; a timer message keeps the wake-ups served.
        case WM_ENTERSIZEMOVE: SetTimer(w.hwnd, 1, USER_TIMER_MINIMUM, nullptr); return 0;
        case WM_EXITSIZEMOVE: KillTimer(w.hwnd, 1); return 0;
        case WM_TIMER:
            sound_.refill();
            if (const auto next = session_.next_wakeup(); next && clock_.now() >= *next) serve();
            return 0;
        default: return std::nullopt;
        }
    }

    // Returns whether the key was the game's.
    bool key(Win32Windows::Window& w, WPARAM code, LPARAM flags) {
        KeyStroke press;
        switch (code) {
        case VK_ESCAPE: press.key = Key::Escape; break;
        case VK_LEFT: press.key = Key::Left; break;
        case VK_RIGHT: press.key = Key::Right; break;
        case VK_UP: press.key = Key::Up; break;
        case VK_DOWN: press.key = Key::Down; break;
        case VK_TAB: press.key = Key::Tab; break;
        case VK_SPACE: press.key = Key::Space; break;
        case VK_RETURN: press.key = Key::Enter; break;
        default: break;
        }
        press.shift = GetKeyState(VK_SHIFT) < 0;
        press.ctrl = GetKeyState(VK_CONTROL) < 0;
        press.repeat = (flags & (1 << 30)) != 0; // the key was already down
        return session_.key(w.scene, press) && press.key != Key::Other;
    }

    // Moves the real pointer to the middle of the scene pixel the keys chose.
    void warp(const Scene& scene, Pixel at) {
        Win32Windows::Window* w = windows_.window_showing(scene);
        if (!w) return;
        const Pixel to = w->placement.to_window(at);
        POINT screen{to.x, to.y};
        ClientToScreen(w->hwnd, &screen);
        warped_ = Warp{w->hwnd, to.x, to.y};
        SetCursorPos(screen.x, screen.y);
        SetCursor(windows_.cursor(session_.pointer_shape(scene)));
    }

    // The cursor changes when a handler changes it, even if the mouse does
    // not move; and with `entered`, the session learns where the mouse is
    // over a window that has just opened under it.
    void update_pointer(bool entered = false) {
        POINT at{0, 0};
        Win32Windows::Window* w = windows_.under_mouse(at);
        if (!w) return;
        if (entered) session_.pointer_moved(*w->scene, w->placement.to_scene(at.x, at.y));
        SetCursor(windows_.cursor(session_.pointer_shape(*w->scene)));
    }

    void report(const ErrorReport& error) {
        const std::string title = error_title(error);
        std::fprintf(stderr, "guardianes: %s %s\n", title.c_str(), error.name.c_str());
        MessageBoxW(windows_.parent(), widen(title + "\n\n" + error.name).c_str(), L"Guardianes", MB_OK | MB_ICONERROR);
    }

    struct Warp {
        HWND hwnd;
        int x;
        int y;
    };

    static inline Win32Host* the_host_ = nullptr;
    Session& session_;
    Clock& clock_;
    Win32Windows windows_;
    Win32Sound sound_;
    WakeupLog wakeup_log_;
    std::optional<ErrorReport> error_;
    std::optional<Warp> warped_;
    // A window could not be opened: the program ends at once, failed.
    bool quit_on_failure_ = false;
    bool precise_ = false;
    bool quit_ = false;
};

} // namespace

int run_desktop(Session& session, Clock& clock, Painter& painter, const HostOptions& options) {
    if (!Win32Host::register_class()) {
        std::fprintf(stderr, "guardianes: cannot open a window (Windows error %lu)\n", GetLastError());
        return 1;
    }
    Win32Host host(session, clock, painter, options);
    return host.run();
}

} // namespace guardianes
