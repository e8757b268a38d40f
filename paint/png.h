// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paint/image.h"

#include <cstdint>
#include <span>
#include <string>

namespace guardianes {

// The two kinds of picture the game writes: opaque shots of scenes, and
// icons, whose corners must be clear.
enum class PngColour : std::uint8_t { Rgb = 2, Rgba = 6 };

// A PNG of 8-bit samples, three (RGB) or four (RGBA) to a pixel, row by
// row from the top. Returns an empty string when the samples are not
// exactly width x height pixels, or there are none.
std::string encode_png(int width, int height, PngColour colour, std::span<const std::uint8_t> samples);

// Each writes a PNG file. They return false and fill `error` with a
// one-line reason when the file cannot be written.
bool write_png(int width, int height, PngColour colour, std::span<const std::uint8_t> samples, const std::string& path,
               std::string& error);
// A scene's pixels, as RGB.
bool write_png(const Image& image, const std::string& path, std::string& error);

} // namespace guardianes
