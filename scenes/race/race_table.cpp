#include "scenes/race/race.h"

namespace guardianes {

// FIXME: only the window so far; the controls come with the scene itself.
SceneTable race_table() {
    return {.name = "Form2", .window = {.caption = "Form2", .back_color = rgb(0x404040), .client_width = 4590, .client_height = 8595}};
}

} // namespace guardianes
