// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>

namespace guardianes::sound {

// How loud a cue sounds, and how much of it a small speaker plays: the
// measures the cues' levels were set by, for the tests and the bench. The
// game never needs them.

// The ear sums a short sound's loudness over about its first 200 ms: a
// 50 ms beep sounds as loud as a held note only when it is several decibels
// stronger. So a cue's loudness is its A-weighted level over its loudest
// 200 ms (the weighting follows the ear at a quiet listening level, deaf to
// rumble, keenest from 1 to 5 kHz), a shorter cue counting silence for the
// rest. In decibels of full scale, as loudness meters read them: a
// full-scale square wave reads 0 dB, a full-scale sine -3 dB.
inline constexpr double kLoudnessWindowSeconds = 0.2;
double loudness(std::span<const std::int16_t> samples);

// The share of the samples' energy above `hz`, from 0 to 1.
double share_above(std::span<const std::int16_t> samples, double hz);

} // namespace guardianes::sound
