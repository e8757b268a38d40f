// SPDX-License-Identifier: GPL-3.0-or-later
// guardianes-icon: paints the game's icon with the game's own painter and
// writes it in the sizes a desktop icon theme or a browser asks for, as
// transparent PNGs.
//   guardianes-icon DIR SIZE...              writes DIR/SIZExSIZE.png for each SIZE
//   guardianes-icon --maskable DIR SIZE...   the same, of the maskable icon

#include "paint/painter.h"
#include "paint/png.h"
#include "runtime/still_scene.h"
#include "tools/icon/icon_table.h"
#include "tools/icon/shrink.h"

#include <charconv>
#include <exception>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

using namespace guardianes;

int main(int argc, char** argv) {
    const bool maskable = argc > 1 && std::string_view(argv[1]) == "--maskable";
    const int first = maskable ? 2 : 1;
    if (argc < first + 2 || std::string_view(argv[first]).starts_with("-")) {
        std::cerr << "usage: guardianes-icon [--maskable] DIR SIZE...\n";
        return 2;
    }
    std::vector<int> sizes;
    for (int i = first + 1; i < argc; ++i) {
        const std::string_view text = argv[i];
        int size = 0;
        const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), size);
        if (status != std::errc() || end != text.data() + text.size() || size < 1 || kIconCanvas % size != 0) {
            std::cerr << "guardianes-icon: a SIZE must divide " << kIconCanvas << ", not '" << text << "'\n";
            return 2;
        }
        sizes.push_back(size);
    }
    try {
        const std::filesystem::path dir = argv[first];
        std::filesystem::create_directories(dir);
        const SceneTable table = icon_table(maskable ? IconShape::Maskable : IconShape::Tile);
        const StillScene still(table);
        const Scene& scene = still.scene();
        FontLibrary fonts;
        Image painted;
        Painter(fonts).paint(scene, painted);
        for (const int size : sizes) {
            const std::string name = std::to_string(size) + "x" + std::to_string(size) + ".png";
            std::string error;
            const RgbaImage icon = shrink(painted, kIconCanvas / size, kIconClear);
            if (!write_png(icon.width, icon.height, PngColour::Rgba, icon.bytes, (dir / name).string(), error)) {
                std::cerr << "guardianes-icon: " << error << '\n';
                return 1;
            }
        }
    } catch (const std::exception& e) {
        std::cerr << "guardianes-icon: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
