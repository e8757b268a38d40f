// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace guardianes::bench {

// How many times the program has asked for heap memory so far. The bench
// replaces the global operator new to count, so that a tick can be shown
// to allocate nothing.
std::int64_t allocations();

} // namespace guardianes::bench
