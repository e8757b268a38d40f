// guardianes-bake-glyphs: bakes the glyphs of every font the game's scenes
// draw in, rasterised by the desktop's own font code, into one file for the
// browser build, which has no rasteriser of its own.
//   guardianes-bake-glyphs FILE

#include "paint/baked_glyphs.h"
#include "paint/fonts.h"
#include "scenes/scenes.h"

#include <exception>
#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    using namespace guardianes;
    if (argc != 2) {
        std::cerr << "usage: guardianes-bake-glyphs FILE\n";
        return 2;
    }
    try {
        FontLibrary fonts;
        const std::string baked = bake_glyphs(fonts, fonts_of(game_scenes()));
        std::ofstream out(argv[1], std::ios::binary);
        if (!out.write(baked.data(), static_cast<std::streamsize>(baked.size())) || !out.flush()) {
            std::cerr << "guardianes-bake-glyphs: cannot write '" << argv[1] << "'\n";
            return 1;
        }
    } catch (const std::exception& e) {
        std::cerr << "guardianes-bake-glyphs: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
