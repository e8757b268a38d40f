// SPDX-License-Identifier: GPL-3.0-or-later
#include "paint/scaled.h"

#include <algorithm>

namespace guardianes {

namespace {

std::int64_t floor_div(std::int64_t a, std::int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }
std::int64_t ceil_div(std::int64_t a, std::int64_t b) { return -floor_div(-a, b); }

} // namespace

PixelRect ScaledFrame::covering(const Image& frame, PixelRect area) const {
    const auto low = [this](int c) { return static_cast<int>(floor_div(std::int64_t{c} * times_, over_)); };
    const auto high = [this](int c) { return static_cast<int>(ceil_div(std::int64_t{c} * times_, over_)); };
    return {std::max(low(area.x0), 0), std::max(low(area.y0), 0), std::min(high(area.x1), low(frame.width)),
            std::min(high(area.y1), low(frame.height))};
}

void ScaledFrame::draw(const Image& frame, PixelRect window_area, std::uint32_t* out, int stride) const {
    // The frame pixels under window pixel w: [w * over / times, (w + 1) * over / times).
    const auto first = [this](int w) { return static_cast<int>(floor_div(std::int64_t{w} * over_, times_)); };
    const auto end = [&](int w, int size) {
        return std::clamp(static_cast<int>(ceil_div((std::int64_t{w} + 1) * over_, times_)), first(w) + 1, size);
    };
    for (int y = window_area.y0; y < window_area.y1; ++y) {
        std::uint32_t* row = out + static_cast<std::ptrdiff_t>(y) * stride;
        const int y0 = first(y);
        if (over_ == 1) {
            const std::uint32_t* from = &frame.pixels[static_cast<std::size_t>(y0) * frame.width];
            for (int x = window_area.x0; x < window_area.x1; ++x) row[x] = from[first(x)];
            continue;
        }
        const int y1 = end(y, frame.height);
        for (int x = window_area.x0; x < window_area.x1; ++x) {
            const int x0 = first(x);
            const int x1 = end(x, frame.width);
            std::uint32_t red = 0;
            std::uint32_t green = 0;
            std::uint32_t blue = 0;
            for (int fy = y0; fy < y1; ++fy)
                for (int fx = x0; fx < x1; ++fx) {
                    const std::uint32_t p = frame.pixels[static_cast<std::size_t>(fy) * frame.width + fx];
                    red += p >> 16 & 0xFF;
                    green += p >> 8 & 0xFF;
                    blue += p & 0xFF;
                }
            const auto count = static_cast<std::uint32_t>((y1 - y0) * (x1 - x0));
            const auto mean = [count](std::uint32_t sum) { return (sum + count / 2) / count; };
            row[x] = mean(red) << 16 | mean(green) << 8 | mean(blue);
        }
    }
}

} // namespace guardianes
