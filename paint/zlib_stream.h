// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace guardianes {

// `raw` as a zlib stream (deflate with its header and check), as PNG's
// picture data is stored. The desktop build compresses with zlib; the
// browser build, which has no zlib, stores the data uncompressed in the same
// format, since its pictures stay in memory and never travel.
std::string zlib_stream(const std::string& raw);

} // namespace guardianes
