#include "scenes/fire/fire.h"

namespace guardianes {

// FIXME: only the window so far; the controls come with the scene itself.
SceneTable fire_table() {
    return {.name = "Form3", .window = {.caption = "Form3", .back_color = rgb(0x000080), .client_width = 7995, .client_height = 5610}};
}

} // namespace guardianes
