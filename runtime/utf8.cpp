// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/utf8.h"

namespace guardianes {

// The well-formed sequences are those of the Unicode standard: no overlong
// forms, no surrogates, nothing beyond U+10FFFF. The first byte says how
// long the sequence is and narrows the range of the second.
Utf8Char read_utf8_sequence(std::string_view text, std::size_t at) {
    const auto first = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    char32_t code = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (first >= 0xC2 && first <= 0xDF) {
        length = 2;
        code = first & 0x1Fu;
    } else if (first >= 0xE0 && first <= 0xEF) {
        length = 3;
        code = first & 0x0Fu;
        if (first == 0xE0) low = 0xA0;  // else overlong
        if (first == 0xED) high = 0x9F; // else a surrogate
    } else if (first >= 0xF0 && first <= 0xF4) {
        length = 4;
        code = first & 0x07u;
        if (first == 0xF0) low = 0x90;  // else overlong
        if (first == 0xF4) high = 0x8F; // else beyond U+10FFFF
    } else {
        return {kReplacementCharacter, 1}; // a continuation byte alone, or a byte UTF-8 never uses
    }
    for (std::size_t size = 1; size < length; ++size) {
        if (at + size >= text.size()) return {kReplacementCharacter, size};
        const auto next = static_cast<unsigned char>(text[at + size]);
        if (next < low || next > high) return {kReplacementCharacter, size};
        code = code << 6 | (next & 0x3Fu);
        low = 0x80;
        high = 0xBF;
    }
    return {code, length};
}

void append_utf8(std::string& out, char32_t code) {
    const auto byte = [&](char32_t bits) { out.push_back(static_cast<char>(bits)); };
    if (code >= 0x110000 || (code >= 0xD800 && code <= 0xDFFF)) code = kReplacementCharacter;
    if (code < 0x80) {
        byte(code);
    } else if (code < 0x800) {
        byte(0xC0 | code >> 6);
        byte(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        byte(0xE0 | code >> 12);
        byte(0x80 | (code >> 6 & 0x3F));
        byte(0x80 | (code & 0x3F));
    } else {
        byte(0xF0 | code >> 18);
        byte(0x80 | (code >> 12 & 0x3F));
        byte(0x80 | (code >> 6 & 0x3F));
        byte(0x80 | (code & 0x3F));
    }
}

} // namespace guardianes
