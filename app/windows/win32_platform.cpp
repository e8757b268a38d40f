// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop game's platform on the Win32 API itself: the only code that
// includes windows.h. It implements, for the desktop host:
//  - top-level windows: opened with their title and client size, framed and
//    sizable or as borderless windows covering the monitor, shown in front,
//    hidden, resized, moved, and closed with the close button (or Alt+F4)
//    passed on;
//  - the left button's presses and releases, with the mouse captured while
//    it is held, the pointer's moves, and the keys the session has words for
//    (Escape, the arrows, Tab, Space, Enter), with Shift, Ctrl and repeat;
//  - the screen's facts: the monitor under the pointer, its work area, its
//    DPI (the program is aware of each monitor's, as its manifest says) and
//    the frame a window of the game's style gets;
//  - presenting a window's picture from a DIB section, invalidating only
//    the areas that changed, and painting black around it;
//  - moving the real pointer (SetCursorPos), the system's arrow, hourglass
//    and no-drop cursors, and the modal message box;
//  - sleeping in the message wait until the host's next wake-up, with the
//    system timer at 1 ms while a wake-up is due, and time passing while a
//    window is dragged or sized;
//  - the game's sounds through waveOut (wave_out.cpp), fed from the loop.
// It leaves out moving a window to a monitor of another DPI (the window
// keeps the scale it opened at), and every rule: those are the session's,
// the loop the desktop host's.

#include "app/desktop/desktop_host.h"
#include "app/windows/wave_out.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#ifndef UNICODE
#define UNICODE // the system's resource names (IDC_ARROW) as wide strings
#endif
#include <windows.h>

#include <mmsystem.h>

#include <array>
#include <cstdio>
#include <cwchar>
#include <map>
#include <vector>

namespace guardianes {

namespace {

constexpr wchar_t kWindowClass[] = L"Guardianes scene";
constexpr DWORD kFramedStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD kFullScreenStyle = WS_POPUP;

std::wstring widen(const std::string& text) {
    const int length = static_cast<int>(text.size());
    std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0)),
                      L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

std::string windows_error(const char* what) {
    return std::string(what) + " (Windows error " + std::to_string(GetLastError()) + ")";
}

PixelRect rect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

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

constexpr std::pair<WPARAM, Key> kKeys[] = {{VK_ESCAPE, Key::Escape}, {VK_LEFT, Key::Left},   {VK_RIGHT, Key::Right},
                                            {VK_UP, Key::Up},         {VK_DOWN, Key::Down},   {VK_TAB, Key::Tab},
                                            {VK_SPACE, Key::Space},   {VK_RETURN, Key::Enter}};

class Win32Platform final : public Platform {
public:
    Win32Platform() : memory_(CreateCompatibleDC(nullptr)) {
        the_platform_ = this;
        cursors_[MousePointer::Default] = LoadCursorW(nullptr, IDC_ARROW);
        cursors_[MousePointer::Arrow] = cursors_[MousePointer::Default];
        cursors_[MousePointer::Hourglass] = LoadCursorW(nullptr, IDC_WAIT);
        cursors_[MousePointer::NoDrop] = LoadCursorW(nullptr, IDC_NO);
    }

    ~Win32Platform() override {
        precise_timer(false);
        for (auto& [id, w] : windows_) forget(w);
        destroy_closed();
        DeleteDC(memory_);
        the_platform_ = nullptr;
    }

    static bool register_class() {
        WNDCLASSEXW type{};
        type.cbSize = sizeof type;
        type.lpfnWndProc = &Win32Platform::procedure;
        type.hInstance = GetModuleHandleW(nullptr);
        type.hIcon = LoadIconW(type.hInstance, MAKEINTRESOURCEW(1));
        type.hIconSm = type.hIcon;
        type.lpszClassName = kWindowClass;
        // No CS_DBLCLKS: the runtime has its own double-click rule, and
        // every press is a press.
        return RegisterClassExW(&type) != 0;
    }

    void connect(PlatformEvents& events) override { events_ = &events; }

