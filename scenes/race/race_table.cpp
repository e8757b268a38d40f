// SPDX-License-Identifier: GPL-3.0-or-later
// The race: two lanes running up from the start line to a chequered finish
// band, the black police car on the left and the yellow rival on the right,
// a start signal on the divider and the button that drives the police car.

#include "scenes/race/race.h"

// The table reads like the picture it draws, one row per control: its
// layout is kept by hand.
// clang-format off
namespace guardianes {

namespace {

constexpr Font kResultFont{.face = "Comic Sans MS", .size = 20.25, .bold = true, .italic = true};

// The cars, the signal housing and the finish squares are small bordered labels.
constexpr LabelProps part(Twips left, Twips top, Twips width, Twips height, Colour back) {
    return {.left = left, .top = top, .width = width, .height = height, .back_color = back,
            .border_style = BorderStyle::FixedSingle};
}

constexpr LabelProps square(Twips left, Twips top) { return part(left, top, 255, 255, rgb(0xFFFFFF)); }

constexpr ShapeProps solid(Twips left, Twips top, Twips width, Twips height, Colour back,
                           ShapeKind kind = ShapeKind::Rectangle) {
    return {.left = left, .top = top, .width = width, .height = height, .shape = kind,
            .back_style = BackStyle::Opaque, .back_color = back};
}

constexpr ShapeProps circle(Twips left, Twips top, Colour back) {
    return solid(left, top, 135, 135, back, ShapeKind::Circle);
}

constexpr LabelProps winner(Twips left, std::string_view caption) {
    return {.left = left, .top = 1320, .width = 1695, .height = 735, .caption = caption,
            .back_color = rgb(0x404040), .fore_color = rgb(0xFF0000), .alignment = Alignment::Centre,
            .font = kResultFont, .visible = false};
}

constexpr ControlRow kControls[] = {
    timer("Timer2", {.interval = 200}),
    timer("Timer1", {.interval = 171, .enabled = false}),
    label("ava", {.left = 1800, .top = 7560, .width = 1095, .height = 615,
                  .caption = "                 Avanzar", // 17 spaces, so that the word sits low
                  .border_style = BorderStyle::FixedSingle, .alignment = Alignment::Centre, .enabled = false}),
    // The palette: colours the signal copies, kept beyond the right edge.
    shape("lr", solid(4800, 4920, 135, 135, rgb(0x800000))),
    shape("lv", solid(4800, 5640, 135, 135, rgb(0x00FF00))),
    shape("la", solid(4800, 5280, 135, 135, rgb(0x808000))),
    shape("se1", circle(2280, 6480, rgb(0x800000))),
    shape("se2", circle(2280, 6720, rgb(0x808000))),
    shape("se3", circle(2280, 6960, rgb(0x008000))),
    label("Label20", part(2160, 6360, 375, 855, rgb(0x0000C0))),
    shape("luz3", solid(3840, 8400, 135, 135, rgb(0xFF0000), ShapeKind::RoundedSquare)),
    shape("luz4", solid(3360, 8400, 135, 135, rgb(0xFF0000), ShapeKind::RoundedSquare)),
    shape("capo3", solid(3840, 8040, 135, 135, rgb(0x808080))),
    shape("capo2", solid(3360, 8040, 135, 135, rgb(0x808080))),
    shape("capo1", solid(3360, 8160, 615, 135, rgb(0x808080))),
    label("ven2", part(3360, 7680, 615, 255, rgb(0x000000))),
    // The rival's headlights keep the shapes' own default colour.
    shape("luz2", {.left = 3840, .top = 7320, .width = 135, .height = 135, .shape = ShapeKind::Circle,
                   .back_style = BackStyle::Opaque}),
    shape("luz1", {.left = 3360, .top = 7320, .width = 135, .height = 135, .shape = ShapeKind::Circle,
                   .back_style = BackStyle::Opaque}),
    shape("porch", solid(3360, 7320, 615, 1215, rgb(0xFFFF00), ShapeKind::RoundedRectangle)),
    label("centro", part(720, 8040, 135, 135, rgb(0xFFFFFF))),
    label("azu", part(840, 8040, 135, 135, rgb(0x0000FF))),
    label("ro", part(600, 8040, 135, 135, rgb(0xFF0000))),
    label("vent", part(480, 8280, 615, 135, rgb(0x00FFFF))),
    label("ven1", part(480, 7680, 615, 255, rgb(0x00FFFF))),
    label("luz6", part(960, 7320, 135, 135, rgb(0xFFFF00))),
    label("luz5", part(480, 7320, 135, 135, rgb(0xFFFF00))),
    label("poli", part(480, 7320, 615, 1335, rgb(0x000000))),
    label("play3", {.left = 480, .top = 2880, .width = 4095, .height = 735,
                    .caption = "Draw         Game   ", // 9 and 3 spaces
                    .back_color = rgb(0x404040), .back_style = BackStyle::Transparent, .fore_color = rgb(0x0000FF),
                    .font = kResultFont, .visible = false}),
    label("play2", winner(2760, "Winner")),
    label("play1", winner(240, "Winner")),
    label("Label32", part(2160, 960, 375, 7575, rgb(0x808080))),
    line("Line1", {.x1 = 0, .y1 = 7200, .x2 = 4800, .y2 = 7200, .border_color = rgb(0x00C000), .border_width = 3}),
    label("Label31", {.left = 1080, .top = 0, .width = 2535, .height = 495, .caption = "META",
                      .back_style = BackStyle::Transparent, .fore_color = rgb(0x00FF00),
                      .alignment = Alignment::Centre,
                      .font = {.face = "Copperplate Gothic Bold", .size = 15.75, .bold = true, .italic = true}}),
    label("Label22", square(4080, 720)),
    label("Label19", square(4320, 480)),
    label("Label18", square(3840, 480)),
    label("Label17", square(720, 720)),
    label("Label16", square(960, 480)),
    label("Label14", square(1200, 720)),
    label("Label12", square(1440, 480)),
    label("Label11", square(1680, 720)),
    label("Label10", square(1920, 480)),
    label("Label9", square(2160, 720)),
    label("Label8", square(2400, 480)),
    label("Label7", square(2640, 720)),
    label("Label6", square(2880, 480)),
    label("Label5", square(3120, 720)),
    label("Label4", square(3360, 480)),
    label("Label2", square(3600, 720)),
    label("Label15", square(240, 720)),
    label("Label13", square(0, 480)),
    label("Label3", square(480, 480)),
    label("Label1", part(-240, 480, 4815, 495, rgb(0x000000))),
};

constexpr CounterRow kCounters[] = {variant("pol"), variant("por"), int16("cont")};

} // namespace

SceneTable race_table() {
    return {
        .name = "Form2",
        .window = {.caption = "Form2", .back_color = rgb(0x404040), .fore_color = rgb(0x000000),
                   .client_width = 4590, .client_height = 8595},
        .controls = kControls,
        .counters = kCounters,
    };
}

// clang-format on
} // namespace guardianes
