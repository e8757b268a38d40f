// SPDX-License-Identifier: GPL-3.0-or-later
#include "paint/run_cache.h"

#include <algorithm>
#include <functional>

namespace guardianes {

std::size_t RunCache::KindHash::operator()(const Kind& kind) const {
    std::size_t h = std::hash<int>()(kind.contour);
    for (const int part : {kind.a, kind.b, kind.c}) h = h * 31 + std::hash<int>()(part);
    return h;
}

RunCache::Runs RunCache::figure(const Figure& figure) {
    const int width = std::max(figure.box.width(), 0);
    const int height = std::max(figure.box.height(), 0);
    auto [entry, added] = runs_.try_emplace(Kind{static_cast<int>(figure.contour), width, height, figure.radius});
    if (added) {
        const Figure origin{{0, 0, width, height}, figure.contour, figure.radius};
        for (int y = 0; y < height; ++y) entry->second.push_back(origin.row(y));
    }
    return {entry->second, figure.box.x0, figure.box.y0};
}

RunCache::Runs RunCache::stroke(const Stroke& stroke) {
    const Stroke origin{0, 0, stroke.x2 - stroke.x1, stroke.y2 - stroke.y1, stroke.width};
    const PixelRect bounds = origin.bounds();
    auto [entry, added] = runs_.try_emplace(Kind{-1, origin.x2, origin.y2, origin.width});
    if (added)
        for (int y = bounds.y0; y < bounds.y1; ++y) entry->second.push_back(origin.row(y, bounds.x0, bounds.x1));
    return {entry->second, stroke.x1, stroke.y1 + bounds.y0};
}

} // namespace guardianes
