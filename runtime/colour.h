// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace guardianes {

// The four system colour roles. They stay roles in the model and are only
// turned into RGB values when something is drawn.
enum class SystemColour : std::uint8_t { ButtonFace, ButtonText, WindowBackground, WindowText };

// A control's colour: an RGB value or a system colour role. Reading a colour
// property gives back exactly what was stored, a role as a role.
class Colour {
public:
    constexpr Colour(SystemColour role) : value_(0), role_(role), is_role_(true) {}

    static constexpr Colour rgb(std::uint32_t rrggbb) { return Colour(rrggbb & 0xFFFFFFu); }

    constexpr bool is_role() const { return is_role_; }
    constexpr SystemColour role() const { return role_; }

    // 0xRRGGBB as drawn. With no desktop colour scheme to follow, the roles
    // resolve to fixed greys, black and white.
    constexpr std::uint32_t resolve() const {
        if (!is_role_) return value_;
        switch (role_) {
        case SystemColour::ButtonFace: return 0xC0C0C0;
        case SystemColour::ButtonText: return 0x000000;
        case SystemColour::WindowBackground: return 0xFFFFFF;
        case SystemColour::WindowText: return 0x000000;
        }
        return 0;
    }

    friend constexpr bool operator==(const Colour& a, const Colour& b) {
        return a.is_role_ == b.is_role_ && (a.is_role_ ? a.role_ == b.role_ : a.value_ == b.value_);
    }

private:
    explicit constexpr Colour(std::uint32_t value) : value_(value), role_(SystemColour::ButtonFace), is_role_(false) {}

    std::uint32_t value_;
    SystemColour role_;
    bool is_role_;
};

constexpr Colour rgb(std::uint32_t rrggbb) { return Colour::rgb(rrggbb); }

// "#RRGGBB" in upper-case hex, or the role's name ("ButtonFace", ...).
std::string to_string(Colour colour);

} // namespace guardianes
