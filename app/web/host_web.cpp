// SPDX-License-Identifier: GPL-3.0-or-later
// The web host, compiled to WebAssembly. With its page (page.js) it
// turns the browser's events into the session's calls and shows what the
// session and its runtime say, as the desktop host does on SDL2. It
// implements:
//  - one window in the page per shown scene: a frame with the scene's
//    caption and a close button, and a canvas of exactly its client size;
//    the scene shown last on top, hidden scenes not displayed, and the
//    player's close of a window passed on as the close of its scene;
//  - presses and releases of the primary button and the pointer's moves,
//    from Pointer Events, so that a mouse, a finger and a pen all play;
//  - the keys the session has rules for, by the names the browser gives
//    them, with Shift, Ctrl and repeat; the page keeps from the browser
//    the keys the session takes;
//  - a mark of its own where the keys have the pointer, since a page cannot
//    move the real one;
//  - the pointer shapes arrow, hourglass and no-drop sign as CSS cursors;
//  - wake-ups at the session's next one, by the browser's monotonic clock
//    (performance.now()), one timeout at a time, and none at all while
//    nothing is due, so an idle page does no work;
//  - repainting only what a handler changed, and presenting just that;
//  - each window sized and placed in the page's room as the session's layout
//    answers from what the page reports (the room and the frame round a
//    window, in device pixels, and the device pixel ratio), and the
//    pointer's device pixels mapped back to scene pixels;
//  - the modal message of a run-time error, its text the session's, and a
//    new game once the game has ended;
//  - the game's sounds: each cue's samples handed to the page, which plays
//    them with Web Audio from the player's first press on at the options'
//    volume, and a scene's sounds ended when it hides or closes;
//  - the options from the page's address, read by the session's parser;
//  - the game's language and glyphs, which the page also passes to its
//    script runner (runner.cpp, a module of its own that the game never
//    needs);
//  - for measuring, the time of every wake-up beside the grid time it was due at;
//  - the build it comes from, so that the page can tell a script of another
//    build from its own.
// It leaves out resizing a window by the player (the page fits each scene
// to the room instead) and every rule: the page forwards events to this
// file and puts the pixels it is given on the canvases where it is told;
// what Escape does, when a new game starts, where the keys take the pointer
// and how large a scene is drawn and where are the session's.

#include "paint/baked_glyphs.h"
#include "paint/painter.h"
#include "runtime/runtime.h"
#include "scenes/scenes.h"
#include "session/placement.h"
#include "session/session.h"
#include "sound/synth.h"

#include <emscripten.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace guardianes {

// The baked glyphs, compiled in: a page opened from disk may not fetch files.
std::string_view baked_glyphs();

namespace {

// The page's side, in page.js, reached through Module.page.
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
// A window's frame corner in the room, its client area's size and its
// picture's place and size in that, in device pixels.
EM_JS(void, page_place,
      (int scene, int x, int y, int client_width, int client_height, int left, int top, int width, int height,
       int whole),
      { Module.page.place(scene, x, y, client_width, client_height, left, top, width, height, whole != 0); });
EM_JS(void, page_error, (const char* title, const char* text),
      { Module.page.error(UTF8ToString(title), UTF8ToString(text)); });
EM_JS(void, page_ended, (), { Module.page.ended(); });
EM_JS(void, page_started, (), { Module.page.started(); });
EM_JS(void, page_mark, (int scene, int x, int y), { Module.page.mark(scene, x, y); });
// A cue's samples, as the page's Web Audio plays them; the page keeps each
// cue's buffer after its first time.
EM_JS(void, page_play, (int scene, int cue, const void* samples, int count, int rate),
      { Module.page.play(scene, cue, HEAP16.subarray(samples >> 1, (samples >> 1) + count), rate); });
EM_JS(void, page_stop_sounds, (int scene), { Module.page.stopSounds(scene); });
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
    WindowPlan plan;                 // in the page's room, in device pixels
};

class WebHost final : public SessionObserver {
public:
    explicit WebHost(Painter& painter) : painter_(painter) { configure("", {}); }

    // The options the page's address gives, and the languages the browser
    // prefers, before the first game; returns why an option was passed
    // over, or nothing when all were taken.
    std::string configure(std::string_view query, const std::vector<std::string>& languages) {
        const ProgramOptions given = read_page_options(query, languages);
        session_ = std::make_unique<Session>([this] { return std::make_unique<Runtime>(game_scenes(), clock_); },
                                             clock_, given.reading.options, languages);
        session_->set_observer(this);
        if (given.reading.error.empty()) return {};
        return session_->texts().format(translatable("page|ignored", "%s: it is ignored"), {given.reading.error});
    }

    const Texts& texts() const { return session_->texts(); }

    const GameOptions& options() const { return session_->options(); }

    void new_game() {
        session_->new_game();
        after_event();
    }

