// SPDX-License-Identifier: GPL-3.0-or-later
// The fire: a grey building with eight burning windows on the right, and on
// the left the fire engine seen from the front, the pump and a fire-fighter
// whose hose points at the building. The water jet, the rubble and the two
// result texts wait hidden until the game needs them.

#include "scenes/fire/fire.h"

// The table reads like the picture it draws, one row per control: its
// layout is kept by hand.
// clang-format off
namespace guardianes {

namespace {

constexpr Colour kNavy = rgb(0x000080);
constexpr Colour kCyan = rgb(0x00FFFF);
constexpr Colour kRed = rgb(0xFF0000);
constexpr Colour kYellow = rgb(0xFFFF00);
constexpr Colour kSkin = rgb(0xFFC080);

// The building, the engine and the ground are built from bordered labels.
constexpr LabelProps part(Twips left, Twips top, Twips width, Twips height, Colour back) {
    return {.left = left, .top = top, .width = width, .height = height, .back_color = back,
            .border_style = BorderStyle::FixedSingle};
}

constexpr LabelProps plain(Twips left, Twips top, Twips width, Twips height, Colour back) {
    return {.left = left, .top = top, .width = width, .height = height, .back_color = back};
}

// The texts along the top are cyan on the navy of the window.
constexpr LabelProps readout(Twips left, Twips width, Twips height, std::string_view caption) {
    return {.left = left, .top = 240, .width = width, .height = height, .caption = caption,
            .back_color = kNavy, .fore_color = kCyan};
}

// One black strip of the heap of rubble, hidden until the building is lost.
constexpr LabelProps rubble(Twips left, Twips top, Twips width) {
    return {.left = left, .top = top, .width = width, .height = 135, .back_color = rgb(0x000000), .visible = false};
}

// One stroke of the water jet, hidden until the pump shows its set.
constexpr LineProps jet(Twips x1, Twips y1, Twips x2, Twips y2) {
    return {.x1 = x1, .y1 = y1, .x2 = x2, .y2 = y2, .border_color = kCyan, .visible = false};
}

constexpr LabelProps result(std::string_view caption, Alignment alignment) {
    return {.left = 1080, .top = 1320, .width = 2295, .height = 615, .caption = caption,
            .back_color = rgb(0x000000), .fore_color = rgb(0xFF0000), .alignment = alignment,
            .font = {.size = 24}, .visible = false};
}

constexpr ControlRow kControls[] = {
    timer("Timer2", {.interval = 110, .enabled = false}),
    timer("Timer1", {.interval = 100}),
    label("ven8", part(6960, 3720, 735, 735, kRed)),
    label("ven7", part(5760, 3720, 735, 735, kRed)),
    label("ven6", part(6960, 2640, 735, 735, kRed)),
    label("ven5", part(5760, 2640, 735, 735, kRed)),
    label("ven4", part(6960, 1560, 735, 735, kRed)),
    label("ven3", part(5760, 1560, 735, 735, kRed)),
    label("ven2", part(6960, 480, 735, 735, kRed)),
    label("ven1", part(5760, 480, 735, 735, kRed)),
    label("ama1", part(5760, 480, 735, 735, kYellow)),
    label("ama7", part(5760, 3720, 735, 735, kYellow)),
    label("ama8", part(6960, 3720, 735, 735, kYellow)),
    label("ama6", part(6960, 2640, 735, 735, kYellow)),
    label("ama4", part(6960, 1560, 735, 735, kYellow)),
    label("ama5", part(5760, 2640, 735, 735, kYellow)),
    label("ama3", part(5760, 1560, 735, 735, kYellow)),
    label("ama2", part(6960, 480, 735, 735, kYellow)),
    label("win", result("You Win", Alignment::Centre)),
    line("Line30", jet(5520, 2880, 5280, 3000)),
    line("Line29", jet(3720, 3960, 3840, 3720)),
    line("Line28", jet(4200, 3720, 4440, 3600)),
    line("Line27", jet(5040, 3480, 5280, 3360)),
    line("Line26", jet(5160, 3000, 5400, 2760)),
    line("Line25", jet(4320, 3360, 4440, 3240)),
    line("Line24", jet(5160, 3720, 5280, 3600)),
    line("Line23", jet(3720, 3720, 4080, 3360)),
    line("Line22", jet(4800, 3120, 5040, 3000)),
    line("Line21", jet(3360, 3840, 3600, 3600)),
    line("Line20", jet(4560, 3480, 4920, 3240)),
    line("Line19", jet(3120, 3720, 3240, 3600)),
    line("Line18", jet(4800, 3720, 5160, 3600)),
    line("Line17", jet(4440, 3960, 4680, 3840)),
    line("Line16", jet(3120, 3960, 3480, 3840)),
    line("Line15", jet(4440, 2640, 4200, 2760)),
    line("Line14", jet(3840, 3000, 3960, 2760)),
    line("Line13", jet(4800, 2280, 5040, 2160)),
    line("Line12", jet(5040, 1080, 5280, 960)),
    line("Line11", jet(3480, 2640, 3720, 2400)),
    line("Line10", jet(4800, 1680, 4920, 1560)),
    line("Line9", jet(4440, 2400, 4560, 2280)),
    line("Line8", jet(4440, 1680, 4800, 1320)),
    line("Line7", jet(3960, 2400, 4200, 2280)),
    line("Line6", jet(3120, 3240, 3360, 3000)),
    line("Line5", jet(5040, 1800, 5400, 1560)),
    line("Line4", jet(3480, 3120, 3600, 3000)),
    line("Line3", jet(4200, 2160, 4560, 2040)),
    line("Line2", jet(3720, 2640, 3960, 2520)),
    line("Line1", jet(3000, 3600, 3360, 3480)),
    label("Label5", plain(2880, 3840, 135, 135, rgb(0x000000))),
    label("s1", rubble(6600, 4200, 255)),
    label("s2", rubble(6480, 4320, 495)),
    label("s3", rubble(6360, 4440, 735)),
    label("s4", rubble(6240, 4560, 975)),
    label("s5", rubble(6120, 4680, 1215)),
    label("s6", rubble(6000, 4800, 1455)),
    label("s7", rubble(5880, 4920, 1695)),
    label("s8", rubble(5760, 5040, 1935)),
    label("s9", rubble(5640, 5160, 2175)),
    label("Label7", readout(3960, 735, 375, "Tiempo")),
    label("galones", readout(840, 1335, 255, "Galones de Agua")),
    label("galon", readout(840, 1335, 255, "Galon de Agua")),
    label("label2", {.left = 600, .top = 240, .width = 375, .height = 255, .caption = "3",
                     .back_style = BackStyle::Transparent, .fore_color = kCyan}),
    label("Label1", readout(4680, 375, 375, "0")),
    shape("tan", {.left = 1920, .top = 4080, .width = 255, .height = 495, .shape = ShapeKind::RoundedRectangle,
                  .back_style = BackStyle::Opaque, .back_color = rgb(0x800000)}),
    label("Label19", part(840, 5160, 375, 135, rgb(0x000000))),
    label("Label18", part(0, 5160, 375, 135, rgb(0x000000))),
    label("luz3", part(0, 4560, 375, 255, kYellow)),
    label("luz4", part(840, 4560, 375, 255, kYellow)),
    label("Label15", part(360, 4560, 495, 255, rgb(0xC0C0C0))),
    label("Label14", part(0, 3840, 1215, 495, kCyan)),
    label("luz2", part(720, 3480, 255, 135, rgb(0x800000))),
    label("Label12", part(480, 3480, 255, 135, rgb(0xC0C0C0))),
    label("luz1", part(240, 3480, 255, 135, rgb(0x800000))),
    label("Label10", {.left = 0, .top = 3600, .width = 1215, .height = 1575, .caption = "Bomberos M.",
                      .back_color = rgb(0x00C000), .fore_color = rgb(0xFFFFFF),
                      .border_style = BorderStyle::FixedSingle, .alignment = Alignment::Centre}),
    shape("Shape4", {.left = 2640, .top = 4200, .width = 135, .height = 135, .shape = ShapeKind::Circle,
                     .back_style = BackStyle::Opaque, .back_color = kSkin}),
    label("Label9", part(0, 5280, 7935, 375, rgb(0x808080))),
    label("Label8", part(1320, 4440, 375, 255, rgb(0x008000))),
    label("bomba", {.left = 1200, .top = 4680, .width = 615, .height = 855, .caption = "       AGUA", // 7 spaces
                    .back_color = rgb(0x008000), .fore_color = rgb(0xFFFFFF),
                    .border_style = BorderStyle::FixedSingle, .alignment = Alignment::Centre,
                    .font = {.bold = true, .italic = true, .underline = true}}),
    line("bra4", {.x1 = 3000, .y1 = 3840, .x2 = 1800, .y2 = 4920, .border_width = 3}),
    line("bra3", {.x1 = 2040, .y1 = 4560, .x2 = 2400, .y2 = 4560, .border_color = rgb(0x808000), .border_width = 4}),
    label("Label3", plain(2040, 4080, 375, 735, kYellow)),
    shape("Shape3", {.left = 2640, .top = 3960, .width = 135, .height = 135, .shape = ShapeKind::Circle,
                     .back_style = BackStyle::Opaque, .back_color = kSkin}),
    label("Label6", {.left = 2040, .top = 5160, .width = 495, .height = 135, .caption = "Label6",
                     .back_color = rgb(0x000000)}),
    line("bra5", {.x1 = 2280, .y1 = 4560, .x2 = 2280, .y2 = 5160, .border_width = 3}),
    shape("Shape2", {.left = 2280, .top = 3840, .width = 15, .height = 135}),
    label("go1", plain(1920, 3600, 375, 135, kRed)),
    label("Label4", plain(2040, 4560, 375, 615, rgb(0x0000C0))),
    line("go3", {.x1 = 2160, .y1 = 3720, .x2 = 2400, .y2 = 3720, .border_color = kRed, .border_width = 7}),
    line("go2", {.x1 = 2040, .y1 = 3720, .x2 = 2040, .y2 = 3960, .border_color = kRed, .border_width = 12}),
    line("bra1", {.x1 = 2640, .y1 = 4080, .x2 = 2280, .y2 = 4320, .border_color = kYellow, .border_width = 8}),
    shape("Shape1", {.left = 2040, .top = 3720, .width = 375, .height = 375, .shape = ShapeKind::Circle,
                     .back_style = BackStyle::Opaque, .back_color = kSkin}),
    label("edificio", part(5640, 0, 2415, 5295, rgb(0x404040))),
    line("bra2", {.x1 = 2400, .y1 = 4320, .x2 = 2640, .y2 = 4320, .border_color = kYellow, .border_width = 7}),
    label("lose", result("You Lose", Alignment::Left)),
};

constexpr CounterRow kCounters[] = {variant("cont1"), variant("cont2"), int16("fue")};

} // namespace

SceneTable fire_table() {
    return {
        .name = "Form3",
        .window = {.caption = "Form3", .back_color = kNavy, .client_width = 7995, .client_height = 5610},
        .controls = kControls,
        .counters = kCounters,
    };
}

// clang-format on
} // namespace guardianes
