// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the whole game on the virtual clock, through the session as every
// host drives it: the input's bytes are what a player, a teacher's options
// and a window system can do to any scene, shown or not, and a rule of the
// game or of the session broken after any event stops the run.
//
// An input is a stream of events: each an operation's byte, a scene's byte
// and the operation's own bytes. An input that opens with kSessionInput
// chooses the session's options with its next byte, and its keys may also
// be held down, have Ctrl or be a key the game has no rule for; any other
// input plays as inputs always have, with keyboard play and no other option.

#include "fuzz/game_rules.h"
#include "paint/painter.h"
#include "scenes/scenes.h"
#include "session/session.h"
#include "sound/mixer.h"
#include "sound/synth.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace guardianes;

// A day of wake-ups tells nothing that half an hour does not.
constexpr Nanos kLongestRun = 30LL * 60 * 1000 * kMillisecond;
// Windows larger than the largest scene paint nothing new, only slower.
constexpr int kLargestSide = 700;
// The first byte of an input that chooses the session's options.
constexpr std::uint8_t kSessionInput = 0xff;
// A host's audio device asks for a few buffers at a time; a whole wait's
// worth of samples would only be slower.
constexpr std::size_t kMostSamplesMixed = 2048;

// The input, one field at a time; past its end every field reads 0.
class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), left_(size) {}
    bool empty() const { return left_ == 0; }
    int byte() {
        if (left_ == 0) return 0;
        --left_;
        return *data_++;
    }
    int word() { return byte() << 8 | byte(); }

private:
    const std::uint8_t* data_;
    std::size_t left_;
};

enum class Op { WaitWakeups, WaitMs, Press, Release, ClickOn, Close, Resize, Paint, Key, Count };

// 1 to 63 wake-ups, times 1, 8, 64 or 512: from one tick to a whole scene.
Nanos wakeups(int code) {
    static constexpr int kScale[] = {1, 8, 64, 512};
    return static_cast<Nanos>(code & 63) * kScale[code >> 6] * kWakeupPeriod;
}

// A pixel from 100 before the client area to far beyond it, or at an int's ends.
int coordinate(int code) {
    static constexpr int kExtremes[] = {INT_MIN, INT_MIN + 1, INT_MAX - 1, INT_MAX};
    if (code >= 0x10000 - 4) return kExtremes[code - (0x10000 - 4)];
    return code % 1200 - 100;
}

// The far edge of an area from its near edge, held within an int's range.
int beyond(int edge, int extent) {
    return static_cast<int>(std::min<std::int64_t>(std::int64_t{edge} + extent, INT_MAX));
}

// A control's centre, moved by up to 3 pixels so that presses need not pair.
Pixel near_control(const Scene& scene, int which, int dx, int dy) {
    const auto& controls = scene.controls();
    const Control& control = *controls[static_cast<std::size_t>(which) % controls.size()];
    const Pixel centre = centre_pixel(control);
    return {centre.x + dx % 7 - 3, centre.y + dy % 7 - 3};
}

FontLibrary& fonts() {
    static FontLibrary library([](const std::string&) {});
    return library;
}

// The options a session input's second byte chooses, read as a command line
// gives them: bit 0 --kiosk, bit 1 --keyboard, bit 2 --mute, bits 3 to 5 an
// --idle-restart or none, bits 6 and 7 a --volume or none. 0.0078125
// minutes end on a wake-up of the timers.
GameOptions options_from(int code) {
    static constexpr const char* kIdleMinutes[] = {nullptr, "0", "0.004", "0.0078125", "0.02", "0.25", "3", "1440"};
    static constexpr const char* kVolumes[] = {nullptr, "0", "50", "100"};
    std::vector<std::string_view> arguments;
    if (code & 1) arguments.emplace_back("--kiosk");
    if (code & 2) arguments.emplace_back("--keyboard");
    if (code & 4) arguments.emplace_back("--mute");
    if (const char* idle = kIdleMinutes[code >> 3 & 7]) arguments.insert(arguments.end(), {"--idle-restart", idle});
    if (const char* volume = kVolumes[code >> 6 & 3]) arguments.insert(arguments.end(), {"--volume", volume});
    return read_command_line(arguments).options;
}