    void wait(int timeout_ms) override {
        // A sound started since the last wait starts now, in the buffers
        // the device has played.
        refill_sound();
        // 1 ms wake-ups from the system timer while a wake-up is due, so that
        // each falls on its grid time; the system's own coarse timer otherwise.
        precise_timer(timeout_ms >= 0);
        const HANDLE sound_done = static_cast<HANDLE>(sound_.event());
        MsgWaitForMultipleObjectsEx(1, &sound_done, timeout_ms < 0 ? INFINITE : static_cast<DWORD>(timeout_ms),
                                    QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        refill_sound();
        MSG message;
        while (events_->taking_events() && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        destroy_closed();
    }

    Screen screen() override {
        POINT at{0, 0};
        GetCursorPos(&at);
        const HMONITOR monitor = MonitorFromPoint(at, MONITOR_DEFAULTTOPRIMARY);
        Screen screen;
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (GetMonitorInfoW(monitor, &info)) {
            screen.monitor = rect(info.rcMonitor);
            screen.work_area = rect(info.rcWork);
        }
        screen.dpi = monitor_dpi(monitor);
        RECT frame{0, 0, 0, 0};
        AdjustWindowRectEx(&frame, kFramedStyle, FALSE, 0);
        screen.frame = Edges{-frame.left, -frame.top, frame.right, frame.bottom};
        return screen;
    }

    std::optional<std::string> open_window(WindowId id, const WindowRequest& request) override {
        const DWORD style = request.fullscreen ? kFullScreenStyle : kFramedStyle;
        RECT outer{0, 0, request.client.width, request.client.height};
        AdjustWindowRectEx(&outer, style, FALSE, 0);
        const Pixel origin = request.origin.value_or(Pixel{CW_USEDEFAULT, CW_USEDEFAULT});
        const HWND hwnd = CreateWindowExW(0, kWindowClass, widen(request.title).c_str(), style, origin.x, origin.y,
                                          outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                                          GetModuleHandleW(nullptr), nullptr);
        if (!hwnd) return windows_error("CreateWindowEx failed");
        windows_[id].hwnd = hwnd;
        return std::nullopt;
    }

    void show_window(WindowId id) override {
        const HWND hwnd = windows_.at(id).hwnd;
        ShowWindow(hwnd, SW_SHOW);
        SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetForegroundWindow(hwnd);
    }

    void hide_window(WindowId id) override {
        const HWND hwnd = windows_.at(id).hwnd;
        if (IsWindowVisible(hwnd)) ShowWindow(hwnd, SW_HIDE);
    }

    // Hidden now and destroyed once the message that caused it is handled:
    // the close may come from inside the window's own procedure.
    void close_window(WindowId id) override {
        Window& w = windows_.at(id);
        ShowWindow(w.hwnd, SW_HIDE);
        closed_.push_back(w.hwnd);
        w.hwnd = nullptr;
        forget(w);
        windows_.erase(id);
    }

    void place_window(WindowId id, std::optional<Size> client, std::optional<Pixel> origin) override {
        const HWND hwnd = windows_.at(id).hwnd;
        UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
        RECT outer{0, 0, 0, 0};
        if (client) {
            outer = {0, 0, client->width, client->height};
            AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)), FALSE, 0);
        } else {
            flags |= SWP_NOSIZE;
        }
        if (!origin) flags |= SWP_NOMOVE;
        const Pixel at = origin.value_or(Pixel{0, 0});
        SetWindowPos(hwnd, nullptr, at.x, at.y, outer.right - outer.left, outer.bottom - outer.top, flags);
    }

    PixelRect client_area(WindowId id) override {
        const HWND hwnd = windows_.at(id).hwnd;
        RECT client{0, 0, 0, 0};
        GetClientRect(hwnd, &client);
        POINT corner{0, 0};
        ClientToScreen(hwnd, &corner);
        return PixelRect::at({corner.x, corner.y}, {client.right, client.bottom});
    }

