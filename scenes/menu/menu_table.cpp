// SPDX-License-Identifier: GPL-3.0-or-later
// The menu: four service cards side by side, each a small station with its
// vehicle parked out of sight beneath the card, and two yellow edge strips.

#include "scenes/menu/menu.h"

// The table reads like the picture it draws, one row per control: its
// layout is kept by hand.
// clang-format off
namespace guardianes {

namespace {

constexpr Font kButtonFont{.face = "MS Sans Serif", .size = 8.25, .bold = true, .italic = true, .underline = true};

constexpr LabelProps button(Twips left, Colour back, std::string_view caption) {
    return {.left = left, .top = 1560, .width = 1095, .height = 375, .caption = caption,
            .back_color = back, .fore_color = rgb(0xFFFFFF), .border_style = BorderStyle::FixedSingle,
            .alignment = Alignment::Centre, .font = kButtonFont, .mouse_pointer = MousePointer::Arrow};
}

// A card's caption puts the service's name and its number on lines of
// their own with runs of spaces, counted beside each card.
constexpr LabelProps card(Twips left, Colour back, Colour fore, std::string_view caption) {
    return {.left = left, .top = 960, .width = 1095, .height = 1335, .caption = caption,
            .back_color = back, .fore_color = fore, .border_style = BorderStyle::FixedSingle};
}

constexpr LabelProps door(Twips left) {
    return {.left = left, .top = 1920, .width = 615, .height = 375, .back_color = rgb(0x000000)};
}

// The vehicles are built from small bordered labels.
constexpr LabelProps part(Twips left, Twips top, Twips width, Twips height, Colour back) {
    return {.left = left, .top = top, .width = width, .height = height, .back_color = back,
            .border_style = BorderStyle::FixedSingle};
}

constexpr LabelProps plain(Twips left, Twips top, Twips width, Twips height, Colour back) {
    return {.left = left, .top = top, .width = width, .height = height, .back_color = back};
}

constexpr ControlRow kControls[] = {
    timer("Timer8", {.interval = 10, .enabled = false}),
    timer("Timer7", {.interval = 1, .enabled = false}),
    timer("Timer6", {.interval = 10, .enabled = false}),
    timer("Timer5", {.interval = 1, .enabled = false}),
    timer("Timer4", {.interval = 10, .enabled = false}),
    timer("Timer3", {.interval = 1, .enabled = false}),
    timer("Timer2", {.interval = 10, .enabled = false}),
    timer("Timer1", {.interval = 1, .enabled = false}),
    label("Label13", door(4920)),
    label("portal4", button(4680, rgb(0x800000), "Click Here")),
    label("portal8", card(4680, rgb(0xFF0000), rgb(0xFFFF00), // 25 and 11 spaces
                          "                         Bomberos V.           122")),
    label("Label10", door(3600)),
    label("portal3", button(3360, rgb(0x808080), "Click Here")),
    label("portal7", card(3360, rgb(0xFFFFFF), rgb(0xFF0000), // 26, 11 and 16 spaces
                          "                          Ambulancia           911                ")),
    label("Label7", door(2280)),
    label("portal2", button(2040, rgb(0x008000), "Click Here")),
    label("portal6", card(2040, rgb(0x80FF80), rgb(0x0000FF), // 25 and 10 spaces
                          "                         Bomberos M.          123")),
    label("portal1", button(720, rgb(0x000080), "Click Here")),
    label("Label3", door(960)),
    label("portal5", card(720, rgb(0x0000FF), rgb(0xFFFFFF), // 30, 15 and 23 spaces
                          "                              Policia               110                       ")),
    label("ama2", part(6240, 0, 375, 7215, rgb(0xFFFF00))),
    label("ama1", part(0, 0, 375, 7215, rgb(0xFFFF00))),
    label("Label1", {.left = 1680, .top = 240, .width = 3135, .height = 375, .caption = "Guardianes",
                     .back_style = BackStyle::Transparent, .fore_color = rgb(0xFFFF00),
                     .alignment = Alignment::Centre,
                     .font = {.face = "Fixedsys", .size = 9, .bold = true, .italic = true}}),
    label("cru1", plain(3720, 1200, 375, 135, rgb(0xFF0000))),
    label("cru2", plain(3840, 1080, 135, 375, rgb(0xFF0000))),
    label("cen1", part(1200, 1440, 135, 135, rgb(0xC0C0C0))),
    label("cen3", part(3840, 1560, 135, 135, rgb(0xC0C0C0))),
    label("cen4", part(5160, 1320, 135, 135, rgb(0xC0C0C0))),
    label("ai", part(3720, 1560, 135, 135, rgb(0x800000))),
    label("ad", part(3960, 1560, 135, 135, rgb(0x800000))),
    label("ci", part(1080, 1440, 135, 135, rgb(0x000080))),
    label("cd", part(1320, 1440, 135, 135, rgb(0x800000))),
    label("vi", part(5040, 1320, 135, 135, rgb(0xC0C000))),
    label("vd", part(5280, 1320, 135, 135, rgb(0xC0C000))),
    label("bom3", part(3720, 2160, 375, 135, rgb(0xC0C0C0))),
    label("bom4", part(5040, 2160, 375, 135, rgb(0xC0C0C0))),
    label("bom1", part(1080, 2160, 375, 135, rgb(0xC0C0C0))),
    label("v1", part(960, 1200, 615, 135, rgb(0x80FFFF))),
    label("para4", part(4920, 1680, 615, 255, rgb(0x80FFFF))),
    label("para3", part(3600, 1800, 615, 255, rgb(0x80FFFF))),
    label("para1", part(960, 1680, 615, 255, rgb(0x00FFFF))),
    label("la1", part(3600, 2160, 135, 135, rgb(0xFFFF00))),
    label("lv1", part(4920, 2160, 135, 135, rgb(0xFFFF00))),
    label("la2", part(4080, 2160, 135, 135, rgb(0xFFFF00))),
    label("lv2", part(5400, 2160, 135, 135, rgb(0xFFFF00))),
    label("lc2", part(1440, 2160, 135, 135, rgb(0xFFFF00))),
    label("lc1", part(960, 2160, 135, 135, rgb(0xFFFF00))),
    label("lbv", part(4920, 960, 615, 1335, rgb(0xC00000))),
    label("lam", part(3600, 960, 615, 1335, rgb(0xFFFFFF))),
    label("lcop", part(960, 960, 615, 1335, rgb(0x000000))),
    shape("lin1", {.left = 2400, .top = 960, .width = 375, .height = 615, .shape = ShapeKind::RoundedRectangle,
                   .back_style = BackStyle::Opaque, .back_color = rgb(0x00C000), .fill_style = FillStyle::Cross,
                   .fill_color = rgb(0x00C000), .border_color = rgb(0xFFFFFF)}),
    label("cen2", {.left = 2520, .top = 1680, .width = 135, .height = 135, .back_color = rgb(0xC0C0C0),
                   .fore_color = rgb(0x000000), .border_style = BorderStyle::FixedSingle}),
    label("mi", part(2400, 1680, 135, 135, rgb(0x800000))),
    label("md", part(2640, 1680, 135, 135, rgb(0x800000))),
    label("bom2", part(2400, 2160, 375, 135, rgb(0xC0C0C0))),
    label("para2", part(2280, 1920, 615, 255, rgb(0x00FFFF))),
    label("lm2", part(2760, 2160, 135, 135, rgb(0xFFFF00))),
    label("lm1", part(2280, 2160, 135, 135, rgb(0xFFFF00))),
    label("lbm", part(2280, 960, 615, 1335, rgb(0x00C000))),
};

constexpr CounterRow kCounters[] = {variant("luz1"), variant("car1"), int16("tiem1"), variant("luz2"), variant("car2"),
                                    int16("tiem2"), variant("luz3"), variant("car3"), int16("tiem3"), variant("luz4"),
                                    variant("car4"), int16("tiem4")};

} // namespace

SceneTable menu_table() {
    return {
        .name = "Form1",
        .window = {.caption = "Form1", .back_color = rgb(0x404040), .mouse_pointer = MousePointer::NoDrop,
                   .client_width = 6645, .client_height = 7200},
        .controls = kControls,
        .counters = kCounters,
    };
}

// clang-format on
} // namespace guardianes
