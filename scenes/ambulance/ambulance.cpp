#include "scenes/ambulance/ambulance.h"
#include "scenes/scenes.h"

namespace guardianes {

SceneDef ambulance_scene() { return {ambulance_table(), nullptr}; }

} // namespace guardianes
