// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "twips.h"

#include <array>
#include <cstddef>
#include <span>

namespace guardianes {

// What has to be repainted of a scene: a few rectangles of client pixels
// that together cover every change. Changes far apart, like a patient's
// pupils and the trace on the monitor below them in one tick, stay apart,
// so that a repaint does little more than what changed; changes that touch
// or lie close merge into one. Beyond a few areas, the two that waste
// least together merge.
class Damage {
public:
    static constexpr std::size_t kMostAreas = 4;

    void add(PixelRect area);
    void clear() { count_ = 0; }

    bool empty() const { return count_ == 0; }
    // No two of them overlap, touch or lie close.
    std::span<const PixelRect> areas() const { return {areas_.data(), count_}; }
    // The smallest rectangle around them all; empty when there are none.
    PixelRect bounds() const;

private:
    std::array<PixelRect, kMostAreas> areas_{};
    std::size_t count_ = 0;
};

} // namespace guardianes
