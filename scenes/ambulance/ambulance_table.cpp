// SPDX-License-Identifier: GPL-3.0-or-later
// The patient: a bear built from orange circles in front of a green panel,
// its vital-signs monitor below, the resuscitation device on the left, and
// the cup, bottle and syringe it is cared for with. The speech captions, their
// bubble trails and everything the resuscitation brings out wait hidden.

#include "scenes/ambulance/ambulance.h"

// The table reads like the picture it draws, one row per control: its
// layout is kept by hand.
// clang-format off
namespace guardianes {

namespace {

constexpr Font kSpeechFont{.size = 18, .bold = true, .italic = true};
constexpr Font kClickFont{.bold = true, .italic = true, .underline = true};

// Every figure of the patient and its props is filled.
constexpr ShapeProps solid(ShapeKind kind, Twips left, Twips top, Twips width, Twips height, Colour back) {
    return {.left = left, .top = top, .width = width, .height = height, .shape = kind,
            .back_style = BackStyle::Opaque, .back_color = back};
}

constexpr ShapeProps circle(Twips left, Twips top, Twips width, Twips height, Colour back) {
    return solid(ShapeKind::Circle, left, top, width, height, back);
}

constexpr ShapeProps oval(Twips left, Twips top, Twips width, Twips height, Colour back) {
    return solid(ShapeKind::Oval, left, top, width, height, back);
}

// The bubbles keep the shapes' own default colours: white with a black outline.
constexpr ShapeProps bubble(Twips left, Twips top, Twips width, Twips height) {
    return {.left = left, .top = top, .width = width, .height = height, .shape = ShapeKind::Circle,
            .back_style = BackStyle::Opaque, .visible = false};
}

// The two speech corners each hold two captions in one rectangle.
constexpr LabelProps speech(Twips left, std::string_view caption) {
    return {.left = left, .top = 0, .width = 2415, .height = 495, .caption = caption,
            .back_color = rgb(0xFFFFFF), .fore_color = rgb(0xFF0000), .font = kSpeechFont, .visible = false};
}

constexpr LabelProps pad(Twips left, Twips top) {
    return {.left = left, .top = top, .width = 375, .height = 615, .back_color = rgb(0x000000),
            .border_style = BorderStyle::FixedSingle, .visible = false};
}

constexpr LineProps cross(Twips x1, Twips y1, Twips x2, Twips y2) {
    return {.x1 = x1, .y1 = y1, .x2 = x2, .y2 = y2, .border_width = 2, .visible = false};
}

constexpr LineProps cable(Twips x1, Twips y1, Twips x2, Twips y2) {
    return {.x1 = x1, .y1 = y1, .x2 = x2, .y2 = y2, .border_width = 3, .visible = false};
}

constexpr LineProps trace(Twips x1, Twips y1, Twips x2, Twips y2) {
    return {.x1 = x1, .y1 = y1, .x2 = x2, .y2 = y2, .border_color = rgb(0x00FF00), .border_width = 3};
}

// The syringe's rod and needle are 15 twips high, so their caption never shows.
constexpr LabelProps bar(Twips left, Twips top, std::string_view caption) {
    return {.left = left, .top = top, .width = 375, .height = 15, .caption = caption};
}

constexpr ControlRow kControls[] = {
    timer("Timer5", {.interval = 150, .enabled = false}),
    timer("Timer4", {.interval = 150, .enabled = false}),
    timer("Timer3", {.interval = 150, .enabled = false}),
    timer("Timer2", {.interval = 150, .enabled = false}),
    timer("Timer1", {.interval = 250}),
    line("e2", cross(3840, 1440, 3600, 1680)),
    line("e1", cross(3600, 1440, 3840, 1680)),
    line("e4", cross(4200, 1440, 3960, 1680)),
    line("e3", cross(3960, 1440, 4200, 1680)),
    shape("Shape9", circle(3720, 1800, 375, 375, rgb(0xFF0000))),
    label("va4", bar(5880, 3960, "Label1")),
    line("ro", {.x1 = 3120, .y1 = 5760, .x2 = 4680, .y2 = 5760, .border_color = rgb(0xFF0000),
                .border_width = 3, .visible = false}),
    line("v7", trace(4320, 5760, 4680, 5760)),
    line("v6", trace(4200, 5640, 4320, 5760)),
    line("v5", trace(3960, 5760, 4200, 5640)),
    line("v3", trace(3600, 5640, 3720, 5760)),
    line("v2", trace(3360, 5760, 3600, 5640)),
    line("v4", trace(3720, 5760, 3960, 5760)),
    line("v1", trace(3120, 5760, 3360, 5760)),
    label("agua", speech(5640, "!!Glu,Glu,Glu!")),
    label("comida", speech(0, "!!!MMMM....!!")),
    label("ala4", pad(4200, 3240)),
    label("ala3", pad(3360, 3000)),
    line("ala2", cable(1920, 3960, 4320, 3600)),
    line("ala1", cable(1920, 3480, 3360, 3240)),
    label("Label13", {.left = 600, .top = 3960, .width = 735, .height = 255, .caption = "Energia",
                      .back_color = rgb(0xFFFF00), .border_style = BorderStyle::FixedSingle}),
    label("Label12", {.left = 600, .top = 3960, .width = 975, .height = 255,
                      .border_style = BorderStyle::FixedSingle}),
    label("Label11", {.left = 360, .top = 3480, .width = 1575, .height = 975,
                      .caption = "    RCP                ", // 4 and 16 spaces
                      .back_color = rgb(0x808080),
                      .border_style = BorderStyle::FixedSingle,
                      .font = {.size = 13.5, .bold = true, .italic = true}}),
    label("Label10", {.left = 3120, .top = 5520, .width = 1575, .height = 495, .back_color = rgb(0x000000),
                      .border_style = BorderStyle::FixedSingle}),
    label("Label9", {.left = 3000, .top = 5280, .width = 1815, .height = 975, .caption = "Singnos Vitales",
                     .back_color = rgb(0x404040), .fore_color = rgb(0xFF0000),
                     .border_style = BorderStyle::FixedSingle, .alignment = Alignment::Centre}),
    label("rcp", speech(0, "!!!AAAAAAH!!")),
    label("vacuna", speech(5640, "!!!!!!!Auch!!!!!!")),
    shape("bur4", bubble(2520, 0, 495, 495)),
    shape("bur3", bubble(3120, 120, 375, 495)),
    shape("bur2", bubble(3480, 480, 255, 255)),
    shape("bur1", bubble(3600, 840, 135, 135)),
    shape("bur8", bubble(5160, 0, 495, 495)),
    shape("bur7", bubble(4680, 240, 375, 495)),
    shape("bur6", bubble(4440, 600, 255, 255)),
    shape("bur5", bubble(4560, 960, 135, 135)),
    label("ag2", {.left = 6720, .top = 1320, .width = 375, .height = 255, .caption = "Click",
                  .back_color = rgb(0xFFFFFF), .fore_color = rgb(0xFF0000), .alignment = Alignment::Centre,
                  .font = {.underline = true}}),
    label("lbl", {.left = 480, .top = 1440, .width = 735, .height = 495, .caption = "          Click", // 10 spaces
                  .back_color = rgb(0x008080), .alignment = Alignment::Centre, .font = kClickFont}),
    shape("tasa", circle(480, 1560, 735, 735, rgb(0x0000C0))),
    label("va1", {.left = 7080, .top = 3840, .width = 135, .height = 255, .back_color = rgb(0xC0C0C0)}),
    label("va2", {.left = 6240, .top = 3840, .width = 735, .height = 255, .caption = "Click",
                  .back_color = rgb(0x0000FF), .fore_color = rgb(0xFFFFFF), .alignment = Alignment::Centre,
                  .font = kClickFont}),
    shape("oso7", oval(4080, 4080, 615, 615, rgb(0xFF8000))),
    shape("oso8", oval(3120, 4080, 615, 615, rgb(0xFF8000))),
    shape("oso5", circle(4320, 2280, 375, 855, rgb(0xFF8000))),
    shape("oso6", circle(3120, 2280, 375, 855, rgb(0xFF8000))),
    label("cam", {.left = 3000, .top = 2520, .width = 1815, .height = 1815, .back_color = rgb(0xFFFFFF),
                  .border_style = BorderStyle::FixedSingle}),
    shape("oso2", circle(4200, 960, 375, 375, rgb(0xFF8000))),
    shape("oso1", circle(3240, 960, 375, 375, rgb(0xFF8000))),
    shape("oso4", circle(3600, 1800, 615, 615, rgb(0xFF8000))),
    shape("ojo2", circle(4080, 1560, 135, 135, rgb(0x000000))),
    shape("ojo1", circle(3600, 1560, 135, 135, rgb(0x000000))),
    shape("ojo4", circle(3960, 1440, 375, 375, rgb(0xFFFFFF))),
    shape("ojo3", circle(3480, 1440, 375, 375, rgb(0xFFFFFF))),
    shape("oso3", circle(3240, 960, 1335, 1575, rgb(0xFF8000))),
    shape("Shape2", solid(ShapeKind::RoundedRectangle, 3120, 2280, 1575, 2175, rgb(0xC00000))),
    shape("Shape6", {.left = 2880, .top = 600, .width = 2055, .height = 4335,
                     .shape = ShapeKind::RoundedRectangle, .back_style = BackStyle::Opaque,
                     .back_color = rgb(0x008000), .border_color = rgb(0xFFFFFF)}),
    label("ag1", {.left = 6720, .top = 1440, .width = 375, .height = 1095,
                  .caption = "            A       G      U      A", // 12, 7, 6 and 6 spaces: a letter a line
                  .back_color = rgb(0x00FFFF)}),
    label("va3", bar(6840, 3960, "Label1")),
    // The patient's normal colour is read from this swatch, which the device covers.
    shape("ana", circle(360, 3480, 375, 375, rgb(0xFF8000))),
};

constexpr CounterRow kCounters[] = {variant("ojo"), int16("shock"), variant("vacun"), variant("agua2"), variant("tas")};

} // namespace

SceneTable ambulance_table() {
    return {
        .name = "Form4",
        .window = {.caption = "Form4", .back_color = rgb(0x008080), .client_width = 8145, .client_height = 6570},
        .controls = kControls,
        .counters = kCounters,
    };
}

// clang-format on
} // namespace guardianes
