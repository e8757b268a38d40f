// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace guardianes {

// Whether one line of the simulator's output is a single well-formed JSON
// object: balanced, escaped, valid UTF-8, nothing after the closing brace.
// Whoever reads the simulator's answers relies on exactly that.
bool is_json_object(std::string_view line);

} // namespace guardianes
