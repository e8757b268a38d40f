// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/placement.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>

namespace guardianes {

namespace {

// A room or a scale so large that it limits nothing.
constexpr int kUnlimited = 1 << 15;

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

// The room a rectangle of the screen gives, or all the room there is where
// the host could not tell.
Size room_of(const PixelRect& area) { return area.empty() ? Size{kUnlimited, kUnlimited} : area.size(); }

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

int Layout::most(const Screen& screen) const {
    if (options_.scale > 0) return options_.scale;
    return options_.fullscreen || screen.own_room ? kUnlimited : scale_for_dpi(screen.dpi);
}

WindowPlan Layout::plan(Size scene, const Screen& screen) const {
    if (options_.fullscreen) {
        const Size client = room_of(screen.monitor);
        return {client, placement(scene, client, {}), screen.monitor.corner()};
    }
    const Edges frame = screen.frame.value_or(Edges{});
    const PixelRect room = screen.work_area.shrunken(frame);
    const Scale scale = fit_scale(scene, room_of(room), most(screen));
    WindowPlan plan{scale.of(scene), {scale, 0, 0}, std::nullopt};
    if (screen.own_room) {
        const Size outer{plan.client.width + frame.size().width, plan.client.height + frame.size().height};
        plan.origin = screen.work_area.centred(outer);
    }
    return plan;
}

Placement Layout::placement(Size scene, Size client, Scale planned) const {
    if (!options_.fullscreen) return {planned, 0, 0};
    return centre(scene, client, fit_scale(scene, client, options_.scale > 0 ? options_.scale : kUnlimited));
}

std::optional<Size> Layout::resized(Size own, Size client, Scale planned) const {
    if (options_.fullscreen) return std::nullopt;
    // At a fraction the planned size maps back a pixel short of the scene's.
    if (client == planned.of(own)) return own;
    const Pixel size = Placement{planned, 0, 0}.to_scene(client.width, client.height);
    return Size{std::max(size.x, 1), std::max(size.y, 1)};
}

std::optional<Pixel> Layout::moved(const Screen& screen, const PixelRect& outer) const {
    if (options_.fullscreen || screen.own_room || screen.work_area.empty() || screen.work_area.contains(outer))
        return std::nullopt;
    return screen.work_area.centred(outer.size());
}

} // namespace guardianes
