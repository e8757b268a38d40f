#include "scenes/ambulance/ambulance.h"

namespace guardianes {

// FIXME: only the window so far; the controls come with the scene itself.
SceneTable ambulance_table() {
    return {.name = "Form4", .window = {.caption = "Form4", .back_color = rgb(0x008080), .client_width = 8145, .client_height = 6570}};
}

} // namespace guardianes
