// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Captions are UTF-8. These read them one character (code point) at a time,
// so that nothing measures, breaks or draws half a character. Text that is
// not well-formed UTF-8 still reads to the end, never past it: each broken
// sequence reads as one U+FFFD REPLACEMENT CHARACTER.

#include <cstddef>
#include <string>
#include <string_view>

namespace guardianes {

inline constexpr char32_t kReplacementCharacter = U'\uFFFD';

// One character of UTF-8 text and how many bytes it takes.
struct Utf8Char {
    char32_t code = 0;
    std::size_t size = 1;
};

// The longest start of a broken sequence that could still have become a
// character, at least one byte, as U+FFFD.
Utf8Char read_utf8_sequence(std::string_view text, std::size_t at);

// The character that starts at byte `at` (< text.size()). Most captions are
// ASCII, which takes no more than a comparison.
inline Utf8Char read_utf8(std::string_view text, std::size_t at) {
    const auto first = static_cast<unsigned char>(text[at]);
    if (first < 0x80) return {first, 1};
    return read_utf8_sequence(text, at);
}

// Where the character that starts at byte `at` ends.
inline std::size_t next_char(std::string_view text, std::size_t at) { return at + read_utf8(text, at).size; }

void append_utf8(std::string& out, char32_t code);

// The characters of UTF-8 text, for a range-for.
class Utf8Chars {
public:
    explicit Utf8Chars(std::string_view text) : text_(text) {}

    class Iterator {
    public:
        Iterator(std::string_view text, std::size_t at) : text_(text), at_(at) {
            if (at_ < text_.size()) char_ = read_utf8(text_, at_);
        }
        char32_t operator*() const { return char_.code; }
        Iterator& operator++() {
            at_ += char_.size;
            if (at_ < text_.size()) char_ = read_utf8(text_, at_);
            return *this;
        }
        friend bool operator==(const Iterator& a, const Iterator& b) { return a.at_ == b.at_; }

    private:
        std::string_view text_;
        std::size_t at_;
        Utf8Char char_;
    };

    Iterator begin() const { return {text_, 0}; }
    Iterator end() const { return {text_, text_.size()}; }

private:
    std::string_view text_;
};

} // namespace guardianes
