// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop game's loop on a window system of the tests' own: what it does
// with the events a platform reports, and what it asks of the platform.

#include "app/desktop/desktop_host.h"
#include "paint/painter.h"
#include "sound/synth.h"
#include "test_scenes.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>

using namespace guardianes;
using namespace guardianes::testing;

namespace {

// A window system that keeps a log of what it is asked, and at each wait
// runs the test's next step; once the steps are done, it asks the program
// to end.
class FakePlatform final : public Platform {
public:
    explicit FakePlatform(VirtualClock& clock) : clock_(clock) {}

    std::deque<std::function<void(PlatformEvents&)>> steps;
    Screen facts{PixelRect::at({0, 0}, {1280, 1024}), PixelRect::at({0, 24}, {1280, 1000}), 96, std::nullopt};
    // Where the window system puts a new window's client area.
    Pixel placed_at{0, 1000};
    bool refuse_windows = false;
    bool refuse_sound = false;
    std::vector<std::string> log;
    std::map<WindowId, PixelRect> clients;
    SoundFeed* feed = nullptr;

    // A step: time passes, as far as the loop asked to sleep.
    std::function<void(PlatformEvents&)> sleep() {
        return [this](PlatformEvents& events) {
            if (timeout_ms_ > 0) clock_.set(clock_.now() + timeout_ms_ * kMillisecond);
            events.time_passes();
        };
    }

    bool logged(const std::string& entry) const { return std::find(log.begin(), log.end(), entry) != log.end(); }
    long times_logged(const std::string& entry) const { return std::count(log.begin(), log.end(), entry); }
    // How long the loop last asked to sleep: -1 for ever.
    int timeout_ms() const { return timeout_ms_; }

    void connect(PlatformEvents& events) override { events_ = &events; }
    void wait(int timeout_ms) override {
        timeout_ms_ = timeout_ms;
        if (steps.empty()) return events_->quit_requested();
        const auto step = steps.front();
        steps.pop_front();
        step(*events_);
    }
    Screen screen() override { return facts; }
    std::optional<std::string> open_window(WindowId id, const WindowRequest& request) override {
        if (refuse_windows) return "no room";
        clients[id] = PixelRect::at(request.origin.value_or(placed_at), request.client);
        log.push_back("open " + std::to_string(id) + " " + size(request.client));
        return std::nullopt;
    }
    void show_window(WindowId id) override { log.push_back("show " + std::to_string(id)); }
    void hide_window(WindowId) override {}
    void close_window(WindowId id) override { log.push_back("close " + std::to_string(id)); }
    void place_window(WindowId id, std::optional<Size> client, std::optional<Pixel> origin) override {
        PixelRect& r = clients[id];
        if (client) {
            r = PixelRect::at(r.corner(), *client);
            log.push_back("size " + std::to_string(id) + " " + size(*client));
        }
        if (origin) {
            r = PixelRect::at({origin->x + 1, origin->y + 24}, r.size()); // inside a frame as wide as kFrame
            log.push_back("move " + std::to_string(id) + " " + point(*origin));
        }
    }
    PixelRect client_area(WindowId id) override { return clients[id]; }
    Picture picture(WindowId id, Size size) override {
        std::vector<std::uint32_t>& pixels = pictures_[id];
        pixels.resize(static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height));
        return {pixels.data(), size, size.width};
    }
    void present(WindowId id, Pixel at, std::span<const PixelRect>, bool whole) override {
        if (whole) log.push_back("present " + std::to_string(id) + " at " + point(at));
    }
    void warp_pointer(WindowId id, Pixel at) override { log.push_back("warp " + std::to_string(id) + " " + point(at)); }
    void set_pointer_shape(WindowId, MousePointer) override {}
    std::optional<std::pair<WindowId, Pixel>> pointer() override { return std::nullopt; }
    void show_message(std::optional<WindowId>, const Message& message) override {
        log.push_back("message " + message.title + ": " + message.text);
    }
    std::optional<std::string> open_sound(SoundFeed& sound) override {
        if (refuse_sound) return "no device";
        feed = &sound;
        log.push_back("sound on");
        return std::nullopt;
    }
    void close_sound() override {
        feed = nullptr;
        log.push_back("sound off");
    }

private:
    static std::string size(Size s) { return std::to_string(s.width) + "x" + std::to_string(s.height); }
    static std::string point(Pixel p) { return std::to_string(p.x) + "," + std::to_string(p.y); }

