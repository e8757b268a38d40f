// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/cue.h"

#include <array>

namespace guardianes {

std::string_view to_string(Cue cue) {
    static constexpr std::array<std::string_view, kCueCount> kNames{
        "police-siren", "fire-siren", "ambulance-siren", "forest-horn", "light-beep", "light-go", "car-step", "cheer",
        "too-bad",      "pump-water", "window-out",      "heartbeat",   "charge",     "shock",    "revived",  "food",
        "drink",        "vaccine",    "truck-horn",      "dusk-bell",   "stars",      "thank-you"};
    const auto index = static_cast<std::size_t>(cue);
    return index < kNames.size() ? kNames[index] : "unknown";
}

} // namespace guardianes
