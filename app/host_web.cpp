// SPDX-License-Identifier: GPL-3.0-or-later
// The web host, compiled to WebAssembly. With its page (web/page.js) it
// implements, for the runtime, what the desktop host does on SDL2:
//  - one window in the page per shown scene: a frame with the scene's
//    caption and a close button, and a canvas of exactly its client size;
//    the scene shown last on top, hidden scenes not displayed, and the
//    player's close of a window passed on as the close of its scene;
//  - presses and releases of the primary button, from Pointer Events, so
//    that a mouse, a finger and a pen all play;
//  - the pointer shapes arrow, hourglass and no-drop sign as CSS cursors,
//    following the pointer over each scene and each change a handler makes;
//  - wake-ups on the 64 Hz grid of the browser's monotonic clock
//    (performance.now()), one timeout at a time, and none at all while no
//    timer runs, so an idle page does no work;
//  - repainting only what a handler changed, and presenting just that;
//  - the modal message of a run-time error, after which the game stops, and
//    a new game once one has ended;
//  - the classroom's options, as the desktop's command line has them, from
//    the page's address: for a shared machine, closes that do nothing, a new
//    game on Escape, after a stretch without a press and after an error's
//    message, and Shift+Ctrl+Escape as the only way out; and keyboard play,
//    the keys moving a pointer of the host's own, which the page marks, since
//    a page cannot move the real one;
//  - guardianes-sim scripts on a simulation of their own, for the page's
//    runScript, their shots kept in the in-memory file system;
//  - for measuring, the time of every wake-up beside the grid time it was due at.
// It leaves out resizing a window (the page scales a scene by a whole
// number instead, and maps clicks back to scene pixels); full screen is the
// page's layout alone. The page only forwards time, pointer events, keys and
// closes to this file and puts the pixels it is given on the canvases: every
// rule of the game, the wake-up grid and the keyboard's moves included, stays
// in the runtime.

#include "app/minutes.h"
#include "paint/baked_glyphs.h"
#include "paint/canvas.h"
#include "paint/painter.h"
#include "runtime/runtime.h"
#include "scenes/scenes.h"
#include "sim/session.h"

#include <emscripten.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace guardianes {

// The baked glyphs, compiled in: a page opened from disk may not fetch files.
std::string_view baked_glyphs();

namespace {

// The page's side, in web/page.js, reached through Module.page.
EM_JS(void, page_show, (int scene, const char* name, const char* caption, int width, int height),
      { Module.page.show(scene, UTF8ToString(name), UTF8ToString(caption), width, height); });
EM_JS(void, page_hide, (int scene), { Module.page.hide(scene); });
EM_JS(void, page_remove, (int scene), { Module.page.remove(scene); });
EM_JS(void, page_present,
      (int scene, const void* rgba, int x, int y, int width, int height, int frame_width, int frame_height), {
          Module.page.present(scene, HEAPU8.subarray(rgba, rgba + width * height * 4), x, y, width, height, frame_width,
                              frame_height);
      });
EM_JS(void, page_cursor, (int scene, int shape), { Module.page.cursor(scene, shape); });
EM_JS(void, page_schedule, (double delay_ms), { Module.page.schedule(delay_ms); });
EM_JS(void, page_error, (const char* title, const char* message),
      { Module.page.error(UTF8ToString(title), UTF8ToString(message)); });
EM_JS(void, page_ended, (), { Module.page.ended(); });
EM_JS(void, page_started, (), { Module.page.started(); });
EM_JS(void, page_mark, (int scene, int x, int y), { Module.page.mark(scene, x, y); });
EM_JS(void, page_wakeup_served, (double grid_ms, double actual_ms), { Module.page.wakeupServed(grid_ms, actual_ms); });

// The browser's monotonic clock, counted from start-up like the desktop's.
class PerformanceClock final : public Clock {
public:
    Nanos now() const override { return since_origin() - start_; }

private:
    static Nanos since_origin() { return static_cast<Nanos>(std::llround(emscripten_get_now() * 1e6)); }
    Nanos start_ = since_origin();
};

// CSS cursor shapes, by the number the page knows them by.
enum Cursor : int { kArrow = 0, kHourglass = 1, kNoDrop = 2 };

int cursor_of(MousePointer pointer) {
    switch (pointer) {
    case MousePointer::Hourglass: return kHourglass;
    case MousePointer::NoDrop: return kNoDrop;
    default: return kArrow;
    }
}

struct Window {
    Image frame;
    std::vector<std::uint32_t> rgba; // one area of the frame, as the canvas takes it
};

class WebHost final : public RuntimeObserver {
public:
    explicit WebHost(Painter& painter) : painter_(painter) {}

