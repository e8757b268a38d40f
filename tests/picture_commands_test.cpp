// SPDX-License-Identifier: GPL-3.0-or-later
// guardianes-sim's `shot` and `resize`: pictures written as PNG and read
// back here, pixel for pixel.

#include "paint/painter.h"
#include "png_reader.h"
#include "sim/picture_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

using namespace guardianes;
using guardianes::testing::read_png;

namespace {

struct Script {
    Script() : runner(sim, out) { add_picture_commands(runner); }
    ~Script() {
        for (const auto& path : files) std::filesystem::remove(path);
    }
    // A picture file in the temporary folder, removed after the test.
    std::string file(const std::string& name) {
        files.push_back(std::filesystem::temp_directory_path() / ("guardianes-" + name + ".png"));
        return files.back().string();
    }

    Simulation sim;
    std::ostringstream out;
    ScriptRunner runner;
    std::vector<std::filesystem::path> files;
};

} // namespace

TEST(Shot, WritesTheSceneAsThePainterPaintsItShownOrHiddenButNeverOneNotCreated) {
    Script s;
    const std::string file = s.file("menu");
    s.runner.execute("shot Form1 " + file);
    FontLibrary fonts;
    Image expected;
    Painter(fonts).paint(*s.sim.scene("Form1"), expected);
    const Image written = read_png(file).rgb();
    EXPECT_EQ(written.width, expected.width);
    EXPECT_EQ(written.pixels, expected.pixels);

    for (const std::string& bad : {"shot Form2 " + s.file("none"), std::string("shot Form9 x.png"),
                                   std::string("shot Form1"), std::string("shot Form1 /no/such/dir/menu.png")})
        EXPECT_THROW(s.runner.execute(bad), ScriptError) << bad;
    s.sim.click("Form1", "portal1");
    s.sim.wait_ms(1300);
    ASSERT_FALSE(s.sim.scene("Form1")->shown());
    EXPECT_NO_THROW(s.runner.execute("shot Form1 " + s.file("hidden")));
}

TEST(Resize, ResizesAShownSceneAsThePlayerWouldAndIgnoresOneNotShown) {
    Script s;
    s.runner.execute("resize Form1 500 520");
    const std::string file = s.file("resized");
    s.runner.execute("shot Form1 " + file);
    const Image written = read_png(file).rgb();
    EXPECT_EQ(written.width, 500);
    EXPECT_EQ(written.height, 520);
    EXPECT_EQ(written.at(480, 500), 0x404040u);
    EXPECT_EQ(s.out.str(), "");

    for (const char* bad :
         {"resize Form1 0 10", "resize Form1 10 10001", "resize Form1 1.5 10", "resize Form1 10", "resize Form7 10 10"})
        EXPECT_THROW(s.runner.execute(bad), ScriptError) << bad;
    s.runner.execute("resize Form2 100 100");
    EXPECT_NE(s.out.str().find("\"ignored\""), std::string::npos);
}
