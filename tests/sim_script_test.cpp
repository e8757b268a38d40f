// SPDX-License-Identifier: GPL-3.0-or-later
// guardianes-sim's script language and JSON answers, run in-process and,
// for the exit status, as the real program.

#include "sim/script.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <sys/wait.h>

using namespace guardianes;

namespace {

struct ScriptResult {
    int status;
    std::string out;
    std::string err;
};

// Plays a script on a new game, or on one the test can look into.
ScriptResult run_script(const std::string& script, Simulation* game = nullptr) {
    Simulation fresh;
    Simulation& sim = game ? *game : fresh;
    std::ostringstream out;
    std::ostringstream err;
    ScriptRunner runner(sim, out);
    std::istringstream in(script);
    const int status = runner.run(in, err);
    return {status, out.str(), err.str()};
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Whether a dump shows the control named.
bool visible(const std::string& dump, const std::string& name) {
    const std::size_t at = dump.find(R"({"Name":")" + name + '"');
    return at != std::string::npos && dump.compare(dump.find(R"("Visible":)", at) + 10, 4, "true") == 0;
}

} // namespace

// Dumping a scene not yet made does not create it.
TEST(SimScript, StatusDumpAndPointerTellTheScenesStatesControlsAndPointerShapes) {
    const auto lines = lines_of(run_script("status\npointer Form1 84 116\npointer Form1 5 5\ndump Form1\ndump Form3\n"
                                           "click Form1 portal3\nwait 1250\nstatus\n")
                                    .out);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], R"({"t":0,"running":true,"scenes":{"Form1":"shown","Form2":"not created",)"
                        R"("Form3":"not created","Form4":"not created","Form5":"not created"},"error":null})");
    EXPECT_EQ(lines[1], R"({"t":0,"scene":"Form1","x":84,"y":116,"pointer":1})");
    EXPECT_EQ(lines[2], R"({"t":0,"scene":"Form1","x":5,"y":5,"pointer":12})");
    EXPECT_EQ(lines[3].rfind(R"({"t":0,"scene":"Form1","state":"shown","Caption":"Form1","BackColor":"#404040",)"
                             R"("ForeColor":"ButtonText","FillColor":"#000000","MousePointer":12,)"
                             R"("ClientWidth":6645,"ClientHeight":7200,"counters":{"luz1":null,"car1":null,"tiem1":0,)",
                             0),
              0u);
    EXPECT_NE(lines[3].find(R"({"Name":"Timer8","Kind":"Timer","Interval":10,"Enabled":false})"), std::string::npos);
    EXPECT_EQ(lines[4], R"({"t":0,"scene":"Form3","state":"not created"})");
    EXPECT_EQ(lines[5], R"({"t":1250,"running":true,"scenes":{"Form1":"hidden","Form2":"not created",)"
                        R"("Form3":"not created","Form4":"shown","Form5":"not created"},"error":null})");
}

TEST(SimScript, InputToASceneNotShownIsIgnoredAndSaysSo) {
    const ScriptResult run =
        run_script("click Form2 ava\nclose Form4\n# a comment\n\nclick Form1 portal1\nwait 1300\nclick Form1 10 10\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, R"({"t":0,"ignored":"click Form2 ava: Form2 is not shown"})"
                       "\n"
                       R"({"t":0,"ignored":"close Form4: Form4 is not shown"})"
                       "\n"
                       R"({"t":1300,"ignored":"click Form1 10 10: Form1 is not shown"})"
                       "\n");
}

TEST(SimScript, ABadLineStopsTheScriptWithItsNumberAfterTheLinesBeforeIt) {
    const std::pair<const char*, const char*> cases[] = {
        {"dance\n", "line 1: unknown command 'dance'"},
        {"status\ndump Form9\n", "line 2: unknown scene 'Form9'"},
        {"click Form1 nobody\n", "line 1: unknown control 'nobody' of Form1"},
        {"click Form1 Timer1\n", "line 1: 'Timer1' is a timer: it has no place to click"},
        {"wait\n", "line 1: missing argument: wait MS"},
        {"wait -5\n", "line 1: MS must be a decimal number of milliseconds >= 0, not '-5'"},
        {"wait 1.2.3\n", "line 1: MS must be a decimal number of milliseconds >= 0, not '1.2.3'"},
        {"wait 99999999999999999999\n", "line 1: wait of '99999999999999999999' ms is too long"},
        {"wait 1000000000.000001\n", "line 1: wait of '1000000000.000001' ms is too long"},
        {"wait 9223372036854\n", "line 1: wait of '9223372036854' ms is too long"},
        {"wait 9223372036854.9\n", "line 1: wait of '9223372036854.9' ms is too long"},
        {"press Form1 1x 2\n", "line 1: X must be a whole number of pixels, not '1x'"},
        {"status now\n", "line 1: too many arguments: status"},
        {"click Form1\n", "line 1: missing argument: click SCENE NAME or click SCENE X Y"},
        {"key Form1 ctrl+tab\n", "line 1: unknown key 'ctrl+tab': tab, shift+tab, space, enter or an arrow, left, "
                                 "right, up or down, with shift+ before it for one pixel; escape or shift+ctrl+escape"},
    };
    for (auto [script, message] : cases) {
        const ScriptResult run = run_script(script);
        EXPECT_EQ(run.status, 2) << script;
        EXPECT_EQ(run.err, std::string(message) + "\n") << script;
    }
    const ScriptResult partial = run_script("status\nbogus\nstatus\n");
    EXPECT_EQ(lines_of(partial.out).size(), 1u);
    const ScriptResult longest = run_script("wait 1000000000\nstatus\n");
    EXPECT_EQ(longest.status, 0);
    EXPECT_EQ(longest.out.rfind(R"({"t":1000000000,)", 0), 0u);
}

