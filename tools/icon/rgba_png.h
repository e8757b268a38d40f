#pragma once

#include "tools/icon/rgba_image.h"

#include <string>

namespace guardianes {

// Writes the picture as an 8-bit RGBA PNG. Returns false and fills `error`
// with a one-line reason when the file cannot be written.
bool write_rgba_png(const RgbaImage& image, const std::string& path, std::string& error);

} // namespace guardianes
