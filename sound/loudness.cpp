// SPDX-License-Identifier: GPL-3.0-or-later
// Both measures work on the spectrum of the whole cue: the weighting is
// applied there, exactly as its formula gives it up to the highest frequency
// the samples hold, and the level is then found back in time.

#include "sound/loudness.h"

#include "sound/synth.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

namespace guardianes::sound {

namespace {

using Spectrum = std::vector<std::complex<double>>;

// The discrete Fourier transform in place (its inverse without the 1/n),
// for a power-of-two length.
void transform(Spectrum& x, bool inverse) {
    const std::size_t n = x.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(x[i], x[j]);
    }
    for (std::size_t length = 2; length <= n; length <<= 1) {
        const double angle = (inverse ? 2 : -2) * std::numbers::pi / static_cast<double>(length);
        const std::complex<double> step(std::cos(angle), std::sin(angle));
        for (std::size_t start = 0; start < n; start += length) {
            std::complex<double> w(1);
            for (std::size_t k = 0; k < length / 2; ++k, w *= step) {
                const std::complex<double> even = x[start + k];
                const std::complex<double> odd = x[start + k + length / 2] * w;
                x[start + k] = even + odd;
                x[start + k + length / 2] = even - odd;
            }
        }
    }
}

// The samples' spectrum, with room after them for a filter's ringing.
Spectrum spectrum_of(std::span<const std::int16_t> samples) {
    Spectrum x(std::bit_ceil(samples.size() + kSampleRate / 2));
    for (std::size_t i = 0; i < samples.size(); ++i) x[i] = samples[i] / 32768.0;
    transform(x, false);
    return x;
}

// The frequency of bin k of n, either side of the middle.
double frequency(std::size_t k, std::size_t n) {
    return static_cast<double>(std::min(k, n - k)) * kSampleRate / static_cast<double>(n);
}

// The A-weighting's gain in power at f Hz (IEC 61672), 1 at 1 kHz.
double a_weighting(double f) {
    const double f2 = f * f;
    const double r =
        12194.0 * 12194.0 * f2 * f2 /
        ((f2 + 20.6 * 20.6) * std::sqrt((f2 + 107.7 * 107.7) * (f2 + 737.9 * 737.9)) * (f2 + 12194.0 * 12194.0));
    return r * r * std::pow(10.0, 2.0 / 10);
}

} // namespace

double loudness(std::span<const std::int16_t> samples) {
    Spectrum x = spectrum_of(samples);
    const std::size_t n = x.size();
    for (std::size_t k = 0; k < n; ++k) x[k] *= std::sqrt(a_weighting(frequency(k, n))) / static_cast<double>(n);
    transform(x, true);
    // The weighting rings a little before and after the samples, so the
    // window slides over the whole transform, round its end.
    const auto window = static_cast<std::size_t>(kLoudnessWindowSeconds * kSampleRate);
    double sum = 0;
    for (std::size_t i = 0; i < window; ++i) sum += std::norm(x[i]);
    double loudest = sum;
    for (std::size_t i = window; i < n + window; ++i) {
        sum += std::norm(x[i % n]) - std::norm(x[i - window]);
        loudest = std::max(loudest, sum);
    }
    return 10 * std::log10(std::max(loudest, 1e-30) / static_cast<double>(window));
}

double share_above(std::span<const std::int16_t> samples, double hz) {
    const Spectrum x = spectrum_of(samples);
    double above = 0;
    double all = 0;
    for (std::size_t k = 0; k < x.size(); ++k) {
        all += std::norm(x[k]);
        if (frequency(k, x.size()) > hz) above += std::norm(x[k]);
    }
    return all > 0 ? above / all : 0;
}

} // namespace guardianes::sound
