// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/desktop/platform.h"
#include "app/desktop/wakeup_log.h"
#include "paint/image.h"
#include "session/session.h"
#include "sound/mixer.h"

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace guardianes {

class Painter;

// The desktop game's sounds: one mixer, played by the platform's audio
// device. The device opens with a cue and stays open while cues keep
// coming, so that a scene's sounds open it once; it closes after two
// seconds of silence, so that an idle game costs nothing.
class DesktopSound final : public SoundFeed {
public:
    DesktopSound(Platform& platform, Session& session, const Clock& clock, WakeupLog& log);
    ~DesktopSound() override;
    DesktopSound(const DesktopSound&) = delete;
    DesktopSound& operator=(const DesktopSound&) = delete;

    void start(const Scene& scene, Cue cue);
    void stop(const Scene& scene);
    // The platform says the feed has gone silent: the device closes two
    // seconds from the first such word, unless a cue starts meanwhile.
    void drained();
    // When the device is due to close, if it is.
    std::optional<Nanos> closing_at() const { return close_at_; }
    // Closes the device if its silence has lasted until now.
    void serve();

    // SoundFeed, from the device's thread.
    bool fill(std::span<std::int16_t> out) override;

private:
    void close();

    Platform& platform_;
    Session& session_;
    const Clock& clock_;
    WakeupLog& log_;
    bool open_ = false;
    std::optional<Nanos> close_at_;
    std::mutex mutex_; // the mixer's, against the device's thread
    sound::Mixer mixer_;
};

// The desktop game, on any window system: the loop that sleeps until the
// session's next wake-up, each scene's window sized and placed as the
// session's layout says, its picture painted, scaled and presented, and the
// window system's events passed on to the session in its words. The
// platform under it does only what its window system makes it do
// differently.
class DesktopHost final : public SessionObserver, private PlatformEvents {
public:
    // `wakeup_log`, when not empty, names a file for the log of wake-ups.
    DesktopHost(Session& session, Clock& clock, Painter& painter, Platform& platform, const std::string& wakeup_log);
    ~DesktopHost() override;
    DesktopHost(const DesktopHost&) = delete;
    DesktopHost& operator=(const DesktopHost&) = delete;

    // Plays games until the session ends; returns the program's exit status.
    int run();

    // SessionObserver
    void scene_shown(Scene& scene) override;
    void scene_hidden(Scene& scene) override;
    void scene_closed(Scene& scene) override;
    void scene_changed(Scene& scene) override;
    void game_closing() override;
    void game_started() override;
    void error_raised(const ErrorReport& error) override;
    void pointer_moved_by_keys(Scene& scene, Pixel at) override;
    void cue_started(Scene& scene, Cue cue) override { sound_.start(scene, cue); }
    void cues_stopped(Scene& scene) override { sound_.stop(scene); }

private:
    struct Window {
        Scene* scene = nullptr; // the current game's scene shown in it, if any
        bool open = false;
        Image frame;
        // The plan the window opened at, and whether the window manager's
        // frame around it was known then or has been since.
        WindowPlan plan;
        bool framed = false;
        // Where the picture was last shown in the window.
        Placement placement;
    };

    // PlatformEvents
    bool taking_events() const override { return session_.playing(); }
    void pressed(WindowId window, Pixel at) override;
    void released(WindowId window, Pixel at) override;
    void pointer_moved(WindowId window, Pixel at) override;
    void pointer_entered(WindowId) override { update_pointer(true); }
    bool key_pressed(std::optional<WindowId> window, KeyStroke key) override;
    void close_requested(WindowId window) override;
    void resized(WindowId window, Size client) override;
    void framed(WindowId window, Edges frame) override;
    void quit_requested() override { session_.quit(); }
    void time_passes() override { serve(); }
    void sound_drained() override { sound_.drained(); }
    void presented() override { wakeup_log_.frame_presented(); }

    // Serves what is due now: the session's wake-up, then the device's close.
    void serve();
    // The window showing a scene of the current game.
    Window* window_of(WindowId window);
    // The window showing this very scene.
    Window* window_showing(const Scene& scene);
    // The window of the scene shown last, for a message to stand over.
    std::optional<WindowId> top() const;
    // Whether a hidden scene's window goes at once. In full screen it stays
    // up until the scene that takes its place is shown, so that the desktop
    // never shows between the two.
    bool hides_at_once() const { return !session_.options().fullscreen; }
    void hide_left_behind();
    void open(Window& w, WindowId id);
    // Moves a window that the window system placed where it does not fit.
    void keep_on_screen(WindowId id, const Screen& screen);
    // Paints what changed into the frame, draws it into the window's
    // picture at the window's scale and shows it.
    void repaint(const Scene& scene, std::span<const PixelRect> areas);
    void show_error(const ErrorReport& error);
    // The pointer's shape follows a handler's change even when the mouse
    // does not move; with `entered`, the session learns where the mouse is
    // over a window it has just come into, or that has just opened under it.
    void update_pointer(bool entered = false);
    void set_pointer_shape(WindowId id, const Scene& scene);

    Session& session_;
    Clock& clock_;
    Painter& painter_;
    Platform& platform_;
    // One window for each place in the game's list of scenes. A place's
    // window outlives its scene, so that a new game's scene takes it over and
    // the screen never shows the desktop between two games.
    std::map<WindowId, Window> windows_;
    WakeupLog wakeup_log_;
    DesktopSound sound_;
    std::optional<ErrorReport> error_;
    // Where the keys last put the real pointer: the move that puts it there
    // is theirs already, and at a shrunken scale it would land a pixel off.
    std::optional<std::pair<WindowId, Pixel>> warped_;
};

// The platform this program is built for, ready for windows; null where it
// cannot start, with `why` saying why in a few words.
std::unique_ptr<Platform> start_platform(std::string& why);

// The languages the system prefers, in order, as the platform names them.
std::vector<std::string> system_languages();

// One line on standard error, after the program's name: what went wrong.
// Through C's stdio, so that the game carries no C++ streams.
void write_line(const std::string& line);

} // namespace guardianes
