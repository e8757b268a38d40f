// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

namespace guardianes {

// A client area's pixels, 0x00RRGGBB, row-major, top row first.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    // Leaves the contents undefined: the painter fills every pixel anyway.
    void resize(int w, int h);
    // Throws std::out_of_range outside the image.
    std::uint32_t at(int x, int y) const;
};

} // namespace guardianes
