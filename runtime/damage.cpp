// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/damage.h"

#include <algorithm>
#include <cstdint>

namespace guardianes {

namespace {

// Two areas this close are repainted as one: a repaint of a few hundred
// more pixels costs less than going over the scene's controls once more.
constexpr std::int64_t kSmallWaste = 1024;

std::int64_t size(const PixelRect& r) { return std::int64_t{r.width()} * r.height(); }

// The pixels that the rectangle around both covers beyond the two.
std::int64_t waste(const PixelRect& a, const PixelRect& b) { return size(a.united(b)) - size(a) - size(b); }

bool touch(const PixelRect& a, const PixelRect& b) {
    return a.x0 <= b.x1 && b.x0 <= a.x1 && a.y0 <= b.y1 && b.y0 <= a.y1;
}

} // namespace

void Damage::add(PixelRect area) {
    if (area.empty()) return;
    // Every kept area that the new one joins with makes it grow, and the
    // grown area may join others in turn, so the search starts over.
    for (std::size_t i = 0; i < count_;) {
        if (!touch(areas_[i], area) && waste(areas_[i], area) > kSmallWaste) {
            ++i;
            continue;
        }
        area = area.united(areas_[i]);
        areas_[i] = areas_[--count_];
        i = 0;
    }
    if (count_ < kMostAreas) {
        areas_[count_++] = area;
        return;
    }
    // Full: the two areas, the new one among them, that waste least
    // together become one.
    std::array<PixelRect, kMostAreas + 1> all{};
    std::copy(areas_.begin(), areas_.end(), all.begin());
    all[kMostAreas] = area;
    std::size_t first = 0;
    std::size_t second = 1;
    for (std::size_t i = 0; i < all.size(); ++i)
        for (std::size_t j = i + 1; j < all.size(); ++j)
            if (waste(all[i], all[j]) < waste(all[first], all[second])) {
                first = i;
                second = j;
            }
    const PixelRect merged = all[first].united(all[second]);
    count_ = 0;
    for (std::size_t i = 0; i < all.size(); ++i)
        if (i != first && i != second) areas_[count_++] = all[i];
    add(merged);
}

PixelRect Damage::bounds() const {
    if (count_ == 0) return {};
    PixelRect all = areas_[0];
    for (std::size_t i = 1; i < count_; ++i) all = all.united(areas_[i]);
    return all;
}

} // namespace guardianes
