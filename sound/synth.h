// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/cue.h"

#include <cstdint>
#include <span>
#include <vector>

namespace guardianes::sound {

// Every cue is mono 16-bit PCM at this rate.
inline constexpr int kSampleRate = 22050;

// The cue's samples, made from oscillators, envelopes and filtered noise
// the first time any cue is asked for, then kept for the program's life.
// The arithmetic is the same everywhere (no library sine or exponential),
// so every host and every run gets the same samples. Safe to call from
// any thread.
std::span<const std::int16_t> samples(Cue cue);

// The cue's samples made afresh, as samples() made them the first time.
std::vector<std::int16_t> synthesise(Cue cue);

} // namespace guardianes::sound
