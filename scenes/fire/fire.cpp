#include "scenes/fire/fire.h"
#include "scenes/scenes.h"

namespace guardianes {

SceneDef fire_scene() { return {fire_table(), nullptr}; }

} // namespace guardianes