    Picture picture(WindowId id, Size size) override {
        Window& w = windows_.at(id);
        if (!w.bits || !(size == w.size)) {
            DeleteObject(w.picture);
            w.size = size;
            BITMAPINFO info{};
            info.bmiHeader.biSize = sizeof info.bmiHeader;
            info.bmiHeader.biWidth = std::max(size.width, 1);
            info.bmiHeader.biHeight = -std::max(size.height, 1); // top row first, as the frame
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32; // 0x00RRGGBB, as the frame
            info.bmiHeader.biCompression = BI_RGB;
            void* bits = nullptr;
            w.picture = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
            w.bits = static_cast<std::uint32_t*>(bits);
        }
        return {w.bits, size, std::max(size.width, 1)};
    }

    // Asks Windows to copy the areas to the window; WM_PAINT does.
    void present(WindowId id, Pixel at, std::span<const PixelRect> areas, bool whole) override {
        Window& w = windows_.at(id);
        w.at = at;
        if (whole) return void(InvalidateRect(w.hwnd, nullptr, FALSE));
        for (const PixelRect& area : areas) {
            const RECT dirty{area.x0 + at.x, area.y0 + at.y, area.x1 + at.x, area.y1 + at.y};
            InvalidateRect(w.hwnd, &dirty, FALSE);
        }
    }

    void warp_pointer(WindowId id, Pixel at) override {
        POINT screen{at.x, at.y};
        ClientToScreen(windows_.at(id).hwnd, &screen);
        SetCursorPos(screen.x, screen.y);
    }

    void set_pointer_shape(WindowId id, MousePointer shape) override {
        Window& w = windows_.at(id);
        w.cursor = cursors_.count(shape) ? cursors_[shape] : cursors_[MousePointer::Default];
        SetCursor(w.cursor);
    }

    std::optional<std::pair<WindowId, Pixel>> pointer() override {
        POINT at{0, 0};
        if (!GetCursorPos(&at)) return std::nullopt;
        const std::optional<WindowId> id = id_of(WindowFromPoint(at));
        if (!id || !ScreenToClient(windows_.at(*id).hwnd, &at)) return std::nullopt;
        return std::pair{*id, Pixel{at.x, at.y}};
    }

    void show_message(std::optional<WindowId> over, const Message& message) override {
        MessageBoxW(over ? windows_.at(*over).hwnd : nullptr, widen(message.text).c_str(), widen(message.title).c_str(),
                    MB_OK | MB_ICONERROR);
    }

    std::optional<std::string> open_sound(SoundFeed& feed) override {
        if (std::optional<std::string> why = sound_.open(feed)) return why;
        refill_sound();
        return std::nullopt;
    }

    void close_sound() override { sound_.close(); }

private:
    struct Window {
        HWND hwnd = nullptr;
        // The picture, which GDI copies from, and where it goes.
        HBITMAP picture = nullptr;
        std::uint32_t* bits = nullptr;
        Size size;
        Pixel at{0, 0};
        HCURSOR cursor = nullptr;
    };

    void forget(Window& w) {
        if (w.hwnd) DestroyWindow(w.hwnd);
        DeleteObject(w.picture);
        w.picture = nullptr;
        w.bits = nullptr;
    }

    void destroy_closed() {
        for (HWND hwnd : closed_) DestroyWindow(hwnd);
        closed_.clear();
    }

    void precise_timer(bool on) {
        if (on == precise_) return;
        precise_ = on;
        if (on)
            timeBeginPeriod(1);
        else
            timeEndPeriod(1);
    }

    void refill_sound() {
        if (!sound_.refill()) events_->sound_drained();
    }