    // The options the page's address gives; returns why the idle restart's
    // minutes were passed over, or nothing when they were taken.
    std::string configure(bool kiosk, bool keyboard, const char* idle_restart) {
        kiosk_ = kiosk;
        keyboard_ = keyboard;
        // A shared machine starts over after three idle minutes.
        idle_restart_ = kiosk ? 3 * 60 * 1000 * kMillisecond : 0;
        if (!idle_restart) return {};
        const long long minutes = parse_minutes(idle_restart);
        if (minutes < 0)
            return "idle-restart takes a number of minutes from 0 to 1440, not '" + std::string(idle_restart) +
                   "': it is ignored";
        idle_restart_ = minutes;
        return {};
    }

    // A new game, built afresh, as when the page opens: the windows of the
    // game before go.
    void new_game() {
        end_game();
        runtime_ = std::make_unique<Runtime>(game_scenes(), clock_);
        last_press_ = clock_.now();
        page_started();
        runtime_->set_observer(this);
        runtime_->start();
        after_event();
    }

    void press(int scene, int x, int y) {
        last_press_ = clock_.now();
        if (Scene* s = scene_at(scene)) runtime_->press(*s, x, y);
        after_event();
    }
    void release(int scene, int x, int y) {
        if (Scene* s = scene_at(scene)) runtime_->release(*s, x, y);
        after_event();
    }
    void close(int scene) {
        // On a shared machine a child's close must not end the game.
        if (kiosk_) return;
        if (Scene* s = scene_at(scene)) runtime_->close(*s);
        after_event();
    }

    // A key went down over the page, whose top window shows `scene`, with
    // the key's name as the browser gives it. Returns whether it was the
    // game's, so that the page keeps it from the browser.
    bool key(int scene, std::string_view name, bool shift, bool ctrl, bool repeat) {
        if (!runtime_ || !runtime_->running()) return false;
        last_press_ = clock_.now();
        if (kiosk_ && name == "Escape") {
            if (repeat) return true;
            if (shift && ctrl) {
                end_game();
                page_schedule(-1);
                page_ended();
            } else {
                new_game();
            }
            return true;
        }
        Scene* s = keyboard_ ? scene_at(scene) : nullptr;
        if (!s || !s->shown()) return false;
        const Pixel at = pointer_on(*s);
        if (name == " " || name == "Enter") {
            // A click, as the mouse's; a held key clicks once.
            if (!repeat) {
                runtime_->press(*s, at.x, at.y);
                runtime_->release(*s, at.x, at.y);
                after_event();
            }
            return true;
        }
        std::optional<PointerKey> move;
        if (name == "ArrowLeft") move = PointerKey::Left;
        if (name == "ArrowRight") move = PointerKey::Right;
        if (name == "ArrowUp") move = PointerKey::Up;
        if (name == "ArrowDown") move = PointerKey::Down;
        if (name == "Tab") move = shift ? PointerKey::Previous : PointerKey::Next;
        if (!move) return false;
        const Pixel to = Runtime::move_pointer(*s, at, *move, shift);
        pointer(scene, to.x, to.y);
        return true;
    }

    // The pointer moved over a scene's canvas (x, y in scene pixels), or
    // left every canvas (scene < 0). In keyboard play the pointer the keys
    // move stays where the mouse left it.
    void pointer(int scene, int x, int y) {
        if (scene < 0) {
            if (!keyboard_) hover_.reset();
            return;
        }
        hover_ = Hover{scene, x, y};
        if (keyboard_) page_mark(scene, x, y);
        update_pointer();
    }

    void wakeup() {
        if (!runtime_ || !runtime_->running()) return;
        const Nanos now = clock_.now();
        if (idle_restart_ > 0 && now >= last_press_ + idle_restart_) return new_game();
        const std::optional<Nanos> due = runtime_->next_wakeup();
        // The log compares the time of waking with the grid time it was
        // due at, so that a late wake-up shows its full lateness.
        if (runtime_->serve_wakeup() && due)
            page_wakeup_served(static_cast<double>(*due) / 1e6, static_cast<double>(now) / 1e6);
        after_event();
    }

