// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/scene_table.h"

namespace guardianes {

// The icon is painted this many pixels square and then shrunk: every size a
// desktop or a browser asks for divides it, so each icon pixel averages a
// whole block.
inline constexpr int kIconCanvas = 1536;

// The colour of the canvas around the tile. No part of the icon uses it, so
// shrinking can treat it as "nothing here" and make those pixels transparent.
inline constexpr std::uint32_t kIconClear = 0xFF00FF;

// The tile: the icon on its own, its rounded corners clear. Maskable: for
// launchers that cut their own shape out of a full square, the square all
// dark grey and the vehicle small enough to stay whole inside the middle
// circle, four fifths of the square across, that every such shape keeps.
enum class IconShape { Tile, Maskable };

// The game's icon as a scene of its own: an ambulance seen from above, as
// the menu's vehicles are when they drive out, on the menu's dark grey with
// its yellow edge.
SceneTable icon_table(IconShape form = IconShape::Tile);

} // namespace guardianes
