// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/scene_table.h"

namespace guardianes {

SceneTable menu_table();

} // namespace guardianes
