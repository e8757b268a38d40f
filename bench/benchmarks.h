// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paint/painter.h"

#include <iosfwd>

namespace guardianes::bench {

// Each adds its benchmarks and their figures, in the order printed.

// The two limits, and full repaints of every scene.
void add_paint_figures(Painter& painter);
// Each animation's tick, and the repaint of what one tick changed.
void add_tick_figures(Painter& painter);
// guardianes-sim playing an hour of the closing scene.
void add_hour_figure();
// Making the cues' samples.
void add_sound_figure();
// Every cue's length, peak, loudness and share of energy above 250 Hz.
void print_cue_table(std::ostream& out);
// Building and starting a new game.
void add_new_game_figure();

} // namespace guardianes::bench
