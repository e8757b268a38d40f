// SPDX-License-Identifier: GPL-3.0-or-later
// The game's icon: shrinking the painted icon into smooth transparent
// pictures, writing them as PNG, and what the icon shows at every size.

#include "paint/painter.h"
#include "paint/png.h"
#include "runtime/still_scene.h"
#include "tools/icon/icon_table.h"
#include "tools/icon/shrink.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

using namespace guardianes;

namespace {

using Rgba = std::array<int, 4>;

Rgba pixel(const RgbaImage& image, int x, int y) {
    const std::size_t at = 4 * static_cast<std::size_t>(y * image.width + x);
    return {image.bytes[at], image.bytes[at + 1], image.bytes[at + 2], image.bytes[at + 3]};
}

Image painted(IconShape form) {
    const SceneTable table = icon_table(form);
    const StillScene still(table);
    FontLibrary fonts;
    Image out;
    Painter(fonts).paint(still.scene(), out);
    return out;
}

// The icon at `size`, shrunk from the icon as the build paints it.
RgbaImage icon(int size, IconShape form = IconShape::Tile) {
    static const Image tile = painted(IconShape::Tile);
    static const Image maskable = painted(IconShape::Maskable);
    return shrink(form == IconShape::Tile ? tile : maskable, kIconCanvas / size, kIconClear);
}

} // namespace

TEST(Shrinking, EachBlockIsAsOpaqueAsItsShareAndHasOnlyTheColourOfWhatCoversIt) {
    Image image;
    image.resize(4, 2); // two 2 x 2 blocks: left red and blue over clear, right all one colour
    image.pixels = {0xFF0000, 0x0000FF, 0x3366CC, 0x3366CC, kIconClear, kIconClear, 0x3366CC, 0x3366CC};
    const RgbaImage out = shrink(image, 2, kIconClear);
    ASSERT_EQ(out.width, 2);
    ASSERT_EQ(out.height, 1);
    EXPECT_EQ(pixel(out, 0, 0), (Rgba{128, 0, 128, 128}));
    EXPECT_EQ(pixel(out, 1, 0), (Rgba{0x33, 0x66, 0xCC, 255}));
    image.pixels[4] = 0xFF0000;
    EXPECT_EQ(pixel(shrink(image, 2, kIconClear), 0, 0), (Rgba{170, 0, 85, 191}));
    image.pixels[0] = image.pixels[1] = image.pixels[4] = kIconClear;
    EXPECT_EQ(pixel(shrink(image, 2, kIconClear), 0, 0)[3], 0);

    image.resize(6, 4); // 3 divides the width only
    EXPECT_THROW(shrink(image, 3, kIconClear), std::invalid_argument);
    EXPECT_THROW(shrink(image, 0, kIconClear), std::invalid_argument);
}

TEST(Icon, AtEverySizeTheCornersAreClearTheWholeTileOpaqueAndTheCrossRed) {
    for (const int size : {16, 24, 32, 48, 64, 128, 192, 256, 512}) {
        SCOPED_TRACE(size);
        const RgbaImage shrunk = icon(size);
        ASSERT_EQ(shrunk.width, size);
        EXPECT_EQ(pixel(shrunk, 0, 0)[3], 0);
        EXPECT_EQ(pixel(shrunk, size - 1, size - 1)[3], 0);
        // Inside the rounded corners nothing of the canvas shows through.
        const int inner = size / 8;
        for (int y = inner; y < size - inner; ++y)
            for (int x = inner; x < size - inner; ++x) ASSERT_EQ(pixel(shrunk, x, y)[3], 255) << x << "," << y;
        // The red cross on the white roof stays red at every size.
        const Rgba cross = pixel(shrunk, size / 2, size * 27 / 64);
        EXPECT_GT(cross[0], 200);
        EXPECT_LT(cross[1], 120);
    }
}

TEST(Icon, MaskableIsOpaqueEverywhereAndOnlyTheTilesGreyLiesOutsideTheMiddleCircle) {
    for (const int size : {192, 512}) {
        SCOPED_TRACE(size);
        const RgbaImage shrunk = icon(size, IconShape::Maskable);
        const double safe = 0.4 * size;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const Rgba p = pixel(shrunk, x, y);
                ASSERT_EQ(p[3], 255) << x << "," << y;
                const bool outside = std::hypot(x + 0.5 - size / 2.0, y + 0.5 - size / 2.0) > safe;
                ASSERT_TRUE(!outside || p == (Rgba{0x40, 0x40, 0x40, 255})) << x << "," << y;
            }
        const Rgba cross = pixel(shrunk, size / 2, size * (16 + 27) / 96);
        EXPECT_GT(cross[0], 200);
        EXPECT_LT(cross[1], 120);
    }
}

TEST(IconProgram, WritesEachSizeAskedForAsTheShrunkIconAndRefusesASizeThatDoesNotFit) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "guardianes-icon-program-test";
    std::filesystem::remove_all(dir);
    const std::string program = GUARDIANES_ICON;
    ASSERT_EQ(std::system((program + " " + dir.string() + " 16 48").c_str()), 0);
    for (const int size : {16, 48}) {
        std::ifstream file(dir / (std::to_string(size) + "x" + std::to_string(size) + ".png"), std::ios::binary);
        const std::string written((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        EXPECT_EQ(written, encode_png(size, size, PngColour::Rgba, icon(size).bytes)) << size;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "32x32.png"));

    const std::string errors = (dir / "errors").string();
    const int status = std::system((program + " " + dir.string() + " 100 2>" + errors).c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
    std::ifstream in(errors);
    const std::string message((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(message, "guardianes-icon: a SIZE must divide 1536, not '100'\n");
    std::filesystem::remove_all(dir);
}

TEST(IconFile, AnUnwritablePlaceOrAnIncompletePictureGivesAOneLineReason) {
    const std::vector<std::uint8_t> bytes{1, 2, 3, 4};
    std::string error;
    EXPECT_FALSE(write_png(1, 1, PngColour::Rgba, bytes, "/nonexistent-folder/icon.png", error));
    EXPECT_NE(error.find("/nonexistent-folder/icon.png"), std::string::npos);
    EXPECT_EQ(error.find('\n'), std::string::npos);
    error.clear();
    EXPECT_FALSE(write_png(2, 2, PngColour::Rgba, bytes, "/tmp/never-written.png", error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(std::filesystem::exists("/tmp/never-written.png"));
}
