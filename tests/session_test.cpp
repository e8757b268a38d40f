// SPDX-License-Identifier: GPL-3.0-or-later
// The rules around the scenes that every host shares: the options, how a
// scene fits a screen, and a player's session on a shared machine.

#include "session/placement.h"
#include "test_scenes.h"

#include <gtest/gtest.h>

#include <limits>

using namespace guardianes;
using namespace guardianes::testing;

namespace {

constexpr Nanos kMinute = 60'000 * kMillisecond;

OptionReading command_line(std::vector<std::string_view> arguments) { return read_command_line(arguments); }

std::string scene_states(Simulation& sim) {
    std::string states;
    for (std::size_t i = 0; i < sim.runtime().scene_count(); ++i) states += to_string(sim.runtime().state(i))[0];
    return states;
}

} // namespace

TEST(Options, TheCommandLineAndTheAddressTakeTheSameNamesLimitsAndMessages) {
    const OptionReading kiosk = command_line({"--kiosk", "--keyboard"});
    EXPECT_TRUE(kiosk.options.kiosk && kiosk.options.fullscreen && kiosk.options.keyboard);
    EXPECT_EQ(kiosk.options.idle_restart, 3 * kMinute);
    EXPECT_EQ(command_line({"--kiosk", "--idle-restart", "0"}).options.idle_restart, 0);
    EXPECT_EQ(command_line({"--idle-restart=1440"}).options.idle_restart, 1440 * kMinute);
    EXPECT_EQ(command_line({"--scale", "8"}).options.scale, 8);
    EXPECT_TRUE(command_line({"--help", "--bogus"}).help && command_line({"--version"}).version);
    for (auto [arguments, message] : std::vector<std::pair<std::vector<std::string_view>, std::string>>{
             {{"--scale", "9"}, "--scale takes a whole number from 1 to 8, not '9'"},
             {{"--scale"}, "--scale takes a whole number from 1 to 8, not ''"},
             {{"--idle-restart", "1440.5"}, "--idle-restart takes a number of minutes from 0 to 1440, not '1440.5'"},
             {{"--idle-restart", "153722868"},
              "--idle-restart takes a number of minutes from 0 to 1440, not '153722868'"},
             {{"--idle-restart", "153722867.9"},
              "--idle-restart takes a number of minutes from 0 to 1440, not '153722867.9'"},
             {{"--kiosk=1"}, "unknown option '--kiosk=1' (try --help)"},
             {{"-k"}, "unknown option '-k' (try --help)"},
             {{"--keyboard", "kiosk"}, "unknown option 'kiosk' (try --help)"}})
        EXPECT_EQ(command_line(arguments).error, message);

    // A page goes on without what it cannot take; a flag's value is passed over.
    const OptionReading page = read_address_query("?kiosk=on&idle-restart=soon&keyboard&scale=%32");
    EXPECT_TRUE(page.options.kiosk && page.options.fullscreen && page.options.keyboard);
    EXPECT_EQ(page.options.idle_restart, 3 * kMinute);
    EXPECT_EQ(page.options.scale, 2);
    EXPECT_EQ(page.error, "idle-restart takes a number of minutes from 0 to 1440, not 'soon'");
    EXPECT_EQ(read_address_query("idle-restart=0.5&&bogus=1").options.idle_restart, kMinute / 2);
    EXPECT_EQ(read_address_query("idle-restart=0.5&&bogus=1").error, "unknown option 'bogus'");
    EXPECT_EQ(read_address_query("").error, "");
}