    // The player's OK to a run-time error's message.
    void error_seen() {
        if (kiosk_ && runtime_ && !runtime_->running()) new_game();
    }

    void scene_shown(Scene& scene) override {
        Window& w = windows_[&scene];
        page_show(static_cast<int>(scene.index()), scene.name().c_str(), scene.caption().c_str(),
                  to_pixels(scene.client_width()), to_pixels(scene.client_height()));
        const PixelRect all = full(scene);
        repaint(scene, w, {&all, 1});
        // The keys' pointer goes over the scene now on top, at the same
        // place as far as it fits, as the real pointer stays where it is.
        if (keyboard_) {
            const Pixel at = pointer_on(scene);
            pointer(static_cast<int>(scene.index()), at.x, at.y);
        }
        update_pointer();
    }

    void scene_hidden(Scene& scene) override { page_hide(static_cast<int>(scene.index())); }

    void scene_closed(Scene& scene) override {
        page_remove(static_cast<int>(scene.index()));
        windows_.erase(&scene);
        if (!keyboard_ && hover_ && hover_->scene == static_cast<int>(scene.index())) hover_.reset();
    }

    void scene_changed(Scene& scene) override {
        auto it = windows_.find(&scene);
        if (it == windows_.end() || !scene.shown()) return;
        if (!scene.damaged_areas().empty()) repaint(scene, it->second, scene.damaged_areas());
        if (scene.pointer_changed()) update_pointer();
    }

private:
    struct Hover {
        int scene;
        int x;
        int y;
    };

    Scene* scene_at(int index) const {
        if (!runtime_ || index < 0 || static_cast<std::size_t>(index) >= runtime_->scene_count()) return nullptr;
        return runtime_->scene(static_cast<std::size_t>(index));
    }

    static PixelRect full(const Scene& scene) {
        return {0, 0, to_pixels(scene.client_width()), to_pixels(scene.client_height())};
    }

    // Where the pointer is over a scene: where the mouse or a key last put
    // it, kept inside the scene's client area, or its top left corner.
    Pixel pointer_on(const Scene& scene) const {
        if (!hover_) return {0, 0};
        const PixelRect all = full(scene);
        return {std::clamp(hover_->x, 0, std::max(all.x1 - 1, 0)), std::clamp(hover_->y, 0, std::max(all.y1 - 1, 0))};
    }

    // Stops the game there is, if any, and takes its windows off the page.
    void end_game() {
        if (runtime_) runtime_->set_observer(nullptr);
        for (const auto& [scene, w] : windows_) page_remove(static_cast<int>(scene->index()));
        windows_.clear();
        if (!keyboard_) hover_.reset();
        reported_ = false;
        runtime_.reset();
    }

    // After every event the runtime handled: the next wake-up, the next
    // idle restart, or the end.
    void after_event() {
        if (!runtime_) return;
        if (runtime_->running()) {
            std::optional<Nanos> next = runtime_->next_wakeup();
            if (idle_restart_ > 0)
                next = std::min(next.value_or(last_press_ + idle_restart_), last_press_ + idle_restart_);
            if (!next) return page_schedule(-1);
            const Nanos left = std::max<Nanos>(*next - clock_.now(), 0);
            return page_schedule(std::ceil(static_cast<double>(left) / static_cast<double>(kMillisecond)));
        }
        page_schedule(-1);
        if (reported_) return;
        reported_ = true;
        if (const auto& error = runtime_->error()) {
            const std::string title = "Run-time error '" + std::to_string(error->number) + "':";
            page_error(title.c_str(), error->name.c_str());
            // On a shared machine the game never ends by itself: the next
            // child finds a new game once the message has been seen.
            if (kiosk_) return;
        }
        page_ended();
    }

    void repaint(const Scene& scene, Window& w, std::span<const PixelRect> areas) {
        const PixelRect all = full(scene);
        if (w.frame.width != all.x1 || w.frame.height != all.y1) {
            painter_.paint(scene, w.frame);
            present(scene, w, all);
            return;
        }
        for (const PixelRect& area : areas) {
            painter_.paint(scene, w.frame, area);
            present(scene, w, area);
        }
    }

