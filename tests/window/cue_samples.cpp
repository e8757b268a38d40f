// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a cue's samples, raw native-endian 16-bit mono, to standard output,
// for the tests to find in what the game played.
//   cue_samples NAME
#include "sound/synth.h"

#include <cstdio>
#include <string_view>

int main(int argc, char** argv) {
    using namespace guardianes;
    for (std::size_t i = 0; argc == 2 && i < kCueCount; ++i) {
        const auto cue = static_cast<Cue>(i);
        if (to_string(cue) != argv[1]) continue;
        const auto samples = sound::samples(cue);
        return std::fwrite(samples.data(), sizeof samples[0], samples.size(), stdout) == samples.size() ? 0 : 1;
    }
    std::fprintf(stderr, "usage: cue_samples NAME (a cue's name, such as police-siren)\n");
    return 2;
}
