// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paint/image.h"
#include "runtime/twips.h"

#include <cstdint>

namespace guardianes {

// A painted frame drawn `times / over` as large, as a window shows it: at a
// whole scale every pixel becomes a square block; at a fraction each window
// pixel is the average of the frame pixels it covers, so that a scene made
// smaller than its own size stays smooth and readable.
class ScaledFrame {
public:
    ScaledFrame(int times, int over) : times_(times), over_(over) {}

    // The window pixels that show something of the frame's `area`, within a
    // picture of the frame's whole size at this scale.
    PixelRect covering(const Image& frame, PixelRect area) const;
    // Writes the window pixels of `window_area` (in the scaled picture's
    // coordinates) into `out`, a picture `stride` pixels wide.
    void draw(const Image& frame, PixelRect window_area, std::uint32_t* out, int stride) const;

private:
    int times_;
    int over_;
};

} // namespace guardianes
