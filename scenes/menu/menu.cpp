#include "scenes/menu/menu.h"
#include "scenes/scenes.h"

namespace guardianes {

SceneDef menu_scene() { return {menu_table(), nullptr}; }

} // namespace guardianes
