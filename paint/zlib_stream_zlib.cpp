// SPDX-License-Identifier: GPL-3.0-or-later
#include "paint/zlib_stream.h"

#include <zlib.h>

#include <stdexcept>

namespace guardianes {

std::string zlib_stream(const std::string& raw) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
                  static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION) != Z_OK)
        throw std::bad_alloc(); // compress2 fails only for want of memory with a buffer this size
    packed.resize(size);
    return packed;
}

} // namespace guardianes
