// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/icon/shrink.h"

#include <stdexcept>
#include <string>

namespace guardianes {

namespace {

std::uint8_t rounded_share(std::uint64_t part, std::uint64_t whole) {
    return static_cast<std::uint8_t>((2 * part + whole) / (2 * whole));
}

} // namespace

RgbaImage shrink(const Image& painted, int factor, std::uint32_t clear) {
    if (factor < 1 || painted.width % factor != 0 || painted.height % factor != 0)
        throw std::invalid_argument("cannot shrink a " + std::to_string(painted.width) + "x" +
                                    std::to_string(painted.height) + " picture by " + std::to_string(factor));
    RgbaImage out{painted.width / factor, painted.height / factor, {}};
    out.bytes.reserve(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height) * 4);
    const auto block = static_cast<std::uint64_t>(factor) * static_cast<std::uint64_t>(factor);
    for (int oy = 0; oy < out.height; ++oy) {
        for (int ox = 0; ox < out.width; ++ox) {
            std::uint64_t red = 0, green = 0, blue = 0, solid = 0;
            for (int y = oy * factor; y < (oy + 1) * factor; ++y) {
                for (int x = ox * factor; x < (ox + 1) * factor; ++x) {
                    const std::uint32_t p = painted.at(x, y);
                    if (p == clear) continue;
                    red += (p >> 16) & 0xFFu;
                    green += (p >> 8) & 0xFFu;
                    blue += p & 0xFFu;
                    ++solid;
                }
            }
            if (solid == 0) {
                out.bytes.insert(out.bytes.end(), {0, 0, 0, 0});
                continue;
            }
            out.bytes.insert(out.bytes.end(), {rounded_share(red, solid), rounded_share(green, solid),
                                               rounded_share(blue, solid), rounded_share(255 * solid, block)});
        }
    }
    return out;
}

} // namespace guardianes
