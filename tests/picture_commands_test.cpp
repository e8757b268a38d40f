// guardianes-sim's `shot` and `resize`: pictures written as PNG and read
// back here, pixel for pixel.

#include "paint/painter.h"
#include "sim/picture_commands.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace guardianes;

namespace {

std::uint32_t be32(const std::string& s, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(s[at + i]);
    return v;
}

// Reads back the 8-bit RGB, unfiltered PNG that write_png makes.
Image read_png(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n"));
    Image image;
    std::string packed;
    for (std::size_t at = 8; at + 8 <= png.size();) {
        const std::uint32_t length = be32(png, at);
        const std::string type = png.substr(at + 4, 4);
        const std::string data = png.substr(at + 8, length);
        const auto* checked = reinterpret_cast<const Bytef*>(png.data() + at + 4);
        EXPECT_EQ(crc32(0, checked, length + 4), be32(png, at + 8 + length));
        if (type == "IHDR") image.resize(static_cast<int>(be32(data, 0)), static_cast<int>(be32(data, 4)));
        if (type == "IDAT") packed += data;
        at += 12 + length;
    }
    std::string raw(static_cast<std::size_t>(image.height) * (1 + 3 * static_cast<std::size_t>(image.width)), '\0');
    uLongf size = static_cast<uLongf>(raw.size());
    EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(raw.data()), &size, reinterpret_cast<const Bytef*>(packed.data()),
                         static_cast<uLong>(packed.size())),
              Z_OK);
    auto byte = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(raw[i])); };
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        const std::size_t row = i / static_cast<std::size_t>(image.width);
        const std::size_t at = row + 1 + 3 * i;
        image.pixels[i] = byte(at) << 16 | byte(at + 1) << 8 | byte(at + 2);
    }
    return image;
}

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

TEST(Shot, WritesTheSceneAsThePainterPaintsIt) {
    Script s;
    const std::string file = s.file("menu");
    s.runner.execute("shot Form1 " + file);
    FontLibrary fonts;
    Image expected;
    Painter(fonts).paint(*s.sim.scene("Form1"), expected);
    const Image written = read_png(file);
    EXPECT_EQ(written.width, 443);
    EXPECT_EQ(written.height, 480);
    EXPECT_EQ(written.pixels, expected.pixels);
}

TEST(Shot, AHiddenSceneIsPaintedButOneNotCreatedIsAMistake) {
    Script s;
    EXPECT_THROW(s.runner.execute("shot Form2 " + s.file("none")), ScriptError);
    EXPECT_THROW(s.runner.execute("shot Form9 x.png"), ScriptError);
    EXPECT_THROW(s.runner.execute("shot Form1"), ScriptError);
    EXPECT_THROW(s.runner.execute("shot Form1 /no/such/dir/menu.png"), ScriptError);
    s.sim.click("Form1", "portal1");
    s.sim.wait_ms(1300);
    ASSERT_FALSE(s.sim.scene("Form1")->shown());
    EXPECT_NO_THROW(s.runner.execute("shot Form1 " + s.file("hidden")));
}

TEST(Resize, ResizesAShownSceneAsThePlayerWould) {
    Script s;
    s.runner.execute("resize Form1 500 520");
    const std::string file = s.file("resized");
    s.runner.execute("shot Form1 " + file);
    const Image written = read_png(file);
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
