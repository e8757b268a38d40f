// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/colour.h"

#include <cstdio>

namespace guardianes {

std::string to_string(Colour colour) {
    if (colour.is_role()) {
        switch (colour.role()) {
        case SystemColour::ButtonFace: return "ButtonFace";
        case SystemColour::ButtonText: return "ButtonText";
        case SystemColour::WindowBackground: return "WindowBackground";
        case SystemColour::WindowText: return "WindowText";
        }
    }
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(colour.resolve()));
    return text;
}

} // namespace guardianes
