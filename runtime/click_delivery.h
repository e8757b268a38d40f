// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clock.h"
#include "controls.h"

#include <optional>

namespace guardianes {

class Scene;

// Turns the player's presses and releases into Clicks: finds the label
// under a press, pairs presses into double-clicks, and raises a Click when
// the button comes up again over the label it went down on.
class ClickDelivery {
public:
    // The second press of a double-click comes within this time of the
    // first, and within this many pixels of it on each axis.
    static constexpr Nanos kDoubleClickTime = 500 * kMillisecond;
    static constexpr int kDoubleClickDistance = 2;

    // The first visible label in list order whose rectangle holds the pixel.
    static Label* label_at(const Scene& scene, int x, int y);
    // The pointer shown at the pixel: the label's own, or else the scene's.
    static MousePointer pointer_shape_at(const Scene& scene, int x, int y);

    void press(const Scene& scene, int x, int y, Nanos t);
    // The label whose Click the release raises, if any.
    Label* release(const Scene& scene, int x, int y);
    // A closed scene's presses pair with nothing any more.
    void forget(const Scene& scene);

private:
    struct Press {
        const Scene* scene;
        Nanos time;
        int x;
        int y;
        bool second_half;
    };
    std::optional<Press> last_press_;
    Label* pressed_ = nullptr;
};

} // namespace guardianes
