#include "scenes/closing/closing.h"

namespace guardianes {

// FIXME: only the window so far; the controls come with the scene itself.
SceneTable closing_table() {
    return {.name = "Form5", .window = {.caption = "Form5", .back_color = rgb(0x404040), .client_width = 4050, .client_height = 5655}};
}

} // namespace guardianes
