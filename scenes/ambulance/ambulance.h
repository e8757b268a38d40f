// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/scene_table.h"

namespace guardianes {

// Form4, the patient: every control in drawing order, first on top, and the
// counters its handlers step.
SceneTable ambulance_table();

} // namespace guardianes