// A child with only a keyboard wins the race and the fire and gives the
// patient every care, Tab reaching the resuscitation button beside its
// caption. The menu's buttons read left to right, and Tab wraps round: the
// fifth Tab and the third Shift+Tab from none reach the police and the
// city fire brigade, the third Tab the ambulance.
TEST(SimScript, KeysAloneChooseAServiceAndFinishIt) {
    const auto repeat = [](const std::string& lines, int times) {
        std::string out;
        for (int i = 0; i < times; ++i) out += lines;
        return out;
    };
    const ScriptResult race = run_script(repeat("key Form1 tab\n", 5) + "key Form1 enter\nwait 3100\nkey Form2 tab\n" +
                                         repeat("key Form2 space\nwait 100\n", 104) + "dump Form2\n");
    EXPECT_TRUE(visible(race.out, "play1"));
    EXPECT_FALSE(visible(race.out, "play2"));

    const ScriptResult fire =
        run_script(repeat("key Form1 shift+tab\n", 3) + "key Form1 space\nwait 1300\nkey Form3 tab\n" +
                   repeat("key Form3 space\nwait 100\n", 84) + "wait 3000\ndump Form3\n");
    EXPECT_TRUE(visible(fire.out, "win"));
    EXPECT_FALSE(visible(fire.out, "lose"));

    const ScriptResult patient = run_script(repeat("key Form1 tab\n", 3) + "key Form1 space\nwait 1300\n" +
                                            repeat("key Form4 tab\nkey Form4 space\n", 4) + "dump Form4\n");
    EXPECT_EQ(lines_of(patient.out).at(8), R"({"t":1300,"scene":"Form4","key":"tab","x":76,"y":263,"pointer":0})");
    for (const char* timer : {"Timer5", "Timer4", "Timer3", "Timer2"})
        EXPECT_NE(
            patient.out.find(R"("Name":")" + std::string(timer) + R"(","Kind":"Timer","Interval":150,"Enabled":true)"),
            std::string::npos)
            << timer;
}

TEST(SimScript, AWaitEndingExactlyOnAWakeupServesItAndTimesAreWrittenAsShortAsTheyCanBe) {
    const ScriptResult run = run_script("click Form1 portal1\nwait 15.625\ndump Form1\nwait 0.000001\nstatus\n");
    EXPECT_EQ(run.out.rfind(R"({"t":15.625,)", 0), 0u);
    EXPECT_NE(run.out.find(R"("car1":1)"), std::string::npos);
    EXPECT_EQ(lines_of(run.out).at(1).rfind(R"({"t":15.625001,)", 0), 0u);
}

TEST(SimProgram, ExitsZeroOnAGoodScriptAndTwoOnABadOneOrNone) {
    const auto run = [](const std::string& command) {
        std::string out;
        FILE* pipe = popen((command + " 2>&1").c_str(), "r");
        for (char buffer[256]; std::fgets(buffer, sizeof buffer, pipe);) out += buffer;
        return std::pair(WEXITSTATUS(pclose(pipe)), out);
    };
    const std::string sim = GUARDIANES_SIM;
    EXPECT_EQ(run(sim + " /dev/null").first, 0);
    EXPECT_EQ(run("echo 'wait x' | " + sim).first, 2);
    EXPECT_EQ(run(sim + " /no/such/file").first, 2);
    EXPECT_EQ(run(sim + " --help").second.rfind("Usage: guardianes-sim [OPTION]... [SCRIPT]\n", 0), 0u);
    EXPECT_EQ(run(sim + " --version").second.rfind("guardianes-sim ", 0), 0u);
    EXPECT_EQ(run(sim + " --idle-restart soon /dev/null"),
              std::pair(2, std::string("guardianes-sim: --idle-restart takes a number of minutes from 0 to 1440, "
                                       "not 'soon'\n")));
    EXPECT_EQ(run(sim + " --scale 2 /dev/null").first, 2);
    // The classroom's options play as the game's, and status counts the games.
    const auto kiosk = run("printf 'key Form1 escape\\nclose Form1\\nstatus\\n' | " + sim + " --kiosk");
    EXPECT_EQ(kiosk.first, 0);
    EXPECT_NE(kiosk.second.find(R"({"t":0,"scene":"Form1","key":"escape","x":0,"y":0,"pointer":12})"),
              std::string::npos);
    EXPECT_NE(kiosk.second.find(R"("error":null,"games":2})"), std::string::npos);
    // The volume changes no sound the scenes start, but none is as --mute.
    const std::string departure = "printf 'click Form1 portal1\\nsounds\\n' | " + sim;
    EXPECT_EQ(run(departure + " --volume=50").second,
              R"({"t":0,"sounds":[{"t":0,"scene":"Form1","cue":"police-siren"}]})"
              "\n");
    EXPECT_EQ(run(departure + " --volume 0").second, R"({"t":0,"sounds":[]})"
                                                     "\n");
}