    VirtualClock& clock_;
    PlatformEvents* events_ = nullptr;
    int timeout_ms_ = -1;
    std::map<WindowId, std::vector<std::uint32_t>> pictures_;
};

// The desktop game on the fake platform, with the game's scenes or others.
struct Desktop {
    explicit Desktop(GameOptions options = {}, std::vector<SceneDef> (*scenes)() = game_scenes)
        : session([this, scenes] { return std::make_unique<Runtime>(scenes(), clock); }, clock, options),
          platform(clock), host(session, clock, painter, platform, "") {}

    // Plays the steps; returns the exit status.
    int run() { return host.run(); }
    Scene& scene(std::size_t index) { return *session.scene(index); }
    // The step that clicks at a window pixel.
    static std::function<void(PlatformEvents&)> click(WindowId id, Pixel at) {
        return [id, at](PlatformEvents& events) {
            events.pressed(id, at);
            events.released(id, at);
        };
    }

    VirtualClock clock;
    Painter painter{fonts()};
    Session session;
    FakePlatform platform;
    DesktopHost host;
};

// The menu's police button, at the window pixel a click at the scale `times` lands on.
Pixel police(int times) { return {84 * times, 116 * times}; }

// A scene whose label sounds the heartbeat when clicked, and no timers: only
// the sound's own time is ever due.
std::vector<SceneDef> beeping() {
    return {{small_table("Form1", {label("beep", box(0, 0))}),
             [](Scene& s) { s.label("beep").on_click = [speaker = s.speaker()] { speaker.play(Cue::Heartbeat); }; }}};
}

// The step that plays out what the device has been given and says the
// feed has gone silent, at that time.
std::function<void(PlatformEvents&)> silent_at(Desktop& desktop, Nanos t) {
    return [&desktop, t](PlatformEvents& events) {
        ASSERT_NE(desktop.platform.feed, nullptr) << "the device is open";
        std::vector<std::int16_t> buffer(256);
        while (desktop.platform.feed->fill(buffer)) continue;
        desktop.clock.set(t);
        events.sound_drained();
    };
}

// The step that sets the clock, after checking whether the device is open.
std::function<void(PlatformEvents&)> at(Desktop& desktop, Nanos t, bool open) {
    return [&desktop, t, open](PlatformEvents&) {
        EXPECT_EQ(desktop.platform.feed != nullptr, open) << "before " << t << " ns";
        desktop.clock.set(t);
    };
}

} // namespace

TEST(DesktopLoop, TheMoveAWarpOfTheKeysPointerMakesIsTheKeysOwn) {
    Desktop desktop({.keyboard = true});
    // A short screen: the menu shrinks, so a window pixel maps back to
    // another scene pixel than the one the keys chose.
    desktop.platform.facts.work_area = PixelRect::at({0, 0}, {1280, 300});
    Pixel warped{0, 0};
    desktop.platform.steps = {
        [&](PlatformEvents& events) { events.key_pressed(0, {Key::Tab}); },
        [&](PlatformEvents& events) {
            const std::string& entry = desktop.platform.log.back();
            ASSERT_TRUE(entry.starts_with("warp 0 ")) << entry;
            warped = {std::stoi(entry.substr(7)), std::stoi(entry.substr(entry.find(',') + 1))};
            events.pointer_moved(0, warped);
            EXPECT_EQ(desktop.session.pointer(desktop.scene(0)), (Pixel{84, 116})) << "the echo is dropped";
            events.pointer_moved(0, warped);
            EXPECT_NE(desktop.session.pointer(desktop.scene(0)), (Pixel{84, 116})) << "a move of the mouse is taken";
        }};
    EXPECT_EQ(desktop.run(), 0);
    EXPECT_TRUE(desktop.platform.logged("open 0 276x300"));
}

