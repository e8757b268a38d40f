// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paint/figure.h"

#include <unordered_map>
#include <vector>

namespace guardianes {

// The run of every row of the figures and wide strokes the painter draws,
// worked out once for each kind and size and kept. Shapes move but never
// change size, and lines never move at all, so a repaint reads each row's
// run instead of working it out again.
class RunCache {
public:
    // The runs of one figure or stroke, where it is.
    class Runs {
    public:
        Runs(const std::vector<PixelRun>& runs, int left, int top) : runs_(&runs), left_(left), top_(top) {}
        // The same run as Figure::row(y), or Stroke::row(y) over the whole row.
        PixelRun row(int y) const {
            if (y < top_ || y - top_ >= static_cast<int>(runs_->size())) return {};
            const PixelRun run = (*runs_)[static_cast<std::size_t>(y - top_)];
            return {run.x0 + left_, run.x1 + left_};
        }

    private:
        const std::vector<PixelRun>* runs_;
        int left_;
        int top_;
    };

    Runs figure(const Figure& figure);
    Runs stroke(const Stroke& stroke);

    // How many kinds and sizes it keeps.
    std::size_t size() const { return runs_.size(); }

private:
    // A figure's contour, width, height and corner radius, or a stroke's
    // width and the offsets from its first end to its second.
    struct Kind {
        int contour; // a Contour, or -1 for a stroke
        int a;
        int b;
        int c;
        friend bool operator==(const Kind&, const Kind&) = default;
    };
    struct KindHash {
        std::size_t operator()(const Kind& kind) const;
    };

    // Runs from the top row down, placed as if at the origin.
    std::unordered_map<Kind, std::vector<PixelRun>, KindHash> runs_;
};

} // namespace guardianes