// Plays the input as a host plays a player's input: to the session, and to
// a scene only while it is shown. Told what a host is told, it checks the
// session's rules beside the game's.
class Player final : private SessionObserver {
public:
    Player(Bytes& in, bool session_input, GameOptions options)
        : in_(in), session_input_(session_input), options_(options),
          session_([this] { return std::make_unique<Runtime>(game_scenes(), clock_); }, clock_, options),
          mixer_(options.volume) {
        session_.set_observer(this);
        session_.new_game();
    }
    ~Player() override { session_.set_observer(nullptr); }
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // Reads and plays one event; returns its kind and its scene, for the report.
    std::string play() {
        const auto op = static_cast<Op>(in_.byte() % static_cast<int>(Op::Count));
        const int scene_code = in_.byte();
        Runtime& runtime = session_.runtime();
        Scene* scene = runtime.scene(static_cast<std::size_t>(scene_code) % runtime.scene_count());
        switch (op) {
        case Op::WaitWakeups: wait(wakeups(scene_code)); break;
        case Op::WaitMs: wait(static_cast<Nanos>(scene_code) * kMillisecond); break;
        case Op::Press:
        case Op::Release: {
            const int x = coordinate(in_.word());
            const int y = coordinate(in_.word());
            if (op == Op::Press)
                press(scene, {x, y});
            else
                release(scene, {x, y});
            break;
        }
        case Op::ClickOn: {
            const int which = in_.byte();
            const int dx = in_.byte();
            const int dy = in_.byte();
            if (!scene) break;
            const Pixel at = near_control(*scene, which, dx, dy);
            press(scene, at);
            release(scene, at);
            break;
        }
        case Op::Key: key(scene, in_.byte()); break;
        case Op::Close: close(scene); break;
        case Op::Resize: {
            const int width = in_.word() % kLargestSide;
            const int height = in_.word() % kLargestSide;
            if (scene) runtime.resize(*scene, width, height);
            break;
        }
        case Op::Paint: {
            const int x = coordinate(in_.word());
            const int y = coordinate(in_.word());
            const int width = in_.byte();
            const int height = in_.byte();
            const PixelRect area{x, y, beyond(x, width), beyond(y, height)};
            if (!scene) break;
            // As the desktop host does: the whole window after a resize.
            Painter painter(fonts());
            if (picture_.width != to_pixels(scene->client_width()) ||
                picture_.height != to_pixels(scene->client_height()))
                painter.paint(*scene, picture_);
            else
                painter.paint(*scene, picture_, area);
            break;
        }
        case Op::Count: break;
        }
        return "event kind " + std::to_string(static_cast<int>(op)) + " on scene " +
               std::to_string(scene_code % 5 + 1) + " at " + std::to_string(clock_.now() / kMillisecond) + " ms";
    }

    // The first rule of the session or of the game broken now, if any.
    std::optional<std::string> broken_rule() {
        if (broken_) return broken_;
        if (session_.games_started() != games_due_)
            return std::to_string(session_.games_started()) + " games have started where Escape and the idle " +
                   "stretches call for " + std::to_string(games_due_);
        if (options_.kiosk && session_.ended() && !way_out_taken_)
            return "the shared machine's game ended without Shift+Ctrl+Escape";
        if (options_.mute && cues_heard_ > 0) return "a cue sounded with --mute";
        if (rules_game_ != session_.games_started()) {
            rules_ = std::make_unique<GameRules>(session_.runtime());
            rules_game_ = session_.games_started();
        }
        return rules_->broken();
    }

private:
    Scene* shown(Scene* scene) const { return scene && scene->shown() && session_.playing() ? scene : nullptr; }

    void press(Scene* scene, Pixel at) {
        if (!shown(scene)) return;
        idle_since_ = clock_.now();
        session_.press(*scene, at);
    }

    void release(Scene* scene, Pixel at) {
        if (shown(scene)) session_.release(*scene, at);
    }

    // A key of keyboard play or the classroom's, with Shift or not; in a
    // session input also with Ctrl, held down, or a key of no rule.
    void key(Scene* scene, int code) {
        static constexpr Key kKeys[] = {Key::Left, Key::Right, Key::Up,    Key::Down,
                                        Key::Tab,  Key::Space, Key::Enter, Key::Escape};
        KeyStroke stroke{kKeys[code & 7], (code & 8) != 0};
        if (session_input_) {
            stroke.ctrl = (code & 16) != 0;
            stroke.repeat = (code & 32) != 0;
            if (code & 64) stroke.key = Key::Other;
        }
        if (!session_.playing()) return;
        // Any key puts the idle restart off; on a shared machine Escape
        // starts a new game, or with Shift and Ctrl ends the game, once
        // however long it is held.
        idle_since_ = clock_.now();
        const bool classroom = options_.kiosk && stroke.key == Key::Escape;
        const bool way_out = classroom && !stroke.repeat && stroke.shift && stroke.ctrl;
        games_due_ += classroom && !stroke.repeat && !way_out;
        const int changes = changes_;
        const bool taken = session_.key(shown(scene), stroke);
        if (way_out && !session_.ended()) fail("Shift+Ctrl+Escape did not end the shared machine's game");
        way_out_taken_ = way_out_taken_ || way_out;
        if (!options_.keyboard && !classroom && (taken || changes_ != changes))
            fail("a key played without keyboard play");
    }

