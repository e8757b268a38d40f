// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz/json_check.h"

#include <cctype>

namespace guardianes {

namespace {

// A recursive-descent reader of RFC 8259 that only says yes or no.
class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    bool object_line() {
        if (peek() != '{' || !value(0)) return false;
        return pos_ == text_.size();
    }

private:
    // Deeper than the simulator ever writes, and short of the stack's limit.
    static constexpr int kDeepest = 64;

    char peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
    bool take(char c) {
        if (peek() != c) return false;
        ++pos_;
        return true;
    }
    void skip_space() {
        while (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r') ++pos_;
    }
    bool word(std::string_view w) {
        if (text_.substr(pos_, w.size()) != w) return false;
        pos_ += w.size();
        return true;
    }

    bool value(int depth) {
        if (depth > kDeepest) return false;
        skip_space();
        bool ok = false;
        switch (peek()) {
        case '{': ok = members(depth); break;
        case '[': ok = elements(depth); break;
        case '"': ok = string(); break;
        case 't': ok = word("true"); break;
        case 'f': ok = word("false"); break;
        case 'n': ok = word("null"); break;
        default: ok = number(); break;
        }
        skip_space();
        return ok;
    }

    bool members(int depth) {
        take('{');
        skip_space();
        if (take('}')) return true;
        do {
            skip_space();
            if (!string()) return false;
            skip_space();
            if (!take(':') || !value(depth + 1)) return false;
        } while (take(','));
        return take('}');
    }

    bool elements(int depth) {
        take('[');
        skip_space();
        if (take(']')) return true;
        do {
            if (!value(depth + 1)) return false;
        } while (take(','));
        return take(']');
    }

    bool digits() {
        const std::size_t start = pos_;
        while (std::isdigit(static_cast<unsigned char>(peek()))) ++pos_;
        return pos_ > start;
    }

    bool number() {
        take('-');
        if (take('0')) {
            if (std::isdigit(static_cast<unsigned char>(peek()))) return false;
        } else if (!digits()) {
            return false;
        }
        if (take('.') && !digits()) return false;
        if (take('e') || take('E')) {
            if (!take('+')) take('-');
            if (!digits()) return false;
        }
        return true;
    }

    bool string() {
        if (!take('"')) return false;
        while (pos_ < text_.size()) {
            const auto c = static_cast<unsigned char>(text_[pos_++]);
            if (c == '"') return true;
            if (c < 0x20) return false;
            if (c == '\\' && !escape()) return false;
            if (c >= 0x80 && !utf8_tail(c)) return false;
        }
        return false;
    }

    bool escape() {
        const char c = peek();
        ++pos_;
        if (c == 'u') {
            for (int i = 0; i < 4; ++i, ++pos_)
                if (!std::isxdigit(static_cast<unsigned char>(peek()))) return false;
            return true;
        }
        return c == '"' || c == '\\' || c == '/' || c == 'b' || c == 'f' || c == 'n' || c == 'r' || c == 't';
    }

    // The continuation bytes of a multi-byte character whose lead was `lead`.
    bool utf8_tail(unsigned char lead) {
        const int tail = lead >= 0xF0 && lead <= 0xF4 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 && lead < 0xE0 ? 1 : -1;
        if (tail < 0 || lead > 0xF4) return false;
        for (int i = 0; i < tail; ++i, ++pos_)
            if ((static_cast<unsigned char>(peek()) & 0xC0) != 0x80) return false;
        return true;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

} // namespace

bool is_json_object(std::string_view line) { return Reader(line).object_line(); }

} // namespace guardianes
