#include "scenes/race/race.h"
#include "scenes/scenes.h"

namespace guardianes {

SceneDef race_scene() { return {race_table(), nullptr}; }

} // namespace guardianes
