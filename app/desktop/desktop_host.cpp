// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop/desktop_host.h"

#include "paint/painter.h"
#include "paint/scaled.h"
#include "runtime/damage.h"
#include "sound/synth.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace guardianes {

void write_line(const std::string& line) { std::fprintf(stderr, "guardianes: %s\n", line.c_str()); }

namespace {

Size pixel_size(const Scene& scene) { return {to_pixels(scene.client_width()), to_pixels(scene.client_height())}; }

// How long the audio device stays open in silence, waiting for the next
// cue: longer than the pauses between a scene's sounds, such as the race's
// start light after the siren, so that a scene opens it once.
constexpr Nanos kSilenceBeforeClosing = 2000 * kMillisecond;

} // namespace

DesktopSound::DesktopSound(Platform& platform, Session& session, const Clock& clock, WakeupLog& log)
    : platform_(platform), session_(session), clock_(clock), log_(log), mixer_(session.options().volume) {}

// The device's thread must not outlive the feed it reads.
DesktopSound::~DesktopSound() { close(); }

void DesktopSound::start(const Scene& scene, Cue cue) {
    if (!open_) {
        // The voice is ready before the device opens, so that its first
        // buffer is the cue's and not silence.
        mixer_.start(scene.index(), cue);
        if (const std::optional<std::string> why = platform_.open_sound(*this)) {
            write_line(session_.sound_failed(*why));
            mixer_ = sound::Mixer(session_.options().volume);
            return;
        }
        open_ = true;
        log_.sound_opened(clock_.now());
        return;
    }
    close_at_.reset();
    // Made before the lock, so that the device's thread never waits for it.
    sound::samples(cue);
    const std::lock_guard lock(mutex_);
    mixer_.start(scene.index(), cue);
}

void DesktopSound::stop(const Scene& scene) {
    if (!open_) return;
    const std::lock_guard lock(mutex_);
    mixer_.stop(scene.index());
}

void DesktopSound::drained() {
    if (!open_ || close_at_) return;
    {
        const std::lock_guard lock(mutex_);
        if (!mixer_.silent()) return;
    }
    close_at_ = clock_.now() + kSilenceBeforeClosing;
}

void DesktopSound::serve() {
    if (close_at_ && clock_.now() >= *close_at_) close();
}

void DesktopSound::close() {
    if (!open_) return;
    platform_.close_sound();
    open_ = false;
    close_at_.reset();
    log_.sound_closed(clock_.now());
}

bool DesktopSound::fill(std::span<std::int16_t> out) {
    const std::lock_guard lock(mutex_);
    const bool sounding = !mixer_.silent();
    mixer_.mix(out);
    return sounding;
}

DesktopHost::DesktopHost(Session& session, Clock& clock, Painter& painter, Platform& platform,
                         const std::string& wakeup_log)
    : session_(session), clock_(clock), painter_(painter), platform_(platform), wakeup_log_(wakeup_log),
      sound_(platform, session, clock, wakeup_log_) {
    session_.set_observer(this);
    platform_.connect(*this);
}

DesktopHost::~DesktopHost() { session_.set_observer(nullptr); }

int DesktopHost::run() {
    session_.new_game();
    while (!session_.ended()) {
        if (error_) {
            const ErrorReport error = *error_;
            error_.reset();
            show_error(error);
            session_.error_seen();
            continue;
        }
        std::optional<Nanos> next = session_.next_wakeup();
        if (const std::optional<Nanos> closing = sound_.closing_at())
            next = std::min(next.value_or(*closing), *closing);
        int timeout_ms = -1;
        if (next) {
            const Nanos left = std::max<Nanos>(*next - clock_.now(), 0);
            timeout_ms = static_cast<int>(std::min<Nanos>((left + kMillisecond - 1) / kMillisecond, 1 << 30));
        }
        platform_.wait(timeout_ms);
        if (session_.ended()) break;
        serve();
        hide_left_behind();
    }
    return session_.exit_status();
}

// A cue that the session's wake-up starts keeps the device open.
void DesktopHost::serve() {
    wakeup_log_.serve(session_, clock_);
    sound_.serve();
}

void DesktopHost::scene_shown(Scene& scene) {
    const WindowId id = scene.index();
    Window& w = windows_[id];
    w.scene = &scene;
    if (!w.open) open(w, id);
    if (!w.open) return;
    platform_.show_window(id);
    update_pointer(true);
}

void DesktopHost::scene_hidden(Scene& scene) {
    if (Window* w = window_showing(scene); w && w->open && hides_at_once()) platform_.hide_window(scene.index());
}

void DesktopHost::scene_closed(Scene& scene) {
    if (Window* w = window_showing(scene)) {
        if (w->open) platform_.close_window(scene.index());
        windows_.erase(scene.index());
    }
}

void DesktopHost::scene_changed(Scene& scene) {
    if (!scene.damaged_areas().empty()) repaint(scene, scene.damaged_areas());
    if (scene.pointer_changed()) update_pointer();
}

void DesktopHost::game_closing() {
    for (auto& [id, w] : windows_) w.scene = nullptr;
}

void DesktopHost::game_started() { hide_left_behind(); }

void DesktopHost::error_raised(const ErrorReport& error) { error_ = error; }

void DesktopHost::pointer_moved_by_keys(Scene& scene, Pixel at) {
    Window* w = window_showing(scene);
    if (!w || !w->open) return;
    const Pixel to = w->placement.to_window(at);
    warped_ = {scene.index(), to};
    platform_.warp_pointer(scene.index(), to);
    set_pointer_shape(scene.index(), scene);
}

void DesktopHost::pressed(WindowId window, Pixel at) {
    if (Window* w = window_of(window)) session_.press(*w->scene, w->placement.to_scene(at));
}

