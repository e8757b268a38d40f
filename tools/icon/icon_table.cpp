// SPDX-License-Identifier: GPL-3.0-or-later
// The icon, drawn on a grid of 64 x 64 cells so that its table reads like a
// sketch on squared paper; each cell is 12 pixels of the canvas.

#include "tools/icon/icon_table.h"

// The table reads like the picture it draws, one row per control: its
// layout is kept by hand.
// clang-format off
namespace guardianes {

namespace {

constexpr int kCells = 64;
constexpr int kCellPixels = kIconCanvas / kCells;
constexpr Twips kCell = kCellPixels * kTwipsPerPixel;

LabelProps block(int left, int top, int width, int height, std::uint32_t colour) {
    return {.left = left * kCell, .top = top * kCell, .width = width * kCell, .height = height * kCell,
            .back_color = rgb(colour)};
}

// Outlines are given in pixels, so a one-cell outline is a cell's pixels wide.
ShapeProps figure(ShapeKind kind, int left, int top, int width, int height, std::uint32_t fill,
                  std::uint32_t border, int border_cells) {
    return {.left = left * kCell, .top = top * kCell, .width = width * kCell, .height = height * kCell,
            .shape = kind, .back_style = BackStyle::Opaque, .back_color = rgb(fill), .border_color = rgb(border),
            .border_width = border_cells * kCellPixels};
}

} // namespace

SceneTable icon_table() {
    return {
        .name = "Icon",
        .window = {.caption = "Guardianes", .back_color = rgb(kIconClear), .client_width = kCells * kCell,
                   .client_height = kCells * kCell},
        .controls = {
            // The warning lights on the roof, flashing red and blue.
            shape("luz1", figure(ShapeKind::Circle, 20, 9, 9, 9, 0xFF0000, 0x800000, 1)),
            shape("luz2", figure(ShapeKind::Circle, 35, 9, 9, 9, 0x0000FF, 0x000080, 1)),
            // The red cross on the roof.
            label("cru1", block(23, 24, 18, 6, 0xFF0000)),
            label("cru2", block(29, 18, 6, 18, 0xFF0000)),
            // The front: windscreen, headlights and bumper, facing down.
            label("para", block(20, 40, 24, 8, 0x80FFFF)),
            label("lc1", block(18, 52, 6, 4, 0xFFFF00)),
            label("lc2", block(40, 52, 6, 4, 0xFFFF00)),
            label("bom", block(26, 53, 12, 3, 0xC0C0C0)),
            // The side mirrors, so that the body reads as a vehicle seen from above.
            label("espejo1", block(11, 36, 5, 4, 0x000000)),
            label("espejo2", block(48, 36, 5, 4, 0x000000)),
            shape("cuerpo", figure(ShapeKind::RoundedRectangle, 15, 6, 34, 52, 0xFFFFFF, 0x000000, 1)),
            // The tile: the menu's dark grey inside its yellow edge.
            shape("fondo", figure(ShapeKind::RoundedSquare, 1, 1, 62, 62, 0x404040, 0xFFFF00, 2)),
        },
    };
}

// clang-format on
} // namespace guardianes