namespace {

// What a dump says of a control's property, or of the scene's own when
// `control` is empty, as written: a number, true or false, or a quoted text.
std::string dumped(const std::string& dump, const std::string& control, const std::string& key) {
    std::size_t at = control.empty() ? 0 : dump.find(R"({"Name":")" + control + '"');
    at = dump.find('"' + key + "\":", at) + key.size() + 3;
    return dump.substr(at, dump.find_first_of(",}", at) - at);
}

std::string quoted(const std::string& text) { return '"' + text + '"'; }
std::string boolean(bool value) { return value ? "true" : "false"; }

} // namespace

// A dump tells what the handlers have made of a scene, not its table: each
// property below has changed since its scene opened, on the menu once the
// fire engine has gone, the fire's clock at its first tick, and the patient
// at the device's first shock, the cup beside it and the trace just wiped.
TEST(SimDump, GivesTheValuesTheHandlersHaveSetNotTheTables) {
    Simulation fire;
    const auto dumps = lines_of(
        run_script("click Form1 portal2\nwait 1300\nclick Form3 bomba\nwait 200\ndump Form1\ndump Form3\n", &fire).out);
    Scene& menu = *fire.scene("Form1");
    EXPECT_EQ(dumped(dumps.at(0), "", "MousePointer"), std::to_string(static_cast<int>(menu.mouse_pointer())));
    EXPECT_EQ(dumped(dumps.at(0), "", "tiem2"), std::to_string(menu.int16("tiem2").value()));
    EXPECT_EQ(dumped(dumps.at(0), "lbm", "Top"), std::to_string(menu.label("lbm").top()));
    EXPECT_EQ(dumped(dumps.at(0), "mi", "BackColor"), quoted(to_string(menu.label("mi").back_color())));
    EXPECT_EQ(dumped(dumps.at(0), "portal1", "Enabled"), boolean(menu.label("portal1").enabled()));
    EXPECT_EQ(dumped(dumps.at(0), "lin1", "Top"), std::to_string(menu.shape("lin1").top()));
    EXPECT_EQ(dumped(dumps.at(1), "Label1", "Caption"), quoted(fire.scene("Form3")->label("Label1").caption()));

    Simulation patient;
    const std::string dump = run_script("click Form1 portal3\nwait 4300\nclick Form4 76 240\nwait 800\n"
                                        "click Form4 lbl\nwait 900\ndump Form4\n",
                                        &patient)
                                 .out;
    const Scene& form4 = *patient.scene("Form4");
    EXPECT_EQ(dumped(dump, "lbl", "Left"), std::to_string(form4.label("lbl").left()));
    EXPECT_EQ(dumped(dump, "tasa", "Left"), std::to_string(form4.shape("tasa").left()));
    EXPECT_EQ(dumped(dump, "oso1", "BackColor"), quoted(to_string(form4.shape("oso1").back_color())));
    EXPECT_EQ(dumped(dump, "bur1", "Visible"), boolean(form4.shape("bur1").visible()));
    EXPECT_EQ(dumped(dump, "v1", "Visible"), boolean(form4.line("v1").visible()));
}

// A caption of any bytes dumps as valid JSON in valid UTF-8: its characters
// as they are, quotes, backslashes and control characters escaped, and each
// sequence that is not UTF-8 as U+FFFD.
TEST(SimDump, ACaptionOfAnyBytesIsValidJsonAndValidUtf8) {
    Simulation game;
    game.scene("Form1")->label("Label1").set_caption("¡Año \"ñ\"\\…😀\x01\n\x7F\xFF\xC3\xE2\x82");
    const std::string dump = run_script("dump Form1\n", &game).out;
    const std::string caption = R"("Caption":"¡Año \"ñ\"\\…😀\u0001\n)"
                                "\x7F\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\"";
    EXPECT_NE(dump.find(caption), std::string::npos) << dump;
}

// Words are parted by any run of spaces and tabs, the CR a Windows editor
// ends a line with is not part of its last word, and a comment may be indented.
TEST(SimScriptLayout, SpacesTabsAndCarriageReturnsPartWordsAsOneSpaceDoes) {
    const std::string plain = "click Form1 portal1\nwait 15.625\nstatus\ndump Form1\n";
    const std::string typed = "  # indented\r\n \t \r\n  click \t Form1   portal1\r\n\twait 15.625\t\r\nstatus\r\n"
                              "dump  Form1\n";
    EXPECT_EQ(run_script(typed).out, run_script(plain).out);
}
