// SPDX-License-Identifier: GPL-3.0-or-later
#include "paint/png.h"

#include "paint/zlib_stream.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace guardianes {

namespace {

struct CloseFile {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::uint32_t crc32_of(const std::string& bytes, std::size_t from) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = from; i < bytes.size(); ++i)
        crc = table[(crc ^ static_cast<unsigned char>(bytes[i])) & 0xFFu] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void put_u32(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((value >> shift) & 0xFFu));
}

// A chunk is its length, its type, its data and a CRC over type and data.
void put_chunk(std::string& out, const char (&type)[5], const std::string& data) {
    put_u32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t crc_from = out.size();
    out.append(type, 4);
    out += data;
    put_u32(out, crc32_of(out, crc_from));
}

} // namespace

std::string encode_png(int width, int height, PngColour colour, std::span<const std::uint8_t> samples) {
    const std::size_t row = (colour == PngColour::Rgba ? 4u : 3u) * static_cast<std::size_t>(std::max(width, 0));
    if (width <= 0 || height <= 0 || samples.size() != row * static_cast<std::size_t>(height)) return {};
    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    put_u32(header, static_cast<std::uint32_t>(width));
    put_u32(header, static_cast<std::uint32_t>(height));
    // 8 bits per sample, the colour type, deflate, no filter set, not interlaced.
    header += std::string{8, static_cast<char>(colour), 0, 0, 0};
    put_chunk(png, "IHDR", header);
    // Every row starts with filter type 0 (none): the pictures are flat
    // colour, which packs well enough without row filters.
    std::string raw;
    raw.reserve(static_cast<std::size_t>(height) * (1 + row));
    for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y) {
        raw.push_back('\0');
        raw.append(reinterpret_cast<const char*>(samples.data() + y * row), row);
    }
    put_chunk(png, "IDAT", zlib_stream(raw));
    put_chunk(png, "IEND", "");
    return png;
}

bool write_png(int width, int height, PngColour colour, std::span<const std::uint8_t> samples, const std::string& path,
               std::string& error) {
    if (width <= 0 || height <= 0) {
        error = "cannot write '" + path + "': the picture is empty";
        return false;
    }
    const std::string png = encode_png(width, height, colour, samples);
    if (png.empty()) {
        error = "cannot write '" + path + "': the picture is incomplete";
        return false;
    }
    const std::unique_ptr<std::FILE, CloseFile> file(std::fopen(path.c_str(), "wb"));
    if (!file || std::fwrite(png.data(), 1, png.size(), file.get()) != png.size() || std::fflush(file.get()) != 0) {
        error = "cannot write '" + path + "': " + std::strerror(errno);
        return false;
    }
    return true;
}

bool write_png(const Image& image, const std::string& path, std::string& error) {
    std::vector<std::uint8_t> rgb;
    rgb.reserve(3 * image.pixels.size());
    for (const std::uint32_t p : image.pixels) {
        rgb.push_back(static_cast<std::uint8_t>(p >> 16));
        rgb.push_back(static_cast<std::uint8_t>(p >> 8));
        rgb.push_back(static_cast<std::uint8_t>(p));
    }
    return write_png(image.width, image.height, PngColour::Rgb, rgb, path, error);
}

} // namespace guardianes