    // Copies an area of the frame into the canvas's byte order (red, green,
    // blue, alpha in memory) and hands it to the page.
    void present(const Scene& scene, Window& w, PixelRect area) {
        area = area.intersected({0, 0, w.frame.width, w.frame.height});
        if (area.empty()) return;
        const int width = area.x1 - area.x0;
        const int height = area.y1 - area.y0;
        w.rgba.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        std::uint32_t* out = w.rgba.data();
        for (int y = area.y0; y < area.y1; ++y) {
            const std::uint32_t* row =
                &w.frame.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(w.frame.width)];
            for (int x = area.x0; x < area.x1; ++x) {
                const std::uint32_t p = row[x];
                *out++ = 0xFF000000u | (p & 0xFF00u) | (p >> 16 & 0xFFu) | (p & 0xFFu) << 16;
            }
        }
        page_present(static_cast<int>(scene.index()), w.rgba.data(), area.x0, area.y0, width, height, w.frame.width,
                     w.frame.height);
    }

    // The pointer changes when a handler changes it, even if it does not move.
    void update_pointer() {
        if (!hover_) return;
        const Scene* scene = scene_at(hover_->scene);
        if (!scene || !scene->shown()) return;
        page_cursor(hover_->scene, cursor_of(Runtime::pointer_at(*scene, hover_->x, hover_->y)));
    }

    Painter& painter_;
    PerformanceClock clock_;
    std::unique_ptr<Runtime> runtime_;
    std::map<const Scene*, Window> windows_;
    std::optional<Hover> hover_;
    bool reported_ = false;
    bool kiosk_ = false;
    bool keyboard_ = false;
    Nanos idle_restart_ = 0; // none when 0
    Nanos last_press_ = 0;
};

WebHost& host() {
    static BakedGlyphs glyphs(baked_glyphs());
    static Painter painter(glyphs);
    static WebHost instance(painter);
    return instance;
}

struct ScriptResult {
    std::string out;
    std::string err;
} last_script;

} // namespace

} // namespace guardianes

// What the page calls. Scenes are numbered as the runtime registers them.
extern "C" {

// The page's address's options, before the first game; returns why the idle
// restart's minutes were passed over, or "".
EMSCRIPTEN_KEEPALIVE const char* guardianes_configure(int kiosk, int keyboard, const char* idle_restart) {
    static std::string refused;
    refused = guardianes::host().configure(kiosk != 0, keyboard != 0, idle_restart);
    return refused.c_str();
}
EMSCRIPTEN_KEEPALIVE void guardianes_new_game() { guardianes::host().new_game(); }
EMSCRIPTEN_KEEPALIVE int guardianes_key(int scene, const char* name, int shift, int ctrl, int repeat) {
    return guardianes::host().key(scene, name, shift != 0, ctrl != 0, repeat != 0) ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE void guardianes_error_seen() { guardianes::host().error_seen(); }
EMSCRIPTEN_KEEPALIVE void guardianes_press(int scene, int x, int y) { guardianes::host().press(scene, x, y); }
EMSCRIPTEN_KEEPALIVE void guardianes_release(int scene, int x, int y) { guardianes::host().release(scene, x, y); }
EMSCRIPTEN_KEEPALIVE void guardianes_close(int scene) { guardianes::host().close(scene); }
EMSCRIPTEN_KEEPALIVE void guardianes_pointer(int scene, int x, int y) { guardianes::host().pointer(scene, x, y); }
EMSCRIPTEN_KEEPALIVE void guardianes_wakeup() { guardianes::host().wakeup(); }

// Runs a guardianes-sim script and returns its status; its standard output
// and error are then guardianes_script_out() and guardianes_script_err().
EMSCRIPTEN_KEEPALIVE int guardianes_run_script(const char* text) {
    using namespace guardianes;
    std::istringstream in{std::string(text)};
    std::ostringstream out;
    std::ostringstream err;
    const int status = run_sim_script(in, out, err, [] { return std::make_unique<BakedGlyphs>(baked_glyphs()); });
    last_script = {out.str(), err.str()};
    return status;
}
EMSCRIPTEN_KEEPALIVE const char* guardianes_script_out() { return guardianes::last_script.out.c_str(); }
EMSCRIPTEN_KEEPALIVE const char* guardianes_script_err() { return guardianes::last_script.err.c_str(); }
}
