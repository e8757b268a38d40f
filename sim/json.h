// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/clock.h"
#include "runtime/controls.h"
#include "runtime/runtime.h"
#include "sim/simulation.h"

#include <string>
#include <string_view>

namespace guardianes {

// The simulator's output, one JSON object per line. Times are milliseconds
// of virtual time, written as short as they can be ("1421.875", "0").
std::string format_ms(Nanos t);
std::string json_string(std::string_view text);

std::string status_json(const Runtime& runtime, Nanos t);
// The same, followed by how many games have started, for a simulator run
// with the classroom's options.
std::string status_json(const Runtime& runtime, Nanos t, int games);
// The scene's whole state, without creating it.
std::string dump_json(const Runtime& runtime, std::size_t scene_index, Nanos t);
std::string pointer_json(std::string_view scene, int x, int y, MousePointer pointer, Nanos t);
// Where a key of keyboard play left the pointer, and its shape there.
std::string key_json(std::string_view scene, std::string_view key, int x, int y, MousePointer pointer, Nanos t);
std::string ignored_json(std::string_view what, Nanos t);
// The sounds started since the last such answer.
std::string sounds_json(const std::vector<StartedCue>& sounds, Nanos t);

} // namespace guardianes
