// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/cue.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace guardianes::sound {

// The sounds playing now, each from the scene that started it, mixed into
// the buffers a host's audio device asks for. A host starts a voice for each
// cue the game starts and stops a scene's voices when the game says so; it
// keeps its device open only while the mixer is not silent. Not thread-safe:
// a host whose device runs on its own thread locks around every call.
//
// A cue alone, or the few a scene sounds at once, pass through unchanged.
// When many sound together and their sum would come near full scale, a
// limiter turns the whole mix down, just before the peak that needs it, and
// lets it back up over tens of milliseconds, so that the mix keeps its shape
// instead of being clipped. The volume then scales the mix as a whole, so
// that every volume turns the same mix down alike.
class Mixer {
public:
    // The mix comes out at `volume` percent of its level: 100 as it is.
    explicit Mixer(int volume = 100) : volume_(volume) {}

    // Plays the cue from its start, over whatever already sounds (at most
    // sixteen voices: beyond them the oldest fades out).
    void start(std::size_t scene, Cue cue);
    // Ends the scene's voices, each with a short fade so that none clicks.
    void stop(std::size_t scene);
    bool silent() const { return voices_.empty(); }
    // Writes the next samples of the mix (silence where nothing sounds).
    void mix(std::span<std::int16_t> out);

private:
    struct Voice {
        std::size_t scene;
        std::span<const std::int16_t> samples;
        std::size_t at = 0;
        // Samples left of the fade when stopping; none while playing on.
        std::size_t fading = 0;
    };

    int volume_;
    std::vector<Voice> voices_;
    std::vector<int> sum_;
    // The limiter's gain on the mix, in 65,536ths.
    std::int64_t gain_ = 1 << 16;
};

} // namespace guardianes::sound
