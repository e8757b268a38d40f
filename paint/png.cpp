#include "paint/png.h"

#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace guardianes {

namespace {

struct CloseFile {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

void put_u32(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((value >> shift) & 0xFFu));
}

// A chunk is its length, its type, its data and a CRC over type and data.
void put_chunk(std::string& out, const char (&type)[5], const std::string& data) {
    put_u32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t crc_from = out.size();
    out.append(type, 4);
    out += data;
    const auto* bytes = reinterpret_cast<const Bytef*>(out.data() + crc_from);
    put_u32(out, static_cast<std::uint32_t>(crc32(0L, bytes, static_cast<uInt>(out.size() - crc_from))));
}

// Every row starts with filter type 0 (none): the pictures are flat colour,
// which zlib packs well enough without row filters.
std::string raw_rows(const Image& image) {
    std::string raw;
    raw.reserve(static_cast<std::size_t>(image.height) * (1 + 3 * static_cast<std::size_t>(image.width)));
    for (int y = 0; y < image.height; ++y) {
        raw.push_back('\0');
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t p = image.at(x, y);
            raw.push_back(static_cast<char>((p >> 16) & 0xFFu));
            raw.push_back(static_cast<char>((p >> 8) & 0xFFu));
            raw.push_back(static_cast<char>(p & 0xFFu));
        }
    }
    return raw;
}

bool deflate_all(const std::string& raw, std::string& packed) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    packed.resize(size);
    const int result = compress2(reinterpret_cast<Bytef*>(packed.data()), &size,
                                 reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()),
                                 Z_BEST_COMPRESSION);
    packed.resize(size);
    return result == Z_OK;
}

} // namespace

bool write_png(const Image& image, const std::string& path, std::string& error) {
    if (image.width <= 0 || image.height <= 0) {
        error = "cannot write '" + path + "': the picture is empty";
        return false;
    }
    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    put_u32(header, static_cast<std::uint32_t>(image.width));
    put_u32(header, static_cast<std::uint32_t>(image.height));
    header += std::string{8, 2, 0, 0, 0}; // 8 bits per sample, RGB, deflate, no filter set, not interlaced
    put_chunk(png, "IHDR", header);
    std::string packed;
    if (!deflate_all(raw_rows(image), packed)) {
        error = "cannot write '" + path + "': compression failed";
        return false;
    }
    put_chunk(png, "IDAT", packed);
    put_chunk(png, "IEND", "");

    const std::unique_ptr<std::FILE, CloseFile> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        error = "cannot write '" + path + "': " + std::strerror(errno);
        return false;
    }
    if (std::fwrite(png.data(), 1, png.size(), file.get()) != png.size() || std::fflush(file.get()) != 0) {
        error = "cannot write '" + path + "': " + std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace guardianes