// The volume in each form a person writes it, at its limits and just past
// them: a whole percent, refused otherwise in one line; 0 is --mute.
TEST(Options, TheVolumeIsAWholePercentAndNoneIsMute) {
    EXPECT_EQ(command_line({}).options.volume, 100);
    EXPECT_EQ(command_line({"--volume=50"}).options.volume, 50);
    EXPECT_EQ(command_line({"--volume", "50"}).options.volume, 50);
    EXPECT_EQ(read_address_query("?volume=50").options.volume, 50);
    EXPECT_EQ(command_line({"--volume=100"}).options.volume, 100);
    EXPECT_FALSE(command_line({"--volume=1"}).options.mute);
    EXPECT_TRUE(command_line({"--volume", "0"}).options.mute);
    EXPECT_TRUE(read_address_query("volume=0").options.mute);
    for (const std::string bad : {"101", "150", "-1", "-0", "50.5", "5e1", "+50", " 50", "50%", "", "4294967346"})
        EXPECT_EQ(command_line({"--volume", bad}).error,
                  "--volume takes a whole number from 0 to 100, not '" + bad + "'");
    const OptionReading page = read_address_query("volume=150&keyboard");
    EXPECT_EQ(page.error, "volume takes a whole number from 0 to 100, not '150'");
    EXPECT_TRUE(page.options.keyboard);
    EXPECT_EQ(page.options.volume, 100) << "a page plays on as if the volume had not been given";
}

// The same numbers as the simulator's `wait`: digits with at most one point
// between digits, read to the nanosecond.
TEST(Options, MinutesAreReadAsTheSimulatorReadsMilliseconds) {
    EXPECT_EQ(parse_minutes("0"), 0);
    EXPECT_EQ(parse_minutes("0.000000001"), 60);
    EXPECT_EQ(parse_minutes("1.25"), kMinute + kMinute / 4);
    EXPECT_EQ(parse_minutes("1440"), 1440 * kMinute);
    for (const char* bad : {"", ".", ".5", "5.", "1e3", "-1", " 1", "1 ", "0x1", "1.2.3", "1441", "1440.000000001"})
        EXPECT_EQ(parse_minutes(bad), -1) << bad;
}

// A number too large for the nanoseconds' range is read as the largest
// time, whether the units that overflow are whole or a fraction, so that it
// is refused as too long in either form.
TEST(Options, ANumberPastTheLargestTimeIsTheLargestWithOrWithoutAFraction) {
    constexpr Nanos kMost = std::numeric_limits<Nanos>::max();
    EXPECT_EQ(read_decimal("9223372036854", kMillisecond), 9'223'372'036'854 * kMillisecond);
    EXPECT_EQ(read_decimal("9223372036854.775806", kMillisecond), kMost - 1);
    EXPECT_EQ(read_decimal("9223372036854.775807", kMillisecond), kMost);
    EXPECT_EQ(read_decimal("9223372036854.775808", kMillisecond), kMost);
    EXPECT_EQ(read_decimal("9223372036854.9", kMillisecond), kMost);
    EXPECT_EQ(read_decimal("9223372036855", kMillisecond), kMost);
    // A minute has no decimal that ends exactly at the end of the range.
    EXPECT_EQ(read_decimal("153722867.2", kMinute), 153'722'867 * kMinute + kMinute / 5);
    EXPECT_EQ(read_decimal("153722867.3", kMinute), kMost);
    EXPECT_EQ(read_decimal("153722868", kMinute), kMost);
}

