// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/desktop/platform.h"

#include <memory>
#include <optional>
#include <string>

namespace guardianes {

// The game's sounds through one waveOut device. Everything happens on the
// main thread: the device sets an event as it finishes a buffer, the wait
// wakes on it beside the messages, and each played buffer is filled again.
class WaveOut {
public:
    WaveOut();
    ~WaveOut();
    WaveOut(const WaveOut&) = delete;
    WaveOut& operator=(const WaveOut&) = delete;

    // The event set as the device finishes a buffer, a HANDLE.
    void* event() const;
    // Opens the default device; returns why where it cannot.
    std::optional<std::string> open(SoundFeed& feed);
    // Gives every played buffer the feed's next samples; returns false once
    // the device has played everything it was given and nothing sounds.
    bool refill();
    void close();

private:
    struct Device;
    std::unique_ptr<Device> device_;
};

} // namespace guardianes