    void press(int scene, int x, int y) {
        if (Window* w = window_at(scene))
            session_->press(*session_->scene(index(scene)), w->plan.picture.to_scene(x, y));
        after_event();
    }
    void release(int scene, int x, int y) {
        if (Window* w = window_at(scene))
            session_->release(*session_->scene(index(scene)), w->plan.picture.to_scene(x, y));
        after_event();
    }
    void close(int scene) {
        if (window_at(scene)) session_->close(*session_->scene(index(scene)));
        after_event();
    }

    // A key went down over the page, whose top window shows `scene`, with
    // the key's name as the browser gives it. Returns whether it was the
    // game's, so that the page keeps it from the browser.
    bool key(int scene, std::string_view name, bool shift, bool ctrl, bool repeat) {
        static constexpr std::pair<std::string_view, Key> kNames[] = {
            {"Escape", Key::Escape},  {"ArrowLeft", Key::Left}, {"ArrowRight", Key::Right}, {"ArrowUp", Key::Up},
            {"ArrowDown", Key::Down}, {"Tab", Key::Tab},        {" ", Key::Space},          {"Enter", Key::Enter}};
        KeyStroke stroke{Key::Other, shift, ctrl, repeat};
        for (const auto& [browser, key] : kNames)
            if (name == browser) stroke.key = key;
        Scene* over = window_at(scene) ? session_->scene(index(scene)) : nullptr;
        const bool taken = session_->key(over, stroke);
        after_event();
        return taken;
    }

    // The pointer moved over a scene's window, `x` and `y` device pixels
    // from its client area's corner.
    void pointer(int scene, int x, int y) {
        Window* w = window_at(scene);
        if (!w) return;
        Scene& s = *session_->scene(index(scene));
        session_->pointer_moved(s, w->plan.picture.to_scene(x, y));
        if (session_->options().keyboard) mark(s);
        update_cursor(s);
    }

    // Places a scene's window in the page's room, `width` by `height`
    // device pixels at `ratio` device pixels to the page's, with a frame
    // round its client area as wide as `frame`; the page is told where.
    void place(int scene, int width, int height, double ratio, Edges frame) {
        Window* w = window_at(scene);
        if (!w) return;
        const PixelRect room = PixelRect::at({0, 0}, {width, height});
        const Screen screen{room, room, 96 * ratio, frame, true};
        w->plan = session_->layout().plan({w->frame.width, w->frame.height}, screen);
        const WindowPlan& plan = w->plan;
        const Pixel origin = plan.origin.value_or(Pixel{0, 0});
        const Size picture = plan.picture.scale.of(Size{w->frame.width, w->frame.height});
        page_place(scene, origin.x, origin.y, plan.client.width, plan.client.height, plan.picture.left,
                   plan.picture.top, picture.width, picture.height, plan.picture.scale.whole() ? 1 : 0);
    }

    void wakeup() {
        const Nanos now = clock_.now();
        // The log compares the time of waking with the grid time it was
        // due at, so that a late wake-up shows its full lateness.
        if (const auto served = session_->serve_wakeup())
            page_wakeup_served(static_cast<double>(*served) / 1e6, static_cast<double>(now) / 1e6);
        after_event();
    }

    // The player's OK to a run-time error's message.
    void error_seen() {
        session_->error_seen();
        after_event();
    }

    // SessionObserver
    void scene_shown(Scene& scene) override {
        Window& w = windows_[scene.index()];
        w.frame.resize(to_pixels(scene.client_width()), to_pixels(scene.client_height()));
        page_show(static_cast<int>(scene.index()), scene.name().c_str(), scene.caption().c_str(), w.frame.width,
                  w.frame.height);
        // The keys' pointer goes over the scene now on top, at the same
        // place as far as it fits, as the real pointer stays where it is.
        if (session_->options().keyboard) {
            session_->carry_pointer(scene);
            mark(scene);
        }
        update_cursor(scene);
    }

    void scene_hidden(Scene& scene) override { page_hide(static_cast<int>(scene.index())); }

    void scene_closed(Scene& scene) override {
        page_remove(static_cast<int>(scene.index()));
        windows_.erase(scene.index());
    }

    void scene_changed(Scene& scene) override {
        auto it = windows_.find(scene.index());
        if (it == windows_.end() || !scene.shown()) return;
        if (!scene.damaged_areas().empty()) repaint(scene, it->second, scene.damaged_areas());
        if (scene.pointer_changed()) update_cursor(scene);
    }