TEST(Placement, AScaleFitsTheSceneWholeAndMapsPixelsBothWays) {
    const Size menu{443, 480};
    EXPECT_EQ(fit_scale(menu, {1280, 1024}, 8), (Scale{2, 1}));
    EXPECT_EQ(fit_scale(menu, {1280, 1024}, 1), (Scale{1, 1}));
    EXPECT_EQ(fit_scale(menu, {886, 960}, 8), (Scale{2, 1}));
    EXPECT_EQ(fit_scale(menu, {885, 960}, 8), (Scale{1, 1}));
    // Where even one to one does not fit, the tighter side decides the fraction.
    EXPECT_EQ(fit_scale({600, 573}, {1024, 520}, 8), (Scale{520, 573}));
    EXPECT_EQ(fit_scale({600, 573}, {300, 520}, 8), (Scale{1, 2}));
    EXPECT_EQ((Scale{520, 573}).of(573), 520);

    EXPECT_EQ((std::vector{scale_for_dpi(0), scale_for_dpi(191.9), scale_for_dpi(192), scale_for_dpi(767.9),
                           scale_for_dpi(768), scale_for_dpi(5000)}),
              (std::vector{1, 1, 2, 7, 8, 8}));
    // A broken resolution setting, or one no int holds, still gives a scale.
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    EXPECT_EQ((std::vector{scale_for_dpi(std::numeric_limits<double>::quiet_NaN()), scale_for_dpi(kInfinity),
                           scale_for_dpi(-kInfinity), scale_for_dpi(-96), scale_for_dpi(-1e300), scale_for_dpi(1e300)}),
              (std::vector{1, 1, 1, 1, 1, 8}));

    // A whole scale: every window pixel of a block maps to its scene pixel,
    // and a pointer put on a scene pixel maps back to it.
    const Placement blocks = centre(menu, {1000, 1000}, {2, 1});
    EXPECT_EQ(blocks, (Placement{{2, 1}, 57, 20}));
    EXPECT_EQ((std::vector{blocks.to_scene(56, 19), blocks.to_scene(57, 20), blocks.to_scene(58, 21),
                           blocks.to_scene(59, 22)}),
              (std::vector<Pixel>{{-1, -1}, {0, 0}, {0, 0}, {1, 1}}));
    for (int p : {0, 1, 442})
        EXPECT_EQ(blocks.to_scene(blocks.to_window({p, p}).x, blocks.to_window({p, p}).y), (Pixel{p, p}));
    EXPECT_EQ(centre(menu, {400, 400}, {1, 1}), (Placement{{1, 1}, 0, 0}));

    // A fraction: the window's pixels cover the scene exactly, end to end.
    const Placement smaller{{520, 573}, 0, 0};
    EXPECT_EQ(smaller.to_scene(0, 519), (Pixel{0, 571}));
    EXPECT_EQ(smaller.to_scene(520, 520), (Pixel{573, 573}));
    EXPECT_EQ(smaller.to_window({572, 0}), (Pixel{519, 0}));
}

TEST(Classroom, OnASharedMachineEscapeStartsANewGameAndShiftCtrlEscapeEndsIt) {
    Simulation sim(GameOptions{.kiosk = true});
    sim.click("Form1", "portal1");
    sim.wait_ms(1300);
    EXPECT_FALSE(sim.close("Form2") && sim.scene("Form2") == nullptr); // a child's close does nothing
    EXPECT_EQ(scene_states(sim), "hsnnn");
    EXPECT_TRUE(sim.key("Form2", {Key::Escape}));
    EXPECT_EQ(scene_states(sim), "snnnn");
    EXPECT_TRUE(sim.key("Form1", {Key::Escape, false, false, true})); // held down: one new game
    EXPECT_TRUE(sim.key("Form1", {Key::Escape, true}));               // Shift alone is still Escape
    EXPECT_EQ(sim.session().games_started(), 3);
    EXPECT_TRUE(sim.key("Form1", {Key::Escape, true, true}));
    EXPECT_TRUE(sim.session().ended());
    EXPECT_FALSE(sim.runtime().running());
    EXPECT_EQ(scene_states(sim), "cnnnn");
    EXPECT_FALSE(sim.key("Form1", {Key::Escape}));
    EXPECT_EQ(sim.session().next_wakeup(), std::nullopt);

    // Elsewhere Escape is no key of the game, and a close closes.
    Simulation home;
    EXPECT_FALSE(home.key("Form1", {Key::Escape}));
    EXPECT_FALSE(home.key("Form1", {Key::Escape, true, true}));
    EXPECT_TRUE(home.close("Form1"));
    EXPECT_TRUE(home.session().ended());
}

