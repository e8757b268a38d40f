// SPDX-License-Identifier: GPL-3.0-or-later
// guardianes-sim's `shot` and `resize`.

#include "paint/painter.h"
#include "sim/picture_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace guardianes;

namespace {

struct Script {
    Script() : runner(sim, out) { add_picture_commands(runner); }

    Simulation sim;
    std::ostringstream out;
    ScriptRunner runner;
};

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(Shot, WritesTheSceneAsThePainterPaintsItShownOrHiddenButNeverOneNotCreated) {
    Script s;
    const std::string shot = ::testing::TempDir() + "guardianes-shot.png";
    const std::string expected = ::testing::TempDir() + "guardianes-expected.png";
    s.runner.execute("shot Form1 " + shot);
    FontLibrary fonts;
    Image painted;
    Painter(fonts).paint(*s.sim.scene("Form1"), painted);
    std::string error;
    ASSERT_TRUE(write_png(painted, expected, error)) << error;
    EXPECT_EQ(contents(shot), contents(expected));

    for (const std::string& bad : {"shot Form2 " + shot, std::string("shot Form9 x.png"), std::string("shot Form1"),
                                   std::string("shot Form1 /no/such/dir/menu.png")})
        EXPECT_THROW(s.runner.execute(bad), ScriptError) << bad;
    s.sim.click("Form1", "portal1");
    s.sim.wait_ms(1300);
    ASSERT_FALSE(s.sim.scene("Form1")->shown());
    std::filesystem::remove(shot);
    EXPECT_NO_THROW(s.runner.execute("shot Form1 " + shot));
    EXPECT_TRUE(std::filesystem::exists(shot));
    std::filesystem::remove(shot);
    std::filesystem::remove(expected);
}

TEST(Resize, ResizesAShownSceneAsThePlayerWouldAndIgnoresOneNotShown) {
    Script s;
    s.runner.execute("resize Form1 500 520");
    EXPECT_EQ(to_pixels(s.sim.scene("Form1")->client_width()), 500);
    EXPECT_EQ(to_pixels(s.sim.scene("Form1")->client_height()), 520);
    EXPECT_EQ(s.out.str(), "");

    for (const char* bad :
         {"resize Form1 0 10", "resize Form1 10 10001", "resize Form1 1.5 10", "resize Form1 10", "resize Form7 10 10"})
        EXPECT_THROW(s.runner.execute(bad), ScriptError) << bad;
    s.runner.execute("resize Form2 100 100");
    EXPECT_NE(s.out.str().find("\"ignored\""), std::string::npos);
}