    void game_closing() override {
        for (const auto& [scene, w] : windows_) page_remove(static_cast<int>(scene));
        windows_.clear();
    }
    void game_started() override { page_started(); }
    void error_raised(const ErrorReport& error) override {
        const Message message = session_->error_message(error);
        page_error(message.title.c_str(), message.text.c_str());
    }
    void session_ended() override { page_ended(); }
    void pointer_moved_by_keys(Scene& scene, Pixel) override {
        mark(scene);
        update_cursor(scene);
    }
    void cue_started(Scene& scene, Cue cue) override {
        const std::span<const std::int16_t> samples = sound::samples(cue);
        page_play(static_cast<int>(scene.index()), static_cast<int>(cue), samples.data(),
                  static_cast<int>(samples.size()), sound::kSampleRate);
    }
    void cues_stopped(Scene& scene) override { page_stop_sounds(static_cast<int>(scene.index())); }

private:
    static std::size_t index(int scene) { return static_cast<std::size_t>(scene); }

    // The window of a scene of the current game that is on the page.
    Window* window_at(int scene) {
        if (scene < 0 || !session_->scene(index(scene))) return nullptr;
        auto it = windows_.find(index(scene));
        return it != windows_.end() ? &it->second : nullptr;
    }

    void mark(const Scene& scene) {
        const Pixel at = session_->pointer(scene);
        page_mark(static_cast<int>(scene.index()), at.x, at.y);
    }

    // The pointer changes when a handler changes it, even if it does not move.
    void update_cursor(const Scene& scene) {
        if (scene.shown()) page_cursor(static_cast<int>(scene.index()), cursor_of(session_->pointer_shape(scene)));
    }

    // After every event: the next wake-up, or none.
    void after_event() {
        const std::optional<Nanos> next = session_->next_wakeup();
        if (!next) return page_schedule(-1);
        const Nanos left = std::max<Nanos>(*next - clock_.now(), 0);
        page_schedule(std::ceil(static_cast<double>(left) / static_cast<double>(kMillisecond)));
    }

    void repaint(const Scene& scene, Window& w, std::span<const PixelRect> areas) {
        if (w.frame.width != to_pixels(scene.client_width()) || w.frame.height != to_pixels(scene.client_height())) {
            painter_.paint(scene, w.frame);
            present(scene, w, {0, 0, w.frame.width, w.frame.height});
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

    Painter& painter_;
    PerformanceClock clock_;
    std::unique_ptr<Session> session_;
    std::map<std::size_t, Window> windows_; // by scene index
};

WebHost& host() {
    static BakedGlyphs glyphs(baked_glyphs());
    static Painter painter(glyphs);
    static WebHost instance(painter);
    return instance;
}

} // namespace

} // namespace guardianes

// What the page calls. Scenes are numbered as the runtime registers them.
extern "C" {

// The page's address's query and the browser's preferred languages, comma
// separated, before the first game; returns why an option was passed over,
// or "".
EMSCRIPTEN_KEEPALIVE const char* guardianes_configure(const char* query, const char* languages) {
    std::vector<std::string> preferred;
    for (std::string_view rest = languages; !rest.empty();) {
        const std::size_t comma = rest.find(',');
        preferred.emplace_back(rest.substr(0, comma));
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    static std::string refused;
    refused = guardianes::host().configure(query, preferred);
    return refused.c_str();
}
// A text of the page's own, in the game's language.
EMSCRIPTEN_KEEPALIVE const char* guardianes_text(const char* context, const char* original) {
    static std::string text;
    text = guardianes::host().texts()(context, original);
    return text.c_str();
}
// The game's language as a page's lang attribute writes it; "" for the
// game's own texts.
EMSCRIPTEN_KEEPALIVE const char* guardianes_language() {
    static std::string tag;
    tag = guardianes::host().texts().tag();
    return tag.c_str();
}
// What the options ask of the page's layout.
EMSCRIPTEN_KEEPALIVE int guardianes_fullscreen() { return guardianes::host().options().fullscreen ? 1 : 0; }
EMSCRIPTEN_KEEPALIVE int guardianes_muted() { return guardianes::host().options().mute ? 1 : 0; }
// The volume the page plays the samples at, in percent.
EMSCRIPTEN_KEEPALIVE int guardianes_volume() { return guardianes::host().options().volume; }
// A scene's window placed in the page's room: see WebHost::place.
EMSCRIPTEN_KEEPALIVE void guardianes_place(int scene, int width, int height, double ratio, int left, int top, int right,
                                           int bottom) {
    guardianes::host().place(scene, width, height, ratio, {left, top, right, bottom});
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

// The baked glyphs, which the page hands to its script runner for its shots.
EMSCRIPTEN_KEEPALIVE const char* guardianes_glyphs() { return guardianes::baked_glyphs().data(); }
EMSCRIPTEN_KEEPALIVE int guardianes_glyphs_size() { return static_cast<int>(guardianes::baked_glyphs().size()); }

// The build this module comes from. The site's last build step writes the
// build's id over the zeros, here as in the page's files. A named array
// keeps those bytes its own: the linker lets a string literal share its
// bytes with any other ending the same way, such as the fire clock's "0".
EMSCRIPTEN_KEEPALIVE const char* guardianes_build() {
    static const char build[] = "guardianes build 0000000000000000";
    return build;
}
}
