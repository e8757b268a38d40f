// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/keyboard_pointer.h"

#include "runtime/click_delivery.h"
#include "runtime/scene.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <tuple>
#include <utility>
#include <vector>

namespace guardianes {

namespace {

// One step along an axis, in 64 bits since a host may pass any int, and
// clamped to the pixels 0 .. size - 1.
int step(int from, int by, int size) {
    const std::int64_t to = std::int64_t{from} + by;
    return static_cast<int>(std::clamp<std::int64_t>(to, 0, std::max(size, 1) - 1));
}

} // namespace

std::optional<Pixel> KeyboardPointer::click_point(const Scene& scene, const Label& label) {
    if (!label.on_click || !label.enabled() || !label.visible()) return std::nullopt;
    // A click lands only on the scene, so only the label's pixels on it count.
    const PixelRect box = to_pixels(label.rect());
    const PixelRect area{std::max(box.x0, 0), std::max(box.y0, 0), std::min(box.x1, to_pixels(scene.client_width())),
                         std::min(box.y1, to_pixels(scene.client_height()))};
    if (area.empty()) return std::nullopt;

    // Rings of pixels around the centre, one pixel further out each time,
    // from the first that meets the area. A pixel of ring r lies at least r
    // from the centre, so the search ends at the first ring farther out
    // than the nearest pixel found; equally near pixels go to the higher,
    // then the further left.
    const Pixel centre = centre_pixel(label);
    const auto gap = [](std::int64_t from, int lo, int hi) {
        return std::max<std::int64_t>({lo - from, from - (hi - 1), 0});
    };
    const auto reach = [](std::int64_t from, int lo, int hi) {
        return std::max(std::abs(from - lo), std::abs(from - (hi - 1)));
    };
    std::optional<Pixel> best;
    std::int64_t best_distance = 0;
    const auto visit = [&](std::int64_t x, std::int64_t y) {
        const std::int64_t distance = (x - centre.x) * (x - centre.x) + (y - centre.y) * (y - centre.y);
        if (best && std::tuple(distance, y, x) >= std::tuple(best_distance, best->y, best->x)) return;
        if (ClickDelivery::label_at(scene, static_cast<int>(x), static_cast<int>(y)) != &label) return;
        best = Pixel{static_cast<int>(x), static_cast<int>(y)};
        best_distance = distance;
    };
    const std::int64_t last = std::max(reach(centre.x, area.x0, area.x1), reach(centre.y, area.y0, area.y1));
    for (std::int64_t r = std::max(gap(centre.x, area.x0, area.x1), gap(centre.y, area.y0, area.y1));
         r <= last && !(best && r * r > best_distance); ++r) {
        // The ring's top and bottom rows, then its sides between them, each
        // cut to the area.
        const std::int64_t x0 = std::max<std::int64_t>(centre.x - r, area.x0);
        const std::int64_t x1 = std::min<std::int64_t>(centre.x + r, area.x1 - 1);
        const std::int64_t y0 = std::max<std::int64_t>(centre.y - r + 1, area.y0);
        const std::int64_t y1 = std::min<std::int64_t>(centre.y + r - 1, area.y1 - 1);
        for (const std::int64_t y : {centre.y - r, centre.y + r})
            if (y >= area.y0 && y < area.y1)
                for (std::int64_t x = x0; x <= x1; ++x) visit(x, y);
        for (const std::int64_t x : {centre.x - r, centre.x + r})
            if (x >= area.x0 && x < area.x1)
                for (std::int64_t y = y0; y <= y1; ++y) visit(x, y);
    }
    return best;
}

namespace {

// A button Tab stops at, and the pixel it takes the pointer to there.
struct Stop {
    const Label* label;
    Pixel at;
    PixelRect box;
};

// The buttons a click reaches, in the order a child reads them: row by row
// from the top, left to right within a row. The highest stop left, the
// leftmost of equally high ones, starts a row, and a later button joins it
// when the stop of either lies level with the other, within its rows of
// pixels: buttons side by side whose stops differ by a few pixels in height
// read left to right, and a tall button reads with the first row whose first
// stop lies level with it. No two stops are the same pixel, since a pixel
// takes one label's click only, so the order is total.
std::vector<Stop> reading_order(const Scene& scene) {
    std::vector<Stop> stops;
    for (const auto& control : scene.controls()) {
        if (control->kind() != ControlKind::Label) continue;
        const auto& label = static_cast<const Label&>(*control);
        if (const auto at = KeyboardPointer::click_point(scene, label))
            stops.push_back({&label, *at, to_pixels(label.rect())});
    }
    const auto higher = [](const Stop& a, const Stop& b) {
        return std::pair(a.at.y, a.at.x) < std::pair(b.at.y, b.at.x);
    };
    std::sort(stops.begin(), stops.end(), higher);
    for (auto row = stops.begin(); row != stops.end();) {
        const auto level = [&](const Stop& s) {
            return (s.at.y >= row->box.y0 && s.at.y < row->box.y1) || (row->at.y >= s.box.y0 && row->at.y < s.box.y1);
        };
        const auto end = std::stable_partition(std::next(row), stops.end(), level);
        std::sort(row, end,
                  [](const Stop& a, const Stop& b) { return std::pair(a.at.x, a.at.y) < std::pair(b.at.x, b.at.y); });
        row = end;
    }
    return stops;
}

} // namespace

Pixel KeyboardPointer::move(const Scene& scene, Pixel at, PointerKey key, bool fine) {
    const int by = fine ? kFineStep : kStep;
    const int width = to_pixels(scene.client_width());
    const int height = to_pixels(scene.client_height());
    switch (key) {
    case PointerKey::Left: return {step(at.x, -by, width), step(at.y, 0, height)};
    case PointerKey::Right: return {step(at.x, by, width), step(at.y, 0, height)};
    case PointerKey::Up: return {step(at.x, 0, width), step(at.y, -by, height)};
    case PointerKey::Down: return {step(at.x, 0, width), step(at.y, by, height)};
    case PointerKey::Next:
    case PointerKey::Previous: break;
    }

    const std::vector<Stop> stops = reading_order(scene);
    if (stops.empty()) return at;
    const Label* under = ClickDelivery::label_at(scene, at.x, at.y);
    const auto here = std::find_if(stops.begin(), stops.end(), [&](const Stop& s) { return s.label == under; });
    const std::size_t count = stops.size();
    std::size_t target = 0;
    if (here == stops.end()) // on no button: Tab starts at the first, Shift+Tab at the last
        target = key == PointerKey::Next ? 0 : count - 1;
    else
        target = (static_cast<std::size_t>(here - stops.begin()) + (key == PointerKey::Next ? 1 : count - 1)) % count;
    return stops[target].at;
}

} // namespace guardianes
