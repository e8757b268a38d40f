// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the whole game on the virtual clock: the input's bytes are what a
// player and a window system can do to any scene, shown or not, and a rule
// broken after any event stops the run.

#include "fuzz/game_rules.h"
#include "paint/painter.h"
#include "sim/simulation.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using namespace guardianes;

// A day of wake-ups tells nothing that half an hour does not.
constexpr Nanos kLongestRun = 30LL * 60 * 1000 * kMillisecond;
// Windows larger than the largest scene paint nothing new, only slower.
constexpr int kLargestSide = 700;

// The input, one field at a time; past its end every field reads 0.
class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), left_(size) {}
    bool empty() const { return left_ == 0; }
    int byte() {
        if (left_ == 0) return 0;
        --left_;
        return *data_++;
    }
    int word() { return byte() << 8 | byte(); }

private:
    const std::uint8_t* data_;
    std::size_t left_;
};

enum class Op { WaitWakeups, WaitMs, Press, Release, ClickOn, Close, Resize, Paint, Key, Count };

// 1 to 63 wake-ups, times 1, 8, 64 or 512: from one tick to a whole scene.
Nanos wakeups(int code) {
    static constexpr int kScale[] = {1, 8, 64, 512};
    return static_cast<Nanos>(code & 63) * kScale[code >> 6] * kWakeupPeriod;
}

// A pixel from 100 before the client area to far beyond it, or at an int's ends.
int coordinate(int code) {
    static constexpr int kExtremes[] = {INT_MIN, INT_MIN + 1, INT_MAX - 1, INT_MAX};
    if (code >= 0x10000 - 4) return kExtremes[code - (0x10000 - 4)];
    return code % 1200 - 100;
}

// The far edge of an area from its near edge, held within an int's range.
int beyond(int edge, int extent) {
    return static_cast<int>(std::min<std::int64_t>(std::int64_t{edge} + extent, INT_MAX));
}

// A control's centre, moved by up to 3 pixels so that presses need not pair.
Pixel near_control(const Scene& scene, int which, int dx, int dy) {
    const auto& controls = scene.controls();
    const Control& control = *controls[static_cast<std::size_t>(which) % controls.size()];
    const Pixel centre = centre_pixel(control);
    return {centre.x + dx % 7 - 3, centre.y + dy % 7 - 3};
}

FontLibrary& fonts() {
    static FontLibrary library([](const std::string&) {});
    return library;
}

class Player {
public:
    explicit Player(Bytes& in) : in_(in) {}

    // Reads and plays one event; returns its kind and its scene, for the report.
    std::string play() {
        const auto op = static_cast<Op>(in_.byte() % static_cast<int>(Op::Count));
        const int scene_code = in_.byte();
        Runtime& runtime = sim_.runtime();
        Scene* scene = runtime.scene(static_cast<std::size_t>(scene_code) % runtime.scene_count());
        switch (op) {
        case Op::WaitWakeups: wait(wakeups(scene_code)); break;
        case Op::WaitMs: wait(static_cast<Nanos>(scene_code) * kMillisecond); break;
        case Op::Press:
        case Op::Release: {
            const int x = coordinate(in_.word());
            const int y = coordinate(in_.word());
            if (!scene) break;
            if (op == Op::Press)
                sim_.press(scene->name(), x, y);
            else
                sim_.release(scene->name(), x, y);
            break;
        }
        case Op::ClickOn: {
            const int which = in_.byte();
            const int dx = in_.byte();
            const int dy = in_.byte();
            if (!scene) break;
            const Pixel at = near_control(*scene, which, dx, dy);
            sim_.press(scene->name(), at.x, at.y);
            sim_.release(scene->name(), at.x, at.y);
            break;
        }
        case Op::Key: {
            // A key of keyboard play, with Shift or not, at the pointer that
            // the keys, presses and clicks before it left over that scene.
            static constexpr Key kKeys[] = {Key::Left, Key::Right, Key::Up,    Key::Down,
                                            Key::Tab,  Key::Space, Key::Enter, Key::Escape};
            const int code = in_.byte();
            if (scene) sim_.key(scene->name(), {kKeys[code % 8], (code & 8) != 0});
            break;
        }
        case Op::Close:
            if (scene) sim_.close(scene->name());
            break;
        case Op::Resize: {
            const int width = in_.word() % kLargestSide;
            const int height = in_.word() % kLargestSide;
            if (scene) runtime.resize(*scene, width, height);
            break;
        }
        case Op::Paint: {
            const int x = coordinate(in_.word());
            const int y = coordinate(in_.word());
            const int width = in_.byte();
            const int height = in_.byte();
            const PixelRect area{x, y, beyond(x, width), beyond(y, height)};
            if (!scene) break;
            // As the desktop host does: the whole window after a resize.
            Painter painter(fonts());
            if (picture_.width != to_pixels(scene->client_width()) ||
                picture_.height != to_pixels(scene->client_height()))
                painter.paint(*scene, picture_);
            else
                painter.paint(*scene, picture_, area);
            break;
        }
        case Op::Count: break;
        }
        return "event kind " + std::to_string(static_cast<int>(op)) + " on scene " +
               std::to_string(scene_code % 5 + 1) + " at " + std::to_string(sim_.now() / kMillisecond) + " ms";
    }

    std::optional<std::string> broken_rule() { return rules_.broken(); }

private:
    void wait(Nanos span) {
        span = std::min(span, kLongestRun - waited_);
        waited_ += span;
        sim_.wait(span);
    }

    Bytes& in_;
    Simulation sim_;
    GameRules rules_{sim_.runtime()};
    Image picture_;
    Nanos waited_ = 0;
};

// How much play the rules have seen, told when the run ends.
struct EventCount {
    long long events = 0;
    ~EventCount() { std::fprintf(stderr, "game events played: %lld\n", events); }
};
EventCount event_count;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes in(data, size);
    Player player(in);
    std::string what = "start";
    for (int event = 0; event == 0 || !in.empty(); ++event) {
        if (event > 0) {
            what = player.play();
            ++event_count.events;
        }
        if (const auto broken = player.broken_rule()) {
            std::fprintf(stderr, "broken rule after event %d (%s): %s\n", event, what.c_str(), broken->c_str());
            std::abort();
        }
    }
    return 0;
}
