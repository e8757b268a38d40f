#pragma once

#include "runtime/scene_table.h"

namespace guardianes {

SceneTable closing_table();

} // namespace guardianes
