#pragma once

#include "runtime/scene_table.h"

namespace guardianes {

SceneTable ambulance_table();

} // namespace guardianes
