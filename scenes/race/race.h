#pragma once

#include "runtime/scene_table.h"

namespace guardianes {

SceneTable race_table();

} // namespace guardianes
