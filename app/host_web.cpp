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
//  - guardianes-sim scripts on a simulation of their own, for the page's
//    runScript, their shots kept in the in-memory file system;
//  - for measuring, the time of every wake-up beside the grid time it was due at.
// It leaves out resizing a window (the page scales a scene by a whole
// number instead, and maps clicks back to scene pixels) and the desktop's
// command line. The page only forwards time, pointer events and closes to
// this file and puts the pixels it is given on the canvases: every rule of
// the game, the wake-up grid included, stays in the runtime.

#include "paint/baked_glyphs.h"
#include "paint/canvas.h"
#include "paint/painter.h"
#include "runtime/runtime.h"
#include "scenes/scenes.h"
#include "sim/session.h"

#include <emscripten.h>

#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <sstream>
#include <string>
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

    void new_game() {
        if (runtime_) runtime_->set_observer(nullptr);
        windows_.clear();
        hover_.reset();
        reported_ = false;
        runtime_ = std::make_unique<Runtime>(game_scenes(), clock_);
        runtime_->set_observer(this);
        runtime_->start();
        after_event();
    }

    void press(int scene, int x, int y) {
        if (Scene* s = scene_at(scene)) runtime_->press(*s, x, y);
        after_event();
    }
    void release(int scene, int x, int y) {
        if (Scene* s = scene_at(scene)) runtime_->release(*s, x, y);
        after_event();
    }
    void close(int scene) {
        if (Scene* s = scene_at(scene)) runtime_->close(*s);
        after_event();
    }

    // The pointer moved over a scene's canvas (x, y in scene pixels), or
    // left every canvas (scene < 0).
    void pointer(int scene, int x, int y) {
        hover_.reset();
        if (scene < 0) return;
        hover_ = Hover{scene, x, y};
        update_pointer();
    }

    void wakeup() {
        if (!runtime_ || !runtime_->running()) return;
        const std::optional<Nanos> due = runtime_->next_wakeup();
        const Nanos now = clock_.now();
        // The log compares the time of waking with the grid time it was
        // due at, so that a late wake-up shows its full lateness.
        if (runtime_->serve_wakeup() && due)
            page_wakeup_served(static_cast<double>(*due) / 1e6, static_cast<double>(now) / 1e6);
        after_event();
    }

    void scene_shown(Scene& scene) override {
        Window& w = windows_[&scene];
        page_show(static_cast<int>(scene.index()), scene.name().c_str(), scene.caption().c_str(),
                  to_pixels(scene.client_width()), to_pixels(scene.client_height()));
        const PixelRect all = full(scene);
        repaint(scene, w, {&all, 1});
        update_pointer();
    }

    void scene_hidden(Scene& scene) override { page_hide(static_cast<int>(scene.index())); }

    void scene_closed(Scene& scene) override {
        page_remove(static_cast<int>(scene.index()));
        windows_.erase(&scene);
        if (hover_ && hover_->scene == static_cast<int>(scene.index())) hover_.reset();
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

    // After every event the runtime handled: the next wake-up, or the end.
    void after_event() {
        if (runtime_->running()) {
            const std::optional<Nanos> next = runtime_->next_wakeup();
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
        area = intersect(area, {0, 0, w.frame.width, w.frame.height});
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

EMSCRIPTEN_KEEPALIVE void guardianes_new_game() { guardianes::host().new_game(); }
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
