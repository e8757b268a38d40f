// SPDX-License-Identifier: GPL-3.0-or-later
// guardianes-icon: paints the game's icon with the game's own painter and
// writes it in the sizes a desktop icon theme or a browser asks for, as
// transparent PNGs, or as one Windows icon file holding them all.
//   guardianes-icon DIR SIZE...              writes DIR/SIZExSIZE.png for each SIZE
//   guardianes-icon --maskable DIR SIZE...   the same, of the maskable icon
//   guardianes-icon --ico FILE SIZE...       writes FILE, a .ico of those sizes

#include "paint/painter.h"
#include "paint/png.h"
#include "runtime/still_scene.h"
#include "tools/icon/icon_table.h"
#include "tools/icon/shrink.h"

#include <charconv>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

using namespace guardianes;

namespace {

void put(std::string& out, std::uint32_t value, int bytes) {
    for (int k = 0; k < bytes; ++k) out.push_back(static_cast<char>(value >> (8 * k) & 0xFFu));
}

// A .ico file: a directory of its pictures, each stored as a whole PNG,
// which Windows takes at every size since Vista.
std::string icon_file(const std::vector<std::pair<int, std::string>>& pngs) {
    std::string out;
    put(out, 0, 2);
    put(out, 1, 2); // an icon, not a cursor
    put(out, static_cast<std::uint32_t>(pngs.size()), 2);
    std::size_t offset = 6 + 16 * pngs.size();
    for (const auto& [size, png] : pngs) {
        put(out, size >= 256 ? 0 : static_cast<std::uint32_t>(size), 1); // 0 stands for 256
        put(out, size >= 256 ? 0 : static_cast<std::uint32_t>(size), 1);
        put(out, 0, 2);  // no palette
        put(out, 1, 2);  // one plane
        put(out, 32, 2); // bits per pixel
        put(out, static_cast<std::uint32_t>(png.size()), 4);
        put(out, static_cast<std::uint32_t>(offset), 4);
        offset += png.size();
    }
    for (const auto& picture : pngs) out += picture.second;
    return out;
}

} // namespace

int main(int argc, char** argv) {
    const std::string_view option = argc > 1 ? argv[1] : "";
    const bool maskable = option == "--maskable";
    const bool ico = option == "--ico";
    const int first = maskable || ico ? 2 : 1;
    if (argc < first + 2 || std::string_view(argv[first]).starts_with("-")) {
        std::cerr << "usage: guardianes-icon [--maskable] DIR SIZE... | guardianes-icon --ico FILE SIZE...\n";
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
        const std::filesystem::path target = argv[first]; // the folder, or the .ico file
        if (!ico) std::filesystem::create_directories(target);
        const SceneTable table = icon_table(maskable ? IconShape::Maskable : IconShape::Tile);
        const StillScene still(table);
        const Scene& scene = still.scene();
        FontLibrary fonts;
        Image painted;
        Painter(fonts).paint(scene, painted);
        if (ico) {
            std::vector<std::pair<int, std::string>> pngs;
            for (const int size : sizes) {
                const RgbaImage icon = shrink(painted, kIconCanvas / size, kIconClear);
                pngs.emplace_back(size, encode_png(icon.width, icon.height, PngColour::Rgba, icon.bytes));
            }
            const std::string bytes = icon_file(pngs);
            std::ofstream out(target, std::ios::binary);
            if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !out.flush()) {
                std::cerr << "guardianes-icon: cannot write '" << target.string() << "'\n";
                return 1;
            }
            return 0;
        }
        for (const int size : sizes) {
            const std::string name = std::to_string(size) + "x" + std::to_string(size) + ".png";
            std::string error;
            const RgbaImage icon = shrink(painted, kIconCanvas / size, kIconClear);
            if (!write_png(icon.width, icon.height, PngColour::Rgba, icon.bytes, (target / name).string(), error)) {
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
