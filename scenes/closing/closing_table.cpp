// SPDX-License-Identifier: GPL-3.0-or-later
// The closing street: a traffic light over a crossing, a car with a red
// light bar waiting below the window on the side road, a truck towing the two credits trailers
// beyond its right edge, a night sky kept hidden, and a palette of colour
// squares far outside the window for the handlers to copy from.

#include "scenes/closing/closing.h"

// The table reads like the picture it draws, one row per control: its
// layout is kept by hand.
// clang-format off
namespace guardianes {

namespace {

// The car, the truck, the sky and the grass are bordered labels.
constexpr LabelProps part(Twips left, Twips top, Twips width, Twips height, Colour back) {
    return {.left = left, .top = top, .width = width, .height = height, .back_color = back,
            .border_style = BorderStyle::FixedSingle};
}

// Wheels, hubs, lamps and the moon are filled circles.
constexpr ShapeProps disc(Twips left, Twips top, Twips size, Colour back) {
    return {.left = left, .top = top, .width = size, .height = size, .shape = ShapeKind::Circle,
            .back_style = BackStyle::Opaque, .back_color = back};
}

// The stars keep the shapes' default white and wait hidden until night.
constexpr ShapeProps star(Twips left, Twips top) {
    return {.left = left, .top = top, .width = 135, .height = 135, .shape = ShapeKind::Circle,
            .back_style = BackStyle::Opaque, .visible = false};
}

// The palette squares lie outside the window and are never drawn in it.
constexpr LabelProps swatch(Twips left, Twips top, Colour back) {
    return {.left = left, .top = top, .width = 375, .height = 375, .back_color = back};
}

constexpr ControlRow kControls[] = {
    timer("Timer4", {.interval = 165}),
    timer("Timer3", {.interval = 150, .enabled = false}),
    timer("Timer2", {.interval = 200}),
    timer("Timer1", {.interval = 200}),
    label("lbl", {.left = 600, .top = 1560, .width = 2295, .height = 855, .caption = "Thank You For Playing",
                  .back_color = rgb(0x000000), .fore_color = rgb(0xFF0000),
                  .font = {.face = "MS Sans Serif", .size = 18, .bold = true, .italic = true},
                  .visible = false}),
    shape("es4", star(3000, 1080)),
    shape("es6", {.left = 2520, .top = 120, .width = 855, .height = 855, .shape = ShapeKind::Circle,
                  .back_style = BackStyle::Opaque, .back_color = rgb(0xFFFF00), .visible = false}),
    shape("es2", star(1080, 120)),
    shape("es1", star(240, 480)),
    shape("es3", star(840, 960)),
    shape("es5", star(2040, 1080)),
    label("azu4", swatch(10680, 6000, rgb(0x000040))),
    label("azu3", swatch(10200, 6000, rgb(0x000080))),
    label("azu2", swatch(10680, 5520, rgb(0x0000C0))),
    label("ana", swatch(10200, 5040, rgb(0xFF8000))),
    label("an2", swatch(10680, 5040, rgb(0x804000))),
    label("azu1", swatch(10200, 5520, rgb(0x0000FF))),
    label("ro2", swatch(10680, 4080, rgb(0x800000))),
    label("ama", swatch(10200, 4560, rgb(0xFFFF00))),
    label("ama2", swatch(10680, 4560, rgb(0x808000))),
    label("ro", swatch(10200, 4080, rgb(0xFF0000))),
    label("luz9", part(1920, 6720, 255, 135, rgb(0x000000))),
    label("luz8", part(1440, 6720, 255, 135, rgb(0x000000))),
    label("luz4", part(2040, 6600, 135, 135, rgb(0xFF8000))),
    label("luz3", part(1440, 6600, 135, 135, rgb(0xFF8000))),
    label("luz5", part(1680, 5880, 255, 135, rgb(0x808080))),
    label("luz2", part(1920, 5880, 135, 135, rgb(0xFF0000))),
    label("luz1", part(1560, 5880, 135, 135, rgb(0xFF0000))),
    label("luz7", part(1920, 6240, 135, 255, rgb(0x00FFFF))),
    label("luz6", part(1560, 6240, 135, 255, rgb(0x00FFFF))),
    label("luz10", part(1440, 6000, 735, 735, rgb(0xFFFFFF))),
    shape("sem3", disc(1920, 600, 135, rgb(0x00FF00))),
    shape("sem2", disc(1920, 360, 135, rgb(0x808000))),
    shape("sem1", disc(1920, 120, 135, rgb(0x800000))),
    shape("Shape15", {.left = 1800, .width = 375, .height = 855, .back_style = BackStyle::Opaque,
                      .back_color = rgb(0x404040)}),
    shape("ba9", disc(11400, 3120, 255, rgb(0x808080))),
    shape("ba10", disc(10320, 3120, 255, rgb(0x808080))),
    shape("ba8", disc(11280, 3000, 495, rgb(0x000000))),
    shape("ba7", disc(10200, 3000, 495, rgb(0x000000))),
    // Each run of 40 spaces is wider than the trailer's box, so every
    // phrase of the credits starts a line of its own.
    label("ba6", {.left = 10080, .top = 2040, .width = 1815, .height = 1215,
                  .caption = "Guardianes                                        "
                             "a game made by                                        "
                             "the Guardianes                                        "
                             "project and                                        "
                             "its contributors",
                  .back_color = rgb(0x008080), .fore_color = rgb(0x00FF00),
                  .border_style = BorderStyle::FixedSingle}),
    label("ba11", part(9840, 3120, 255, 135, rgb(0x000000))),
    shape("ba3", disc(9360, 3120, 255, rgb(0x808080))),
    shape("ba2", disc(8280, 3120, 255, rgb(0x808080))),
    shape("ba4", disc(8160, 3000, 495, rgb(0x000000))),
    shape("ba5", disc(9240, 3000, 495, rgb(0x000000))),
    label("cam12", part(7800, 3120, 255, 135, rgb(0x000000))),
    label("ba1", {.left = 8040, .top = 2040, .width = 1815, .height = 1215, .caption = "         Credits", // 9 spaces
                  .back_color = rgb(0xFFFF00), .fore_color = rgb(0x8080FF),
                  .border_style = BorderStyle::FixedSingle, .alignment = Alignment::Centre,
                  .font = {.face = "MS Sans Serif", .size = 13.5, .bold = true, .italic = true}}),
    label("Label6", {.top = 3480, .width = 11895, .height = 375,
                     .border_style = BorderStyle::FixedSingle}),
    shape("cam7", disc(7320, 3120, 255, rgb(0x808080))),
    shape("cam8", disc(5880, 3120, 255, rgb(0x808080))),
    shape("cam4", disc(5640, 2880, 135, rgb(0xFFFF00))),
    shape("cam11", disc(7200, 3000, 495, rgb(0x000000))),
    shape("cam10", disc(5760, 3000, 495, rgb(0x000000))),
    label("cam3", part(5640, 3120, 2175, 135, rgb(0x808080))),
    label("cam6", part(7680, 2880, 135, 135, rgb(0xFF8000))),
    label("cam9", part(5760, 2160, 255, 135, rgb(0xFFFF00))),
    shape("cam2", {.left = 6120, .top = 2040, .width = 1695, .height = 735,
                   .shape = ShapeKind::RoundedRectangle, .back_style = BackStyle::Opaque,
                   .back_color = rgb(0xC00000)}),
    label("cam5", part(5640, 2400, 495, 375, rgb(0x00FFFF))),
    label("cam1", part(5640, 2280, 2175, 975, rgb(0xC00000))),
    label("cielo", part(0, 0, 11895, 3495, rgb(0x0000C0))),
    line("Line1", {.x1 = 1800, .y1 = 3960, .x2 = 1800, .y2 = 4680, .border_color = rgb(0xFFFFFF),
                   .border_width = 2}),
    line("Line2", {.x1 = 1800, .y1 = 5040, .x2 = 1800, .y2 = 5760, .border_color = rgb(0xFFFFFF),
                   .border_width = 2}),
    label("Label13", {.left = 600, .top = 3840, .width = 2415, .height = 3135, .fore_color = rgb(0x000000),
                      .border_style = BorderStyle::FixedSingle}),
    label("grama", part(0, 3840, 11895, 3135, rgb(0x008000))),
};

constexpr CounterRow kCounters[] = {variant("a"), variant("b"), int16("c")};

} // namespace

SceneTable closing_table() {
    return {
        .name = "Form5",
        .window = {.caption = "Form5", .back_color = rgb(0x404040), .fill_color = rgb(0xFFFF00),
                   .client_width = 4050, .client_height = 5655},
        .controls = kControls,
        .counters = kCounters,
    };
}

// clang-format on
} // namespace guardianes
