// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdlib>
#include <string>

namespace guardianes {

// Minutes as digits with at most one decimal point, up to a day; as
// nanoseconds, or -1 when the text is not such a number. Both hosts read
// the idle restart this way, so that the command line and the page's
// address agree on what they take.
inline long long parse_minutes(const char* text) {
    const std::string value = text;
    const std::size_t point = value.find('.');
    const auto digits = [](const std::string& s) { return s.find_first_not_of("0123456789") == std::string::npos; };
    const std::string whole = value.substr(0, point);
    const std::string fraction = point == std::string::npos ? "" : value.substr(point + 1);
    if (value.empty() || value == "." || !digits(whole) || !digits(fraction)) return -1;
    const double minutes = std::strtod(text, nullptr);
    if (minutes > 24 * 60) return -1;
    return static_cast<long long>(minutes * 60e9);
}

} // namespace guardianes
