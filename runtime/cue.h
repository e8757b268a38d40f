// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace guardianes {

// The sounds a scene can start, each named for what the child sees happen.
// The runtime only carries them to the host; what each sounds like is
// the synthesiser's business.
enum class Cue : std::uint8_t {
    // The departures from the menu, one siren or horn per service.
    PoliceSiren,
    FireSiren,
    AmbulanceSiren,
    ForestHorn,
    // The race.
    LightBeep,
    LightGo,
    CarStep,
    // The end of the race or the fire.
    Cheer,
    TooBad,
    // The fire.
    PumpWater,
    WindowOut,
    // The patient.
    Heartbeat,
    Charge,
    Shock,
    Revived,
    Food,
    Drink,
    Vaccine,
    // The closing street.
    TruckHorn,
    DuskBell,
    Stars,
    ThankYou,
};

inline constexpr std::size_t kCueCount = static_cast<std::size_t>(Cue::ThankYou) + 1;

// "police-siren", "light-beep", ...: the names scripts and tests see.
std::string_view to_string(Cue cue);

} // namespace guardianes
