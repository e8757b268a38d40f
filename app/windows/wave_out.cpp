// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/windows/wave_out.h"

#include "sound/synth.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <mmsystem.h>

#include <array>

namespace guardianes {

struct WaveOut::Device {
    // 20 ms each: a cue is heard within a few buffers of its wake-up.
    static constexpr std::size_t kBufferSamples = sound::kSampleRate / 50;
    struct Buffer {
        std::array<std::int16_t, kBufferSamples> samples{};
        WAVEHDR header{};
    };

    HANDLE done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    HWAVEOUT device = nullptr;
    SoundFeed* feed = nullptr;
    std::array<Buffer, 3> buffers{};
};

WaveOut::WaveOut() : device_(std::make_unique<Device>()) {}

WaveOut::~WaveOut() {
    close();
    CloseHandle(device_->done);
}

void* WaveOut::event() const { return device_->done; }

std::optional<std::string> WaveOut::open(SoundFeed& feed) {
    Device& d = *device_;
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = sound::kSampleRate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 2;
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    const MMRESULT result =
        waveOutOpen(&d.device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(d.done), 0, CALLBACK_EVENT);
    if (result != MMSYSERR_NOERROR) {
        d.device = nullptr;
        return "no audio device (waveOut error " + std::to_string(result) + ")";
    }
    d.feed = &feed;
    for (Device::Buffer& buffer : d.buffers) {
        buffer.header = WAVEHDR{};
        buffer.header.lpData = reinterpret_cast<LPSTR>(buffer.samples.data());
        buffer.header.dwBufferLength = sizeof buffer.samples;
        waveOutPrepareHeader(d.device, &buffer.header, sizeof buffer.header);
    }
    return std::nullopt;
}

bool WaveOut::refill() {
    Device& d = *device_;
    if (!d.device) return true;
    bool queued = false;
    for (Device::Buffer& buffer : d.buffers) {
        if ((buffer.header.dwFlags & WHDR_INQUEUE) == 0 && d.feed->fill(buffer.samples)) {
            buffer.header.dwFlags &= ~static_cast<DWORD>(WHDR_DONE);
            waveOutWrite(d.device, &buffer.header, sizeof buffer.header);
        }
        queued = queued || (buffer.header.dwFlags & WHDR_INQUEUE) != 0;
    }
    return queued;
}

void WaveOut::close() {
    Device& d = *device_;
    if (!d.device) return;
    waveOutReset(d.device);
    for (Device::Buffer& buffer : d.buffers) waveOutUnprepareHeader(d.device, &buffer.header, sizeof buffer.header);
    waveOutClose(d.device);
    d.device = nullptr;
}

} // namespace guardianes