TEST(Classroom, ANewGameStartsExactlyWhenTheIdleTimeRunsOutWithoutAPress) {
    Lab lab({label("a", box(0, 0))});
    Simulation sim({lab.def()}, {.idle_restart = kMinute});
    EXPECT_EQ(sim.session().next_wakeup(), kMinute); // no timer runs: the idle restart is next
    sim.wait(kMinute / 2);
    sim.click("Form1", 5, 5); // a press puts it off, and so does a key
    sim.wait(kMinute / 4);
    sim.key("Form1", {Key::Other});
    const Nanos last_press = sim.now();
    sim.wait(kMinute / 4);
    sim.move_pointer("Form1", {}); // a move does not
    EXPECT_EQ(sim.session().next_wakeup(), last_press + kMinute);
    sim.wait(last_press + kMinute - 1 - sim.now());
    EXPECT_EQ(sim.session().games_started(), 1);
    sim.wait(1);
    EXPECT_EQ(sim.session().games_started(), 2);
    EXPECT_EQ(sim.session().next_wakeup(), sim.now() + kMinute);
}

TEST(Classroom, ARunTimeErrorOnASharedMachineIsFollowedByANewGameElsewhereItEndsTheGame) {
    Simulation kiosk({overflowing()}, {.kiosk = true});
    kiosk.click("Form1", 5, 5);
    EXPECT_EQ(kiosk.session().games_started(), 2);
    EXPECT_TRUE(kiosk.runtime().running());
    EXPECT_EQ(kiosk.runtime().error(), std::nullopt);

    Simulation home({overflowing()});
    home.click("Form1", 5, 5);
    EXPECT_FALSE(home.session().playing() || home.session().ended()); // the message waits to be seen
    EXPECT_EQ(home.runtime().error()->number, 6);
    home.session().error_seen();
    EXPECT_TRUE(home.session().ended());
    EXPECT_EQ(home.session().exit_status(), 1) << "the program says it failed";
    kiosk.key("Form1", {Key::Escape, true, true});
    EXPECT_TRUE(kiosk.session().ended());
    EXPECT_EQ(kiosk.session().exit_status(), 0) << "a grown-up ended the shared machine's game";
}

TEST(Classroom, KeysPlayOnlyWhenKeyboardPlayIsAskedForAndEachScenesPointerIsItsOwn) {
    VirtualClock clock;
    Lab lab({label("a", box(10, 10))});
    for (const bool keyboard : {false, true}) {
        Session session([&] { return std::make_unique<Runtime>(std::vector{lab.def()}, clock); }, clock,
                        {.keyboard = keyboard});
        session.new_game();
        Scene& scene = *session.scene(0);
        EXPECT_EQ(session.key(&scene, {Key::Tab}), keyboard);
        EXPECT_EQ(session.pointer(scene), keyboard ? (Pixel{20, 20}) : (Pixel{0, 0}));
        EXPECT_FALSE(session.key(nullptr, {Key::Tab}));
    }
    // A pointer carried to another scene stays inside it.
    Simulation sim;
    sim.move_pointer("Form1", {440, 470});
    sim.click("Form1", "portal4");
    sim.wait_ms(1300);
    sim.session().carry_pointer(*sim.scene("Form5"));
    EXPECT_EQ(sim.pointer("Form1"), (Pixel{348, 116}));
    EXPECT_EQ(sim.pointer("Form5"), (Pixel{269, 116})); // the street is 270 pixels wide
}

namespace {

const Size kMenu{443, 480};
const Size kRace{306, 573};
// A desktop's window frame: a title bar and thin borders.
const Edges kFrame{1, 24, 1, 1};

// A screen whose panels leave it `work` high, its frame known or not.
Screen desktop(int width, int height, int work, double dpi = 96, std::optional<Edges> frame = kFrame) {
    return {PixelRect::at({0, 0}, {width, height}), PixelRect::at({0, height - work}, {width, work}), dpi, frame};
}

} // namespace

