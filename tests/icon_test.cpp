// The game's icon: shrinking the painted icon into smooth transparent
// pictures, writing them as PNG, and what the icon shows at every size.

#include "paint/painter.h"
#include "paint/png.h"
#include "runtime/scene.h"
#include "runtime/still_scene.h"
#include "tools/icon/icon_table.h"
#include "tools/icon/shrink.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

using namespace guardianes;

namespace {

using Rgba = std::array<int, 4>;

Rgba pixel(const RgbaImage& image, int x, int y) {
    const std::size_t at =
        4 * (static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) + static_cast<std::size_t>(x));
    return {image.bytes[at], image.bytes[at + 1], image.bytes[at + 2], image.bytes[at + 3]};
}

Image filled(int width, int height, std::uint32_t colour) {
    Image image;
    image.resize(width, height);
    std::fill(image.pixels.begin(), image.pixels.end(), colour);
    return image;
}

void set(Image& image, int x, int y, std::uint32_t colour) {
    image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) + static_cast<std::size_t>(x)] =
        colour;
}

std::uint32_t be32(const std::string& s, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(s[at + i]);
    return v;
}

// Reads back an 8-bit RGBA, unfiltered PNG as write_png makes it.
RgbaImage read_rgba_png(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n"));
    RgbaImage image;
    std::string packed;
    for (std::size_t at = 8; at + 8 <= png.size();) {
        const std::uint32_t length = be32(png, at);
        const std::string type = png.substr(at + 4, 4);
        const std::string data = png.substr(at + 8, length);
        const auto* checked = reinterpret_cast<const Bytef*>(png.data() + at + 4);
        EXPECT_EQ(crc32(0, checked, length + 4), be32(png, at + 8 + length));
        if (type == "IHDR") {
            image.width = static_cast<int>(be32(data, 0));
            image.height = static_cast<int>(be32(data, 4));
            EXPECT_EQ(data[8], 8); // bits per sample
            EXPECT_EQ(data[9], 6); // red, green, blue and alpha
        }
        if (type == "IDAT") packed += data;
        at += 12 + length;
    }
    const std::size_t row = 4 * static_cast<std::size_t>(image.width);
    std::string raw(static_cast<std::size_t>(image.height) * (1 + row), '\0');
    uLongf size = static_cast<uLongf>(raw.size());
    EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(raw.data()), &size, reinterpret_cast<const Bytef*>(packed.data()),
                         static_cast<uLong>(packed.size())),
              Z_OK);
    for (std::size_t y = 0; y < static_cast<std::size_t>(image.height); ++y) {
        EXPECT_EQ(raw[y * (1 + row)], '\0');
        const auto* from = reinterpret_cast<const std::uint8_t*>(raw.data() + y * (1 + row) + 1);
        image.bytes.insert(image.bytes.end(), from, from + row);
    }
    return image;
}

// The icon as the build paints it, before shrinking.
const Image& painted_icon() {
    static const Image image = [] {
        static const SceneTable table = icon_table();
        const StillScene still(table);
        FontLibrary fonts;
        Image out;
        Painter(fonts).paint(still.scene(), out);
        return out;
    }();
    return image;
}

// A pixel of the icon at `size`, at the point (x, y) of its 64 x 64 grid.
Rgba icon_at(int size, double x, double y) {
    const RgbaImage icon = shrink(painted_icon(), kIconCanvas / size, kIconClear);
    return pixel(icon, static_cast<int>(x * size / 64), static_cast<int>(y * size / 64));
}

constexpr std::uint32_t kClear = 0xFF00FF;

} // namespace

TEST(Shrinking, AClearBlockIsTransparentAndAFullOneKeepsItsColourOpaque) {
    Image image = filled(4, 2, kClear);
    for (int y = 0; y < 2; ++y)
        for (int x = 2; x < 4; ++x) set(image, x, y, 0x3366CC);
    const RgbaImage out = shrink(image, 2, kClear);
    ASSERT_EQ(out.width, 2);
    ASSERT_EQ(out.height, 1);
    EXPECT_EQ(pixel(out, 0, 0)[3], 0);
    EXPECT_EQ(pixel(out, 1, 0), (Rgba{0x33, 0x66, 0xCC, 255}));
}

TEST(Shrinking, APartlyCoveredBlockIsAsOpaqueAsItsShareAndHasOnlyTheColourOfWhatCoversIt) {
    Image image = filled(2, 2, kClear);
    set(image, 0, 0, 0xFF0000);
    set(image, 1, 0, 0x0000FF);
    const Rgba half = pixel(shrink(image, 2, kClear), 0, 0);
    EXPECT_EQ(half, (Rgba{128, 0, 128, 128}));
    set(image, 0, 1, 0xFF0000);
    EXPECT_EQ(pixel(shrink(image, 2, kClear), 0, 0)[3], 191);
}

