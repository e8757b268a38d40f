// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/runtime.h"
#include "session/options.h"
#include "session/placement.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace guardianes {

// The keys the session has rules for. A host turns its own key codes into
// these, and any other key into Other, which still counts as a press.
enum class Key : std::uint8_t { Escape, Left, Right, Up, Down, Tab, Space, Enter, Other };

struct KeyStroke {
    Key key = Key::Other;
    bool shift = false;
    bool ctrl = false;
    // The key is held down and repeating.
    bool repeat = false;
};

// What a host is told, beside what the runtime tells about scenes.
class SessionObserver : public RuntimeObserver {
public:
    // The current game's scenes go, with its runtime, now: the host lets go
    // of every scene it holds. A new game may follow at once.
    virtual void game_closing() {}
    // A new game is up, its first scene shown.
    virtual void game_started() {}
    // A run-time error stopped the game: the host shows its message, modal,
    // and calls Session::error_seen() once the player has seen it.
    virtual void error_raised(const ErrorReport&) {}
    // No game runs and none will unless the host starts one: the desktop
    // game ends, a page offers a new game.
    virtual void session_ended() {}
    // The keys put the pointer on a scene pixel: the host moves its pointer
    // there, the real one or a mark of its own.
    virtual void pointer_moved_by_keys(Scene&, Pixel) {}
};

// A message a host shows in a box of its own, modal: its title and its
// text, whose lines end in '\n'.
struct Message {
    std::string title;
    std::string text;
};

// One player's time at the game, around the runtime that runs each game:
// the classroom's rules (new games on Escape, after an idle stretch and
// after an error on a shared machine; no closing there; Shift+Ctrl+Escape
// as the way out), the keyboard's rules, and the one record of where the
// pointer is over each scene. Every host drives one, turning its own events
// into these calls and presenting what it is told, so that the rules are
// the same wherever the game runs.
class Session final : private RuntimeObserver {
public:
    using GameMaker = std::function<std::unique_ptr<Runtime>()>;

    // `make_game` builds a game afresh, started by the session. The session
    // speaks the language the options ask for, else the first of the
    // system's preferred languages that the game has.
    Session(GameMaker make_game, Clock& clock, GameOptions options, const std::vector<std::string>& languages = {});
    ~Session() override;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    void set_observer(SessionObserver* observer) { observer_ = observer; }
    const GameOptions& options() const { return options_; }
    // How large each scene is drawn and where its window goes.
    const Layout& layout() const { return layout_; }
    // The texts the game shows, in the session's language.
    const Texts& texts() const { return texts_; }

    // Starts a new game, as at start-up; the game before, if any, goes.
    void new_game();
    // A game runs and takes input: not before the first game, nor while a
    // run-time error waits to be seen, nor after the end.
    bool playing() const { return phase_ == Phase::Playing; }
    // No game runs and none will unless new_game() is called.
    bool ended() const { return phase_ == Phase::Ended; }
    // What a program that plays this session exits with once it has ended:
    // 1 where a run-time error or a failure ended it, 0 where the player
    // or the system did.
    int exit_status() const { return failed_ ? 1 : 0; }
    int games_started() const { return games_started_; }
    // The current game, or the last one; valid once a game has started.
    Runtime& runtime() const { return *runtime_; }
    // The current game's scene at that index, if it exists now.
    Scene* scene(std::size_t index) const;

    // The player's input over a scene, in scene pixels.
    void press(Scene& scene, Pixel at);
    void release(Scene& scene, Pixel at);
    // The pointer moved over a scene without a press.
    void pointer_moved(Scene& scene, Pixel at);
    void close(Scene& scene);
    // A key went down while `scene` (null for none) had the keyboard.
    // Returns whether the key was the game's, for a host that must keep it
    // from others.
    bool key(Scene* scene, KeyStroke press);
    // The player has seen the message of a run-time error.
    void error_seen();
    // The player resized a scene's window, planned at `planned`, to a client
    // area of that many window pixels; the scene takes its new size.
    void window_resized(Scene& scene, Size client, Scale planned);
    // The window system asks the program to end: every scene goes, and the
    // program ends as the player's closing them would end it.
    void quit();

    // A scene's window cannot open: the game ends, failed. Returns the line
    // a host writes on standard error.
    std::string window_failed(std::string_view why);
    // There is no sound: the game plays on without. Returns the line a host
    // writes on standard error.
    std::string sound_failed(std::string_view why);
    // The run-time error's message box, and its one line for standard error.
    Message error_message(const ErrorReport& error) const;
    std::string error_line(const ErrorReport& error) const;

    // Where the pointer is over a scene: where a press, a move or a key
    // there last put it, or the scene's top left corner.
    Pixel pointer(const Scene& scene) const;
    MousePointer pointer_shape(const Scene& scene) const;
    // Puts the pointer over `scene` where it last was over any scene, as far
    // as it fits: for a host whose pointer is its own mark rather than the
    // real one, which stays where it is when a scene gives way to another.
    void carry_pointer(Scene& scene);

    // The time of the next wake-up: the game's next timer tick or the idle
    // restart, whichever is first; none when nothing is due.
    std::optional<Nanos> next_wakeup() const;
    // Serves what is due at the clock's time. Returns the grid time of the
    // timers' wake-up it served, if it served one.
    std::optional<Nanos> serve_wakeup();

private:
    enum class Phase : std::uint8_t { NotStarted, Playing, ShowingError, Ended };

    // RuntimeObserver, passed on to the host's observer.
    void scene_shown(Scene& scene) override;
    void scene_hidden(Scene& scene) override;
    void scene_closed(Scene& scene) override;
    void scene_changed(Scene& scene) override;
    void cue_started(Scene& scene, Cue cue) override;
    void cues_stopped(Scene& scene) override;

    std::optional<Nanos> idle_deadline() const;
    void record_pointer(const Scene& scene, Pixel at);
    void end();
    // After the game handled an event: its end or its error, if it came.
    void settle();

    GameMaker make_game_;
    Clock& clock_;
    GameOptions options_;
    SessionObserver* observer_ = nullptr;
    std::unique_ptr<Runtime> runtime_;
    Layout layout_;
    Texts texts_;
    // The scenes' captions in the session's language.
    class SceneTexts final : public Translation {
    public:
        explicit SceneTexts(const Texts& texts) : texts_(texts) {}
        std::string_view caption(std::string_view scene, std::string_view control,
                                 std::string_view caption) const override;

    private:
        const Texts& texts_;
    };
    SceneTexts scene_texts_{texts_};
    Phase phase_ = Phase::NotStarted;
    int games_started_ = 0;
    bool failed_ = false;
    // A window could not open: the game ends once the event that showed it
    // has been handled.
    bool window_failed_ = false;
    bool silent_ = false;
    Nanos last_press_ = 0;
    // By scene index; a scene without one has the pointer at its corner.
    std::vector<std::optional<Pixel>> pointers_;
    Pixel last_pointer_{0, 0};
};

} // namespace guardianes
