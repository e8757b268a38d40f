// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

namespace guardianes {

// A picture with transparency, as icon themes want it: four bytes a pixel,
// red, green, blue and alpha (0 clear, 255 opaque), row-major, top row first.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;
};

} // namespace guardianes