    std::optional<WindowId> id_of(HWND hwnd) const {
        for (const auto& [id, w] : windows_)
            if (w.hwnd == hwnd && hwnd) return id;
        return std::nullopt;
    }

    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
        if (the_platform_)
            if (const std::optional<WindowId> id = the_platform_->id_of(hwnd))
                if (const std::optional<LRESULT> result = the_platform_->handle(*id, message, wparam, lparam))
                    return *result;
        if (message == WM_CLOSE) return 0; // a window no scene owns any more closes with its scene
        return DefWindowProcW(hwnd, message, wparam, lparam);
    }

    // A message to a window; nothing for those Windows handles itself.
    std::optional<LRESULT> handle(WindowId id, UINT message, WPARAM wparam, LPARAM lparam) {
        Window& w = windows_.at(id);
        const Pixel at{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
        switch (message) {
        case WM_CLOSE: events_->close_requested(id); return 0;
        case WM_LBUTTONDOWN:
            SetCapture(w.hwnd);
            events_->pressed(id, at);
            return 0;
        case WM_LBUTTONUP:
            if (GetCapture() == w.hwnd) ReleaseCapture();
            events_->released(id, at);
            return 0;
        case WM_MOUSEMOVE: events_->pointer_moved(id, at); return 0;
        case WM_SETCURSOR:
            if (LOWORD(lparam) != HTCLIENT || !w.cursor) return std::nullopt;
            SetCursor(w.cursor);
            return TRUE;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (key(id, wparam, lparam)) return 0;
            return std::nullopt;
        case WM_SIZE:
            if (wparam != SIZE_MINIMIZED) events_->resized(id, {LOWORD(lparam), HIWORD(lparam)});
            return 0;
        case WM_PAINT: paint(w); return 0;
        case WM_ERASEBKGND:
            return 1; // WM_PAINT covers every pixel
        // Dragging or sizing a window runs a loop of Windows' own until the
        // button is let go; a timer message keeps time passing.
        case WM_ENTERSIZEMOVE: SetTimer(w.hwnd, 1, USER_TIMER_MINIMUM, nullptr); return 0;
        case WM_EXITSIZEMOVE: KillTimer(w.hwnd, 1); return 0;
        case WM_TIMER:
            refill_sound();
            events_->time_passes();
            return 0;
        default: return std::nullopt;
        }
    }

    // Returns whether the key was the game's.
    bool key(WindowId id, WPARAM code, LPARAM flags) {
        KeyStroke stroke;
        for (const auto& [vk, key] : kKeys)
            if (code == vk) stroke.key = key;
        stroke.shift = GetKeyState(VK_SHIFT) < 0;
        stroke.ctrl = GetKeyState(VK_CONTROL) < 0;
        stroke.repeat = (flags & (1 << 30)) != 0; // the key was already down
        return events_->key_pressed(id, stroke);
    }

    // WM_PAINT: the picture where the host put it, black around it.
    void paint(Window& w) {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(w.hwnd, &paint);
        if (w.bits) {
            const HGDIOBJ before = SelectObject(memory_, w.picture);
            BitBlt(dc, w.at.x, w.at.y, w.size.width, w.size.height, memory_, 0, 0, SRCCOPY);
            SelectObject(memory_, before);
            ExcludeClipRect(dc, w.at.x, w.at.y, w.at.x + w.size.width, w.at.y + w.size.height);
        }
        FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        EndPaint(w.hwnd, &paint);
        if (w.bits) events_->presented();
    }

    static inline Win32Platform* the_platform_ = nullptr;
    PlatformEvents* events_ = nullptr;
    HDC memory_;
    std::map<WindowId, Window> windows_;
    std::vector<HWND> closed_;
    std::map<MousePointer, HCURSOR> cursors_;
    WaveOut sound_;
    bool precise_ = false;
};

} // namespace

std::unique_ptr<Platform> start_platform(std::string& why) {
    if (!Win32Platform::register_class()) {
        why = windows_error("RegisterClassEx failed");
        return nullptr;
    }
    return std::make_unique<Win32Platform>();
}

std::vector<std::string> system_languages() {
    // The user's preferred languages for the system's own texts, best first,
    // as a list of names each ending in a NUL, the list in another.
    ULONG count = 0;
    ULONG length = 0;
    if (!GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, nullptr, &length) || length == 0) return {};
    std::wstring names(length, L'\0');
    if (!GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, names.data(), &length)) return {};
    std::vector<std::string> languages;
    for (const wchar_t* name = names.c_str(); *name; name += std::wcslen(name) + 1) {
        std::string narrow;
        for (const wchar_t* c = name; *c; ++c) narrow += static_cast<char>(*c); // language names are ASCII
        languages.push_back(narrow);
    }
    return languages;
}

} // namespace guardianes
