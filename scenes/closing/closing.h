// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/scene_table.h"

namespace guardianes {

// Form5, the closing street: every control in drawing order, first on top.
SceneTable closing_table();

} // namespace guardianes
