// SPDX-License-Identifier: GPL-3.0-or-later
#include "paint/fonts.h"

#include <iostream>

namespace guardianes {

FontLibrary::FontLibrary() : FontLibrary([](const std::string& message) { std::cerr << message << '\n'; }) {}

FontLibrary::FontLibrary(Warning warning)
    : finder_(std::move(warning), [this](const FaceFile& file) { return rasteriser_.can_open(file); }) {}

const Typeface& FontLibrary::typeface(const Font& font) {
    const int pixels = pixel_size(font.size);
    auto& slot = typefaces_[std::make_tuple(std::string(font.face), pixels, font.bold, font.italic)];
    if (!slot) slot = rasteriser_.open(finder_.find(std::string(font.face), font.bold, font.italic), pixels);
    return *slot;
}

} // namespace guardianes
