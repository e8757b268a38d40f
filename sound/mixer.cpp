// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/mixer.h"

#include "sound/synth.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace guardianes::sound {

namespace {

// A stopped voice fades out over 6 ms.
constexpr std::size_t kFade = kSampleRate * 6 / 1000;
// More voices than a child's clicking can start at once; beyond them, the
// oldest voice still playing fades out to make room.
constexpr std::size_t kMostVoices = 16;
// The limiter holds the mix's peaks to about -2 dB of full scale. It sees
// every voice's coming samples, so it turns the mix down in a straight line
// over the 3 ms before a peak that needs it, and lets it back up by a
// 1,024th of the way each sample (46 ms to come most of the way): slow
// beside a tone's cycle, so that the mix is turned down evenly rather than
// bent. Gains are in 65,536ths, so that every build mixes the same samples.
constexpr int kCeiling = 26000;
constexpr std::size_t kLookAhead = kSampleRate * 3 / 1000;
constexpr std::int64_t kUnity = 1 << 16;
constexpr std::int64_t kRelease = 1024;

} // namespace

void Mixer::start(std::size_t scene, Cue cue) {
    const std::span<const std::int16_t> cue_samples = samples(cue);
    if (cue_samples.empty()) return;
    // After silence the limiter has nothing to follow on from.
    if (voices_.empty()) gain_ = kUnity;
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
    // Every voice's samples over this buffer and the look-ahead after it,
    // summed; then the voices move on by this buffer.
    std::vector<int>& sum = sum_;
    sum.assign(out.size() + kLookAhead, 0);
    for (Voice& voice : voices_) {
        const std::size_t left = voice.samples.size() - voice.at;
        const std::size_t count = std::min({sum.size(), left, voice.fading > 0 ? voice.fading : left});
        for (std::size_t i = 0; i < count; ++i) {
            const std::int64_t sample = voice.samples[voice.at + i];
            sum[i] += static_cast<int>(voice.fading > 0 ? sample * static_cast<std::int64_t>(voice.fading - i) /
                                                              static_cast<std::int64_t>(kFade)
                                                        : sample);
        }
        const bool faded = voice.fading > 0 && voice.fading <= out.size();
        voice.at = faded ? voice.samples.size() : std::min(voice.samples.size(), voice.at + out.size());
        if (voice.fading > 0 && !faded) voice.fading -= out.size();
    }
    std::erase_if(voices_, [](const Voice& v) { return v.at >= v.samples.size(); });

    const bool loud =
        std::any_of(sum.begin(), sum.end(), [](int v) { return std::abs(v) > kCeiling; }) || gain_ < kUnity;
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (!loud) {
            out[i] = static_cast<std::int16_t>(sum[i] * volume_ / 100);
            continue;
        }
        std::int64_t wanted = kUnity;
        for (std::size_t k = 0; k <= kLookAhead; ++k) {
            const std::int64_t peak = std::abs(sum[i + k]);
            if (peak <= kCeiling) continue;
            const std::int64_t needed = kCeiling * kUnity / peak;
            wanted = std::min(wanted, needed + (kUnity - needed) * static_cast<std::int64_t>(k) /
                                                   static_cast<std::int64_t>(kLookAhead));
        }
        gain_ = std::min(wanted, gain_ + (kUnity - gain_ + kRelease - 1) / kRelease);
        out[i] = static_cast<std::int16_t>(std::int64_t{sum[i]} * gain_ * volume_ / (kUnity * 100));
    }
}

} // namespace guardianes::sound