TEST(Shrinking, AFactorThatDoesNotDivideBothSidesIsRefused) {
    const Image image = filled(6, 4, kClear);
    EXPECT_THROW(shrink(image, 3, kClear), std::invalid_argument);
    EXPECT_THROW(shrink(image, 0, kClear), std::invalid_argument);
    EXPECT_NO_THROW(shrink(image, 2, kClear));
}

TEST(IconFile, ReadsBackAsTheSamePixelsAndAlpha) {
    RgbaImage image{3, 2, {}};
    for (std::uint8_t i = 0; i < 24; ++i) image.bytes.push_back(static_cast<std::uint8_t>(i * 10));
    const std::string path = (std::filesystem::temp_directory_path() / "guardianes-icon-test.png").string();
    std::string error;
    ASSERT_TRUE(write_png(image.width, image.height, PngColour::Rgba, image.bytes, path, error)) << error;
    const RgbaImage back = read_rgba_png(path);
    std::filesystem::remove(path);
    EXPECT_EQ(back.width, 3);
    EXPECT_EQ(back.height, 2);
    EXPECT_EQ(back.bytes, image.bytes);
}

TEST(IconFile, AnUnwritablePlaceOrAnIncompletePictureGivesAOneLineReason) {
    const RgbaImage image{1, 1, {1, 2, 3, 4}};
    std::string error;
    EXPECT_FALSE(write_png(1, 1, PngColour::Rgba, image.bytes, "/nonexistent-folder/icon.png", error));
    EXPECT_NE(error.find("/nonexistent-folder/icon.png"), std::string::npos);
    EXPECT_EQ(error.find('\n'), std::string::npos);
    error.clear();
    EXPECT_FALSE(write_png(2, 2, PngColour::Rgba, image.bytes, "/tmp/never-written.png", error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(std::filesystem::exists("/tmp/never-written.png"));
}

TEST(Icon, AtEverySizeTheCornersAreClearAndTheWholeTileIsOpaque) {
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        const RgbaImage icon = shrink(painted_icon(), kIconCanvas / size, kIconClear);
        ASSERT_EQ(icon.width, size);
        EXPECT_EQ(pixel(icon, 0, 0)[3], 0);
        EXPECT_EQ(pixel(icon, size - 1, size - 1)[3], 0);
        // Inside the rounded corners nothing of the canvas shows through.
        const int inner = size / 8;
        for (int y = inner; y < size - inner; ++y)
            for (int x = inner; x < size - inner; ++x) ASSERT_EQ(pixel(icon, x, y)[3], 255) << x << "," << y;
    }
}

TEST(Icon, ShowsAWhiteVehicleWithARedCrossOnTheMenuGreyInsideAYellowEdge) {
    EXPECT_EQ(icon_at(256, 32, 27), (Rgba{0xFF, 0x00, 0x00, 255})); // the cross
    EXPECT_EQ(icon_at(256, 20, 30), (Rgba{0xFF, 0xFF, 0xFF, 255})); // the body
    EXPECT_EQ(icon_at(256, 6, 32), (Rgba{0x40, 0x40, 0x40, 255}));  // the tile
    EXPECT_EQ(icon_at(256, 2, 32), (Rgba{0xFF, 0xFF, 0x00, 255}));  // its edge
    EXPECT_EQ(icon_at(256, 24, 13)[0], 0xFF);                       // the red light
    EXPECT_EQ(icon_at(256, 40, 13)[2], 0xFF);                       // the blue light
    // Even at the smallest size the cross stays red on white.
    const Rgba cross = icon_at(16, 32, 27);
    EXPECT_GT(cross[0], 200);
    EXPECT_LT(cross[1], 120);
}

TEST(IconProgram, WritesEachSizeAskedForAndRefusesASizeThatDoesNotFit) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "guardianes-icon-program-test";
    std::filesystem::remove_all(dir);
    const std::string program = GUARDIANES_ICON;
    ASSERT_EQ(std::system((program + " " + dir.string() + " 16 48").c_str()), 0);
    EXPECT_EQ(read_rgba_png((dir / "16x16.png").string()).width, 16);
    EXPECT_EQ(read_rgba_png((dir / "48x48.png").string()).height, 48);
    EXPECT_FALSE(std::filesystem::exists(dir / "32x32.png"));

    const std::string errors = (dir / "errors").string();
    const int status = std::system((program + " " + dir.string() + " 100 2>" + errors).c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
    std::ifstream in(errors);
    const std::string message((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(message, "guardianes-icon: a SIZE must divide 768, not '100'\n");
    std::filesystem::remove_all(dir);
}