void DesktopHost::released(WindowId window, Pixel at) {
    if (Window* w = window_of(window)) session_.release(*w->scene, w->placement.to_scene(at));
}

void DesktopHost::pointer_moved(WindowId window, Pixel at) {
    Window* w = window_of(window);
    if (!w) return;
    if (warped_ && warped_->first == window && warped_->second == at) {
        warped_.reset();
        return;
    }
    session_.pointer_moved(*w->scene, w->placement.to_scene(at));
    set_pointer_shape(window, *w->scene);
}

bool DesktopHost::key_pressed(std::optional<WindowId> window, KeyStroke key) {
    Window* w = window ? window_of(*window) : nullptr;
    return session_.key(w ? w->scene : nullptr, key);
}

void DesktopHost::close_requested(WindowId window) {
    if (Window* w = window_of(window)) session_.close(*w->scene);
}

void DesktopHost::resized(WindowId window, Size client) {
    Window* w = window_of(window);
    if (!w) return;
    session_.window_resized(*w->scene, client, w->plan.picture.scale);
    // A window whose scene keeps its size may still place it anew.
    if (Window* still = window_of(window)) repaint(*still->scene, {});
}

void DesktopHost::framed(WindowId window, Edges frame) {
    Window* w = window_of(window);
    if (!w || w->framed) return;
    w->framed = true;
    Screen screen = platform_.screen();
    screen.frame = frame;
    const WindowPlan plan = session_.layout().plan(pixel_size(*w->scene), screen);
    if (!(plan.client == w->plan.client)) {
        w->plan = plan;
        platform_.place_window(window, plan.client, std::nullopt);
    }
    keep_on_screen(window, screen);
}

DesktopHost::Window* DesktopHost::window_of(WindowId window) {
    auto it = windows_.find(window);
    return it != windows_.end() && it->second.scene && it->second.open ? &it->second : nullptr;
}

DesktopHost::Window* DesktopHost::window_showing(const Scene& scene) {
    auto it = windows_.find(scene.index());
    return it != windows_.end() && it->second.scene == &scene ? &it->second : nullptr;
}

std::optional<WindowId> DesktopHost::top() const {
    std::optional<WindowId> top;
    for (const auto& [id, w] : windows_)
        if (w.open && w.scene && w.scene->shown()) top = id;
    return top;
}

void DesktopHost::hide_left_behind() {
    for (auto& [id, w] : windows_)
        if (w.open && (!w.scene || !w.scene->shown())) platform_.hide_window(id);
}

void DesktopHost::open(Window& w, WindowId id) {
    const Screen screen = platform_.screen();
    w.plan = session_.layout().plan(pixel_size(*w.scene), screen);
    w.framed = screen.frame.has_value();
    w.placement = w.plan.picture;
    const WindowRequest request{w.scene->caption(), w.plan.client, w.plan.origin, session_.options().fullscreen};
    if (const std::optional<std::string> why = platform_.open_window(id, request)) {
        write_line(session_.window_failed(*why));
        return;
    }
    w.open = true;
    if (w.framed) keep_on_screen(id, screen);
}

void DesktopHost::keep_on_screen(WindowId id, const Screen& screen) {
    const PixelRect outer = platform_.client_area(id).grown(screen.frame.value_or(Edges{}));
    if (const std::optional<Pixel> to = session_.layout().moved(screen, outer))
        platform_.place_window(id, std::nullopt, *to);
}

void DesktopHost::repaint(const Scene& scene, std::span<const PixelRect> areas) {
    Window* shown = window_showing(scene);
    if (!shown || !shown->open || !scene.shown()) return;
    Window& w = *shown;
    const WindowId id = scene.index();
    const Size size = pixel_size(scene);
    bool whole = false;
    if (w.frame.width != size.width || w.frame.height != size.height) {
        painter_.paint(scene, w.frame);
        whole = true;
    } else {
        for (const PixelRect& area : areas) painter_.paint(scene, w.frame, area);
    }
    const Placement placement =
        session_.layout().placement(size, platform_.client_area(id).size(), w.plan.picture.scale);
    if (!(placement == w.placement)) {
        w.placement = placement;
        whole = true;
    }
    const Picture picture = platform_.picture(id, placement.scale.of(size));
    if (!picture.pixels) return;
    const ScaledFrame scaled(placement.scale.times, placement.scale.over);
    std::array<PixelRect, Damage::kMostAreas> shown_areas{};
    std::size_t count = 0;
    if (whole) {
        shown_areas[count++] = PixelRect::at({0, 0}, picture.size);
        scaled.draw(w.frame, shown_areas[0], picture.pixels, picture.stride);
    } else {
        for (const PixelRect& area : areas) {
            const PixelRect covered = scaled.covering(w.frame, area);
            if (covered.empty() || count == shown_areas.size()) continue;
            scaled.draw(w.frame, covered, picture.pixels, picture.stride);
            shown_areas[count++] = covered;
        }
    }
    if (count > 0) platform_.present(id, {placement.left, placement.top}, {shown_areas.data(), count}, whole);
}

void DesktopHost::show_error(const ErrorReport& error) {
    write_line(session_.error_line(error));
    platform_.show_message(top(), session_.error_message(error));
}

void DesktopHost::update_pointer(bool entered) {
    const std::optional<std::pair<WindowId, Pixel>> at = platform_.pointer();
    if (!at) return;
    Window* w = window_of(at->first);
    if (!w || !w->scene->shown()) return;
    if (entered) session_.pointer_moved(*w->scene, w->placement.to_scene(at->second));
    set_pointer_shape(at->first, *w->scene);
}

void DesktopHost::set_pointer_shape(WindowId id, const Scene& scene) {
    platform_.set_pointer_shape(id, session_.pointer_shape(scene));
}

} // namespace guardianes
