// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace guardianes {

// `raw` as a zlib stream (deflate with its header and check), as PNG's
// picture data is stored. The desktop build compresses with zlib; the
// browser and Windows builds, which have no zlib, store the data
// uncompressed in the same format: their pictures are the simulator's shots,
// which stay in memory or on the machine that made them.
std::string zlib_stream(const std::string& raw);

} // namespace guardianes