TEST(DesktopLoop, AWindowThatCannotOpenEndsTheGameFailedWithOneLine) {
    Desktop desktop;
    desktop.platform.refuse_windows = true;
    desktop.platform.steps = {[](PlatformEvents&) { ADD_FAILURE() << "the loop waited for events"; }};
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(desktop.run(), 1);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "guardianes: cannot open a window: no room\n");
    EXPECT_TRUE(desktop.session.ended());
}

TEST(DesktopLoop, AWindowFramedAfterItOpenedIsFittedAgainAndKeptOnScreen) {
    Desktop desktop;
    // 480 rows hold the menu whole until the frame takes its title bar's.
    desktop.platform.facts.work_area = PixelRect::at({0, 24}, {1024, 480});
    desktop.platform.placed_at = {600, 60};
    desktop.platform.steps = {[](PlatformEvents& events) { events.framed(0, {1, 24, 1, 1}); }};
    EXPECT_EQ(desktop.run(), 0);
    EXPECT_EQ(desktop.platform.log[0], "open 0 443x480");
    EXPECT_TRUE(desktop.platform.logged("size 0 419x455"));
    // Its corner where the system put it, the window reaches past the
    // work area's bottom: it goes in the middle.
    EXPECT_TRUE(desktop.platform.logged("move 0 301,24"));
}

TEST(DesktopLoop, AResizeGoesThroughTheSessionAndFullScreenOnlyPlacesThePictureAnew) {
    Desktop windowed;
    windowed.platform.steps = {[&](PlatformEvents& events) {
        events.resized(0, {200, 100});
        EXPECT_EQ(windowed.scene(0).client_area(), (PixelRect{0, 0, 200, 100}));
    }};
    windowed.run();

    Desktop full({.fullscreen = true});
    full.platform.steps = {[&](PlatformEvents& events) {
        EXPECT_TRUE(full.platform.logged("present 0 at 197,32"));
        full.platform.clients[0] = PixelRect::at({0, 0}, {1000, 500});
        events.resized(0, {1000, 500});
        EXPECT_EQ(full.scene(0).client_area(), (PixelRect{0, 0, 443, 480}));
        EXPECT_TRUE(full.platform.logged("present 0 at 278,10"));
    }};
    full.run();
    EXPECT_EQ(full.platform.log[0], "open 0 1280x1024");
}

// The device opens with the first cue, plays it from its first buffer, and
// stays open through two seconds of silence from the platform's word that
// the feed has gone silent; the loop, with nothing else due, sleeps until
// exactly then and closes it, and then sleeps for ever. A second word of
// the same silence does not put the close off.
TEST(DesktopLoop, TheAudioDeviceClosesAfterTwoSecondsOfSilence) {
    constexpr Nanos kSilent = 1'000'000'123; // not on a millisecond
    constexpr Nanos kClose = kSilent + 2000 * kMillisecond;
    Desktop desktop({}, beeping);
    FakePlatform& platform = desktop.platform;
    platform.steps = {Desktop::click(0, {5, 5}),
                      [&](PlatformEvents&) {
                          ASSERT_NE(platform.feed, nullptr);
                          const auto beat = sound::samples(Cue::Heartbeat);
                          std::vector<std::int16_t> first(256);
                          platform.feed->fill(first);
                          EXPECT_TRUE(std::equal(first.begin(), first.end(), beat.begin())) << "the first buffer";
                      },
                      silent_at(desktop, kSilent),
                      [&](PlatformEvents& events) {
                          EXPECT_EQ(platform.timeout_ms(), 2000) << "the loop sleeps until the close";
                          desktop.clock.set(kSilent + 1000 * kMillisecond);
                          events.sound_drained();
                      },
                      at(desktop, kClose - 1, true),
                      at(desktop, kClose, true),
                      [&](PlatformEvents&) {
                          EXPECT_EQ(platform.feed, nullptr) << "closed at two seconds";
                          EXPECT_EQ(platform.timeout_ms(), -1) << "nothing is due";
                      }};
    EXPECT_EQ(desktop.run(), 0);
    EXPECT_EQ(platform.times_logged("sound on"), 1);
    EXPECT_EQ(platform.times_logged("sound off"), 1);
}

