// SPDX-License-Identifier: GPL-3.0-or-later
// guardianes-bake-glyphs: bakes the glyphs that every text of the game
// draws, in its label's font, rasterised by the desktop's own font code,
// into one file for the browser and Windows builds, which have no
// rasteriser of their own.
//   guardianes-bake-glyphs FILE          writes the file
//   guardianes-bake-glyphs --cpp FILE    writes it as a C++ source that
//                                        defines guardianes::baked_glyphs()

#include "paint/baked_glyphs.h"
#include "paint/fonts.h"
#include "tools/glyphs/texts_to_bake.h"

#include <exception>
#include <fstream>
#include <iostream>
#include <string_view>

namespace {

std::string as_source(const std::string& bytes) {
    std::string out = "// Made by guardianes-bake-glyphs: the glyphs the browser build draws with.\n"
                      "#include <string_view>\n"
                      "namespace guardianes {\n"
                      "std::string_view baked_glyphs() {\n"
                      "    static constexpr unsigned char kBytes[] = {";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out += i % 24 == 0 ? "\n        " : " ";
        out += std::to_string(static_cast<int>(static_cast<unsigned char>(bytes[i]))) + ",";
    }
    out +=
        "\n    };\n    return {reinterpret_cast<const char*>(kBytes), sizeof kBytes};\n}\n} // namespace guardianes\n";
    return out;
}

} // namespace

int main(int argc, char** argv) {
    using namespace guardianes;
    const bool source = argc == 3 && std::string_view(argv[1]) == "--cpp";
    if (argc != 2 && !source) {
        std::cerr << "usage: guardianes-bake-glyphs [--cpp] FILE\n";
        return 2;
    }
    const char* path = argv[argc - 1];
    try {
        FontLibrary fonts;
        std::string baked = bake_glyphs(fonts, glyph_sets(texts_to_bake()));
        if (source) baked = as_source(baked);
        std::ofstream out(path, std::ios::binary);
        if (!out.write(baked.data(), static_cast<std::streamsize>(baked.size())) || !out.flush()) {
            std::cerr << "guardianes-bake-glyphs: cannot write '" << path << "'\n";
            return 1;
        }
    } catch (const std::exception& e) {
        std::cerr << "guardianes-bake-glyphs: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
