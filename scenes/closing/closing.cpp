#include "scenes/closing/closing.h"
#include "scenes/scenes.h"

namespace guardianes {

SceneDef closing_scene() { return {closing_table(), nullptr}; }

} // namespace guardianes
