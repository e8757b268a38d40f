// The painter's own PNG writer knows only opaque pictures; an icon needs its
// corners clear, so this one writes a fourth, alpha, sample per pixel.

#include "tools/icon/rgba_png.h"

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

// Each row is its filter type, 0 (none), then its pixels as stored.
std::string raw_rows(const RgbaImage& image) {
    const std::size_t row = 4 * static_cast<std::size_t>(image.width);
    std::string raw;
    raw.reserve(static_cast<std::size_t>(image.height) * (1 + row));
    for (std::size_t y = 0; y < static_cast<std::size_t>(image.height); ++y) {
        raw.push_back('\0');
        raw.append(reinterpret_cast<const char*>(image.bytes.data() + y * row), row);
    }
    return raw;
}

} // namespace

bool write_rgba_png(const RgbaImage& image, const std::string& path, std::string& error) {
    const std::size_t size = 4 * static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    if (image.width <= 0 || image.height <= 0 || image.bytes.size() != size) {
        error = "cannot write '" + path + "': the picture is empty or incomplete";
        return false;
    }
    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    put_u32(header, static_cast<std::uint32_t>(image.width));
    put_u32(header, static_cast<std::uint32_t>(image.height));
    header += std::string{8, 6, 0, 0, 0}; // 8 bits per sample, RGBA, deflate, no filter set, not interlaced
    put_chunk(png, "IHDR", header);

    const std::string raw = raw_rows(image);
    uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packed_size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packed_size, reinterpret_cast<const Bytef*>(raw.data()),
                  static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION) != Z_OK) {
        error = "cannot write '" + path + "': compression failed";
        return false;
    }
    packed.resize(packed_size);
    put_chunk(png, "IDAT", packed);
    put_chunk(png, "IEND", "");

    const std::unique_ptr<std::FILE, CloseFile> file(std::fopen(path.c_str(), "wb"));
    if (!file || std::fwrite(png.data(), 1, png.size(), file.get()) != png.size() || std::fflush(file.get()) != 0) {
        error = "cannot write '" + path + "': " + std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace guardianes