TEST(Layout, AmongOtherWindowsAScenesIsDrawnAtTheResolutionSettingsScaleAsFarAsItFits) {
    const Layout home{GameOptions{}};
    // A 1366 x 768 laptop: one to one, the window system places the window.
    EXPECT_EQ(home.plan(kRace, desktop(1366, 768, 728)), (WindowPlan{kRace, {{1, 1}, 0, 0}, std::nullopt}));
    // A 4K monitor at 192 dpi: twice as large; --scale 1 keeps it one to one.
    EXPECT_EQ(home.plan(kMenu, desktop(3840, 2160, 2100, 192)).client, (Size{886, 960}));
    EXPECT_EQ(Layout{GameOptions{.scale = 1}}.plan(kMenu, desktop(3840, 2160, 2100, 192)).client, kMenu);
    // --scale asks for more than the setting, as far as the work area less
    // the frame allows: the race's 573 rows twice over need 1146 + 25.
    const Layout doubled{GameOptions{.scale = 2}};
    EXPECT_EQ(doubled.plan(kRace, desktop(1920, 1200, 1171)).picture.scale, (Scale{2, 1}));
    EXPECT_EQ(doubled.plan(kRace, desktop(1920, 1200, 1170)).picture.scale, (Scale{1, 1}));
    // A 1024 x 600 netbook with its panel: the race, smoothed smaller to the
    // work area less its frame, 551 rows; until the frame is known, it seems
    // to fit one to one.
    const WindowPlan netbook = home.plan(kRace, desktop(1024, 600, 576));
    EXPECT_EQ(netbook.client.height, 551);
    EXPECT_EQ(netbook.client.width, netbook.picture.scale.of(306));
    EXPECT_FALSE(netbook.picture.scale.whole());
    EXPECT_EQ(home.plan(kRace, desktop(1024, 600, 576, 96, std::nullopt)).client, kRace);
    // A setting that is no number, or a screen the host cannot tell, limits nothing.
    EXPECT_EQ(home.plan(kMenu, desktop(3840, 2160, 2100, std::numeric_limits<double>::quiet_NaN())).client, kMenu);
    EXPECT_EQ(home.plan(kMenu, Screen{{}, {}, 384, std::nullopt, false}).client, (Size{1772, 1920}));
}

TEST(Layout, InARoomOfItsOwnAScenesIsDrawnAsLargeAsItFitsInTheMiddle) {
    // Full screen: the window covers the monitor, the picture whole in its middle.
    const Screen screen = desktop(1280, 1024, 1000);
    const WindowPlan full = Layout{GameOptions{.fullscreen = true}}.plan(kMenu, screen);
    EXPECT_EQ(full, (WindowPlan{{1280, 1024}, {{2, 1}, 197, 32}, Pixel{0, 0}}));
    // --scale sets the most there too.
    const Layout one{GameOptions{.scale = 1, .fullscreen = true}};
    EXPECT_EQ(one.plan(kMenu, screen).picture, (Placement{{1, 1}, 418, 272}));
    // A page: its room less the frame, whatever the resolution setting.
    const Screen page{PixelRect::at({0, 0}, {1400, 1300}), PixelRect::at({0, 0}, {1400, 1300}), 96, Edges{2, 24, 2, 2},
                      true};
    EXPECT_EQ(Layout{GameOptions{}}.plan(kMenu, page), (WindowPlan{{886, 960}, {{2, 1}, 0, 0}, Pixel{255, 157}}));
    EXPECT_EQ(Layout{GameOptions{.scale = 1}}.plan(kMenu, page).origin, (Pixel{476, 397}));
    // A full-screen page has no frame: the picture lies in the middle of the room.
    const Screen bare{page.monitor, page.work_area, 96, Edges{}, true};
    EXPECT_EQ(Layout{GameOptions{.fullscreen = true}}.plan(kMenu, bare).picture, (Placement{{2, 1}, 257, 170}));
}

