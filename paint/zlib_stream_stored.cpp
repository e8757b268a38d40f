// SPDX-License-Identifier: GPL-3.0-or-later
#include "paint/zlib_stream.h"

#include <algorithm>
#include <cstdint>

namespace guardianes {

// Stored deflate blocks hold at most 65535 bytes each; the stream ends with
// the Adler-32 sum of the raw bytes.
std::string zlib_stream(const std::string& raw) {
    std::string out{'\x78', '\x01'};
    std::size_t at = 0;
    do {
        const std::size_t size = std::min<std::size_t>(raw.size() - at, 65535);
        const bool last = at + size == raw.size();
        out.push_back(last ? '\x01' : '\x00');
        const auto n = static_cast<std::uint16_t>(size);
        for (const std::uint16_t v : {n, static_cast<std::uint16_t>(~n)}) {
            out.push_back(static_cast<char>(v & 0xFFu));
            out.push_back(static_cast<char>(v >> 8));
        }
        out.append(raw, at, size);
        at += size;
    } while (at < raw.size());
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (const char c : raw) {
        a = (a + static_cast<unsigned char>(c)) % 65521u;
        b = (b + a) % 65521u;
    }
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(((b << 16 | a) >> shift) & 0xFFu));
    return out;
}

} // namespace guardianes
