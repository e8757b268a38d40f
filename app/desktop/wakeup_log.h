// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/clock.h"
#include "session/session.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace guardianes {

// A desktop host's record of its schedule, for measuring it from outside:
// a line "GRID_NS WOKE_NS" for each wake-up served, comparing the time of
// waking with the grid time it was due at, so that a late wake-up shows its
// full lateness, once a comment with the wall-clock time of the first
// frame shown, since the program's own clock starts only once it runs, and
// a comment each time the audio device opens or closes.
class WakeupLog {
public:
    // Writes nothing when `path` is empty.
    explicit WakeupLog(const std::string& path) : file_(path.empty() ? nullptr : std::fopen(path.c_str(), "w")) {}
    ~WakeupLog() {
        if (file_) std::fclose(file_);
    }
    WakeupLog(const WakeupLog&) = delete;
    WakeupLog& operator=(const WakeupLog&) = delete;

    // Serves what is due now, as Session::serve_wakeup() does.
    void serve(Session& session, const Clock& clock) {
        const Nanos woke = clock.now();
        if (const auto served = session.serve_wakeup(); served && file_)
            std::fprintf(file_, "%lld %lld\n", static_cast<long long>(*served), static_cast<long long>(woke));
    }

    // A frame reached the screen; only the first one is written.
    void frame_presented() {
        if (first_frame_seen_ || !file_) return;
        first_frame_seen_ = true;
        const auto since_epoch = std::chrono::system_clock::now().time_since_epoch();
        std::fprintf(file_, "# first frame presented at %lld ns of Unix time\n",
                     static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(since_epoch).count()));
        std::fflush(file_);
    }

    // The audio device opened or closed at that time of the program's clock.
    void sound_opened(Nanos at) { note("# audio device opened at", at); }
    void sound_closed(Nanos at) { note("# audio device closed at", at); }

private:
    void note(const char* what, Nanos at) {
        if (!file_) return;
        std::fprintf(file_, "%s %lld ns\n", what, static_cast<long long>(at));
        std::fflush(file_);
    }

    std::FILE* file_;
    bool first_frame_seen_ = false;
};

} // namespace guardianes
