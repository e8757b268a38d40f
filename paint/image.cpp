// SPDX-License-Identifier: GPL-3.0-or-later
#include "paint/image.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace guardianes {

void Image::resize(int w, int h) {
    width = std::max(w, 0);
    height = std::max(h, 0);
    pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
}

std::uint32_t Image::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height)
        throw std::out_of_range("pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") is outside a " +
                                std::to_string(width) + " x " + std::to_string(height) + " image");
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
}

} // namespace guardianes
