// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/mixer.h"

#include "sound/synth.h"

#include <algorithm>
#include <limits>

namespace guardianes::sound {

namespace {

// A stopped voice fades out over 6 ms.
constexpr std::size_t kFade = kSampleRate * 6 / 1000;
// More voices than a child's clicking can start at once; beyond them, the
// oldest voice still playing fades out to make room.
constexpr std::size_t kMostVoices = 16;

} // namespace

void Mixer::start(std::size_t scene, Cue cue) {
    const std::span<const std::int16_t> cue_samples = samples(cue);
    if (cue_samples.empty()) return;
    const auto playing = std::count_if(voices_.begin(), voices_.end(), [](const Voice& v) { return v.fading == 0; });
    if (static_cast<std::size_t>(playing) >= kMostVoices)
        std::find_if(voices_.begin(), voices_.end(), [](const Voice& v) { return v.fading == 0; })->fading = kFade;
    voices_.push_back({scene, cue_samples});
}

void Mixer::stop(std::size_t scene) {
    for (Voice& voice : voices_)
        if (voice.scene == scene && voice.fading == 0) voice.fading = kFade;
}

void Mixer::mix(std::span<std::int16_t> out) {
    std::vector<int>& sum = sum_;
    sum.assign(out.size(), 0);
    for (Voice& voice : voices_) {
        for (std::size_t i = 0; i < out.size() && voice.at < voice.samples.size(); ++i, ++voice.at) {
            int sample = voice.samples[voice.at];
            if (voice.fading > 0) {
                sample = static_cast<int>(static_cast<long>(sample) * static_cast<long>(voice.fading) /
                                          static_cast<long>(kFade));
                if (--voice.fading == 0) {
                    voice.at = voice.samples.size();
                    break;
                }
            }
            sum[i] += sample;
        }
    }
    std::erase_if(voices_, [](const Voice& v) { return v.at >= v.samples.size(); });
    constexpr int kLow = std::numeric_limits<std::int16_t>::min();
    constexpr int kHigh = std::numeric_limits<std::int16_t>::max();
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = static_cast<std::int16_t>(std::clamp(sum[i], kLow, kHigh));
}

} // namespace guardianes::sound