TEST(Layout, AResizeGivesTheSceneTheWindowsSizeExceptInFullScreen) {
    const Layout home{GameOptions{}};
    EXPECT_EQ(home.resized(kMenu, {600, 500}, {2, 1}), (Size{300, 250}));
    EXPECT_EQ(home.resized(kMenu, {601, 1}, {2, 1}), (Size{300, 1})); // never less than a pixel
    // Back at a fraction's planned size, the scene is its own size again,
    // not the pixel short the fraction maps it to.
    const Scale netbook{551, 573};
    EXPECT_EQ(home.resized(kRace, netbook.of(kRace), netbook), kRace);
    EXPECT_EQ(home.resized(kRace, {netbook.of(306), 551 - 1}, netbook), (Size{305, 571}));
    EXPECT_EQ(Layout{GameOptions{.fullscreen = true}}.resized(kMenu, {600, 500}, {2, 1}), std::nullopt);

    // Through the session: the scene takes the size, and after the game a
    // resize does nothing.
    Simulation sim;
    Scene& menu = *sim.scene("Form1");
    sim.session().window_resized(menu, {200, 100}, {2, 1});
    EXPECT_EQ(menu.client_area(), (PixelRect{0, 0, 100, 50}));
    sim.session().window_resized(menu, {886, 960}, {2, 1});
    EXPECT_EQ(menu.client_area(), (PixelRect{0, 0, 443, 480}));
}

TEST(Layout, AWindowPlacedPastTheWorkAreasEdgeGoesInItsMiddle) {
    const Layout home{GameOptions{}};
    const Screen screen = desktop(1024, 600, 576);
    const PixelRect work = screen.work_area;
    EXPECT_EQ(home.moved(screen, work), std::nullopt); // exactly as large: it fits
    EXPECT_EQ(home.moved(screen, PixelRect::at({100, 24}, {308, 576})), std::nullopt);
    EXPECT_EQ(home.moved(screen, PixelRect::at({100, 25}, {308, 576})), (Pixel{358, 24}));
    EXPECT_EQ(home.moved(screen, PixelRect::at({-1, 100}, {308, 400})), (Pixel{358, 112}));
    // Larger than the work area: along its top and left sides.
    EXPECT_EQ(home.moved(screen, PixelRect::at({5, 5}, {2000, 2000})), (Pixel{0, 24}));
    EXPECT_EQ(Layout{GameOptions{.fullscreen = true}}.moved(screen, PixelRect::at({5, 5}, {2000, 2000})), std::nullopt);
}

TEST(Endings, EveryWayTheGameEndsHasItsExitStatus) {
    const auto ended = [](Simulation& sim) { return sim.session().ended() && !sim.runtime().running(); };
    Simulation closed;
    closed.close("Form1");
    EXPECT_TRUE(ended(closed));
    EXPECT_EQ(closed.session().exit_status(), 0) << "the player closed the last window";

    Simulation quit;
    quit.session().quit();
    EXPECT_TRUE(ended(quit));
    EXPECT_EQ(quit.session().exit_status(), 0) << "the system asked the program to end";

    Simulation kiosk(GameOptions{.kiosk = true});
    kiosk.session().quit();
    EXPECT_TRUE(ended(kiosk)) << "the system's request ends even a shared machine's game";

    // A window that cannot open ends the game, failed, once the show that
    // asked for it is over: the scene never plays.
    Simulation failed(GameOptions{.kiosk = true});
    failed.click("Form1", "portal1");
    EXPECT_EQ(failed.session().window_failed("no room"), "cannot open a window: no room");
    EXPECT_FALSE(failed.session().ended());
    failed.wait_ms(20);
    EXPECT_TRUE(ended(failed));
    EXPECT_EQ(failed.session().exit_status(), 1);
    EXPECT_EQ(failed.session().next_wakeup(), std::nullopt);
}
