#pragma once

#include "paint/image.h"

#include <string>

namespace guardianes {

// Writes the image as an 8-bit RGB PNG. Returns false and fills `error` with
// a one-line reason when the file cannot be written.
bool write_png(const Image& image, const std::string& path, std::string& error);

} // namespace guardianes