    // On a shared machine a child's close changes nothing.
    void close(Scene* scene) {
        if (!shown(scene)) return;
        const std::vector<SceneState> before = states();
        session_.close(*scene);
        if (options_.kiosk && states() != before) fail("a close changed the shared machine's scenes");
    }

    std::vector<SceneState> states() const {
        std::vector<SceneState> out;
        for (std::size_t i = 0; i < session_.runtime().scene_count(); ++i) out.push_back(session_.runtime().state(i));
        return out;
    }

    // Serves every wake-up on the way, as the simulator does. A new game is
    // due at the wake-up that ends an idle stretch, not before and not after;
    // one that comes otherwise stops the wait, which might never end.
    void wait(Nanos span) {
        span = std::min(span, kLongestRun - waited_);
        waited_ += span;
        const Nanos target = clock_.now() + span;
        for (auto next = session_.next_wakeup(); next && *next <= target; next = session_.next_wakeup()) {
            clock_.set(std::max(*next, clock_.now()));
            if (const auto end = idle_end(); end && clock_.now() >= *end) {
                if (clock_.now() > *end) fail("no new game when the idle stretch ran out");
                ++games_due_;
            }
            session_.serve_wakeup();
            if (session_.games_started() != games_due_) return;
        }
        if (const auto end = idle_end(); end && *end <= target) fail("no wake-up at the end of the idle stretch");
        clock_.set(target);
        mix(span);
    }

    std::optional<Nanos> idle_end() const {
        if (options_.idle_restart <= 0 || !session_.playing()) return std::nullopt;
        return idle_since_ + options_.idle_restart;
    }

    // What the audio device would have asked for meanwhile, or a part of it.
    void mix(Nanos span) {
        const auto wanted = static_cast<std::size_t>(span / (1'000'000'000 / sound::kSampleRate));
        samples_.resize(std::min(wanted, kMostSamplesMixed));
        mixer_.mix(samples_);
    }

    void fail(const std::string& what) {
        if (!broken_) broken_ = what;
    }

    // SessionObserver
    void game_started() override { idle_since_ = clock_.now(); }
    void scene_changed(Scene&) override { ++changes_; }
    void pointer_moved_by_keys(Scene&, Pixel) override { ++changes_; }
    void cue_started(Scene& scene, Cue cue) override {
        ++cues_heard_;
        mixer_.start(scene.index(), cue);
    }
    void cues_stopped(Scene& scene) override { mixer_.stop(scene.index()); }

    Bytes& in_;
    const bool session_input_;
    const GameOptions options_;
    VirtualClock clock_;
    Session session_;
    sound::Mixer mixer_;
    std::vector<std::int16_t> samples_;
    Image picture_;
    Nanos waited_ = 0;

    // What the rules are checked against: the current game's rules, and
    // what the session has been told and has told since it started.
    std::unique_ptr<GameRules> rules_;
    int rules_game_ = 0;
    int games_due_ = 1;
    Nanos idle_since_ = 0;
    bool way_out_taken_ = false;
    int changes_ = 0;
    int cues_heard_ = 0;
    std::optional<std::string> broken_;
};

// How much play the rules have seen, told when the run ends.
struct EventCount {
    long long events = 0;
    ~EventCount() { std::fprintf(stderr, "game events played: %lld\n", events); }
};
EventCount event_count;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes in(data, size);
    const bool session_input = size > 0 && data[0] == kSessionInput;
    if (session_input) in.byte();
    Player player(in, session_input, session_input ? options_from(in.byte()) : GameOptions{.keyboard = true});
    std::string what = "start";
    for (int event = 0; event == 0 || !in.empty(); ++event) {
        if (event > 0) {
            what = player.play();
            ++event_count.events;
        }
        if (const auto broken = player.broken_rule()) {
            std::fprintf(stderr, "broken rule after event %d (%s): %s\n", event, what.c_str(), broken->c_str());
            std::abort();
        }
    }
    return 0;
}
