// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/controls.h"

#include <string>
#include <utility>
#include <vector>

namespace guardianes {

// Every text the game's labels draw, in every language the game has, with
// the font it is drawn in: each caption of the scene tables, and each
// translation of those that are words. The glyphs a build without fonts of
// its own must bake.
std::vector<std::pair<Font, std::string>> texts_to_bake();

} // namespace guardianes
