// upscale IN N OUT [W H]: writes the picture IN with every pixel made an
// N x N block, for comparing the simulator's shots with a window drawn N
// times larger; given W and H, centred on a black picture that size, as a
// full screen shows it. It reads only what the painter's PNG writer makes: 8-bit RGB with
// unfiltered rows.

#include "paint/image.h"
#include "paint/png.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::uint32_t be32(const std::string& s, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(s[at + i]);
    return v;
}

bool read_png(const std::string& path, guardianes::Image& image, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    const std::string png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (png.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) {
        error = "'" + path + "' is not a PNG picture";
        return false;
    }
    std::string packed;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::uint32_t length = be32(png, at);
        const std::string type = png.substr(at + 4, 4);
        if (type == "IHDR") {
            if (png.compare(at + 16, 5, std::string{8, 2, 0, 0, 0}) != 0) {
                error = "'" + path + "' is not an 8-bit RGB picture";
                return false;
            }
            image.resize(static_cast<int>(be32(png, at + 8)), static_cast<int>(be32(png, at + 12)));
        }
        if (type == "IDAT") packed += png.substr(at + 8, length);
        at += 12 + std::size_t{length};
    }
    const std::size_t row = 1 + 3 * static_cast<std::size_t>(image.width);
    std::string raw(static_cast<std::size_t>(image.height) * row, '\0');
    uLongf size = static_cast<uLongf>(raw.size());
    if (image.width <= 0 ||
        uncompress(reinterpret_cast<Bytef*>(raw.data()), &size, reinterpret_cast<const Bytef*>(packed.data()),
                   static_cast<uLong>(packed.size())) != Z_OK ||
        size != raw.size()) {
        error = "'" + path + "' has no readable pixels";
        return false;
    }
    for (int y = 0; y < image.height; ++y) {
        const std::size_t from = static_cast<std::size_t>(y) * row;
        if (raw[from] != '\0') {
            error = "'" + path + "' uses row filters, which this reader does not know";
            return false;
        }
        for (int x = 0; x < image.width; ++x) {
            const auto byte = [&](std::size_t i) {
                return static_cast<std::uint32_t>(static_cast<unsigned char>(raw[i]));
            };
            const std::size_t at = from + 1 + 3 * static_cast<std::size_t>(x);
            image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) +
                         static_cast<std::size_t>(x)] = byte(at) << 16 | byte(at + 1) << 8 | byte(at + 2);
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const int scale = argc == 4 || argc == 6 ? std::atoi(argv[2]) : 0;
    if (scale < 1) {
        std::fprintf(stderr, "usage: upscale IN N OUT [W H], with N a whole number from 1\n");
        return 2;
    }
    guardianes::Image small;
    std::string error;
    if (!read_png(argv[1], small, error)) {
        std::fprintf(stderr, "upscale: %s\n", error.c_str());
        return 1;
    }
    guardianes::Image large;
    large.resize(argc == 6 ? std::atoi(argv[4]) : small.width * scale,
                 argc == 6 ? std::atoi(argv[5]) : small.height * scale);
    const int left = (large.width - small.width * scale) / 2;
    const int top = (large.height - small.height * scale) / 2;
    for (int y = 0; y < large.height; ++y)
        for (int x = 0; x < large.width; ++x) {
            const bool inside = x >= left && y >= top && x < left + small.width * scale &&
                                y < top + small.height * scale;
            large.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(large.width) +
                         static_cast<std::size_t>(x)] = inside ? small.at((x - left) / scale, (y - top) / scale) : 0;
        }
    if (!guardianes::write_png(large, argv[3], error)) {
        std::fprintf(stderr, "upscale: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
