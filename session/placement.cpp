// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/placement.h"

#include "session/options.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>

namespace guardianes {

namespace {

// Rounds towards minus infinity, as a pixel's edge does.
int floor_div(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if (a % b != 0 && (a < 0) != (b < 0)) --q;
    return static_cast<int>(q);
}

Scale reduced(int times, int over) {
    const int d = std::gcd(times, over);
    return {times / d, over / d};
}

} // namespace

int Scale::of(int length) const { return floor_div(std::int64_t{length} * times, over); }

Pixel Placement::to_scene(int x, int y) const {
    return {floor_div((std::int64_t{x} - left) * scale.over, scale.times),
            floor_div((std::int64_t{y} - top) * scale.over, scale.times)};
}

Pixel Placement::to_window(Pixel at) const {
    const auto middle = [this](int p) { return floor_div((2 * std::int64_t{p} + 1) * scale.times, 2 * scale.over); };
    return {left + middle(at.x), top + middle(at.y)};
}

Scale fit_scale(Size scene, Size room, int most) {
    const int width = std::max(scene.width, 1);
    const int height = std::max(scene.height, 1);
    const int room_width = std::max(room.width, 1);
    const int room_height = std::max(room.height, 1);
    const int whole = std::min({room_width / width, room_height / height, std::max(most, 1)});
    if (whole >= 1) return {whole, 1};
    // The tighter of the two sides decides.
    if (std::int64_t{room_width} * height <= std::int64_t{room_height} * width) return reduced(room_width, width);
    return reduced(room_height, height);
}

int scale_for_dpi(double dpi) {
    // A broken setting, not a number or infinite, counts as the usual 96;
    // the clamp comes before the cast, which no int could hold otherwise.
    if (!std::isfinite(dpi)) dpi = 96;
    return static_cast<int>(std::clamp(dpi / 96.0, 1.0, double{kLargestScale}));
}

Placement centre(Size scene, Size window, Scale scale) {
    return {scale, std::max(0, (window.width - scale.of(scene.width)) / 2),
            std::max(0, (window.height - scale.of(scene.height)) / 2)};
}

} // namespace guardianes