// A cue in the two seconds keeps the device open, with no close due while
// it sounds, and its own silence starts the two seconds again; a word of
// silence that comes while a cue sounds, as a platform's word sent just
// before the cue started would, starts nothing.
TEST(DesktopLoop, ACueWhileTheDeviceWaitsToCloseKeepsItOpen) {
    constexpr Nanos kSecond = 1000 * kMillisecond;
    Desktop desktop({}, beeping);
    FakePlatform& platform = desktop.platform;
    platform.steps = {Desktop::click(0, {5, 5}),
                      silent_at(desktop, kSecond),
                      at(desktop, 3 * kSecond - 1, true),
                      Desktop::click(0, {5, 5}),
                      [&](PlatformEvents& events) {
                          events.sound_drained();
                          EXPECT_EQ(platform.timeout_ms(), -1) << "no close while the cue sounds";
                      },
                      at(desktop, 4 * kSecond, true),
                      silent_at(desktop, 4 * kSecond),
                      at(desktop, 6 * kSecond - 1, true),
                      at(desktop, 6 * kSecond, true),
                      [&](PlatformEvents&) { EXPECT_EQ(platform.feed, nullptr); }};
    EXPECT_EQ(desktop.run(), 0);
    EXPECT_EQ(platform.times_logged("sound on"), 1) << "the second cue found the device open";
    EXPECT_EQ(platform.times_logged("sound off"), 1);
}

// A game that ends while the device is open closes it as the loop goes, so
// that the device's thread never reads a feed that has gone. Without a
// device: one line, and the game plays on without asking again.
TEST(DesktopLoop, TheAudioDeviceClosesWithTheLoopAndItsLackIsSaidOnce) {
    Desktop desktop;
    FakePlatform platform(desktop.clock);
    {
        DesktopHost host(desktop.session, desktop.clock, desktop.painter, platform, "");
        platform.steps = {Desktop::click(0, police(1))};
        EXPECT_EQ(host.run(), 0);
        EXPECT_EQ(platform.times_logged("sound on"), 1);
        EXPECT_FALSE(platform.logged("sound off")) << "the siren sounds on as the game ends";
    }
    EXPECT_TRUE(platform.logged("sound off"));

    Desktop quiet;
    quiet.platform.refuse_sound = true;
    quiet.platform.steps = {Desktop::click(0, police(1)), quiet.platform.sleep(), quiet.platform.sleep()};
    for (int i = 0; i < 100; ++i) quiet.platform.steps.push_back(quiet.platform.sleep());
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(quiet.run(), 0);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "guardianes: playing without sound: no device\n");
    EXPECT_TRUE(quiet.platform.logged("open 1 306x573")) << "the race opened";
}

// The device plays the mix at the options' volume, half as loud at 50 to
// within rounding; at 0 it never opens, as with --mute.
TEST(DesktopLoop, TheDevicePlaysAtTheOptionsVolumeAndAtNoneNeverOpens) {
    const auto beat = sound::samples(Cue::Heartbeat);
    const auto played = [&](std::string_view volume) {
        Desktop desktop(read_command_line({"--volume", volume}).options, beeping);
        std::vector<std::int16_t> out(beat.size());
        desktop.platform.steps = {Desktop::click(0, {5, 5}), [&](PlatformEvents&) {
                                      if (desktop.platform.feed) desktop.platform.feed->fill(out);
                                  }};
        EXPECT_EQ(desktop.run(), 0);
        return std::pair(desktop.platform.times_logged("sound on"), out);
    };
    const auto [full_opened, full] = played("100");
    EXPECT_TRUE(std::equal(full.begin(), full.end(), beat.begin()));
    const auto [half_opened, half] = played("50");
    EXPECT_EQ(half_opened, 1);
    for (std::size_t i = 0; i < half.size(); ++i) ASSERT_LE(std::abs(2 * half[i] - beat[i]), 1) << "sample " << i;
    EXPECT_EQ(played("0").first, 0);
}

TEST(DesktopLoop, ARunTimeErrorIsShownThenTheGameEndsFailed) {
    Desktop desktop({}, [] { return std::vector{overflowing()}; });
    desktop.platform.steps = {Desktop::click(0, {5, 5})};
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(desktop.run(), 1);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "guardianes: Run-time error '6': Overflow\n");
    EXPECT_TRUE(desktop.platform.logged("message Guardianes: Run-time error '6':\n\nOverflow"));
}
