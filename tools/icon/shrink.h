// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paint/image.h"
#include "tools/icon/rgba_image.h"

#include <cstdint>

namespace guardianes {

// Shrinks a painting by a whole `factor`, each pixel of the result averaging
// a factor x factor block. Pixels of colour `clear` are the empty canvas: a
// block's alpha is the share of its other pixels and its colour is their
// average, so edges come out smooth against any background. Throws
// std::invalid_argument when the factor does not divide both sides.
RgbaImage shrink(const Image& painted, int factor, std::uint32_t clear);

} // namespace guardianes
