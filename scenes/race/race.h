// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/scene_table.h"

namespace guardianes {

// Form2, the police race: every control in drawing order, first on top, and
// the three counters its handlers step. Kept apart from the handlers so the
// table can be read, and drawn, on its own.
SceneTable race_table();

} // namespace guardianes
