// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Reads back the 8-bit, unfiltered RGB or RGBA PNG files write_png makes,
// checking the signature, each chunk's CRC and each row's filter byte.

#include "paint/image.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace guardianes::testing {

struct Png {
    int width = 0;
    int height = 0;
    int channels = 0; // 3 for RGB, 4 for RGBA
    std::vector<std::uint8_t> bytes;

    // The pixels without their alpha, 0x00RRGGBB.
    Image rgb() const {
        Image image;
        image.resize(width, height);
        for (std::size_t i = 0; i < image.pixels.size(); ++i) {
            const std::uint8_t* p = &bytes[i * static_cast<std::size_t>(channels)];
            image.pixels[i] = std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2];
        }
        return image;
    }
};

inline std::uint32_t be32(const std::string& s, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(s[at + i]);
    return v;
}

inline Png read_png(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n"));
    Png out;
    std::string packed;
    for (std::size_t at = 8; at + 8 <= png.size();) {
        const std::uint32_t length = be32(png, at);
        const std::string type = png.substr(at + 4, 4);
        const std::string data = png.substr(at + 8, length);
        EXPECT_EQ(crc32(0, reinterpret_cast<const Bytef*>(png.data() + at + 4), length + 4),
                  be32(png, at + 8 + length));
        if (type == "IHDR") {
            out.width = static_cast<int>(be32(data, 0));
            out.height = static_cast<int>(be32(data, 4));
            EXPECT_EQ(data[8], 8); // bits per sample
            out.channels = data[9] == 6 ? 4 : 3;
        }
        if (type == "IDAT") packed += data;
        at += 12 + length;
    }
    const std::size_t row = static_cast<std::size_t>(out.channels * out.width);
    std::string raw(static_cast<std::size_t>(out.height) * (1 + row), '\0');
    uLongf size = static_cast<uLongf>(raw.size());
    EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(raw.data()), &size, reinterpret_cast<const Bytef*>(packed.data()),
                         static_cast<uLong>(packed.size())),
              Z_OK);
    for (std::size_t y = 0; y < static_cast<std::size_t>(out.height); ++y) {
        EXPECT_EQ(raw[y * (1 + row)], '\0');
        const auto* from = reinterpret_cast<const std::uint8_t*>(raw.data() + y * (1 + row) + 1);
        out.bytes.insert(out.bytes.end(), from, from + row);
    }
    return out;
}

} // namespace guardianes::testing
