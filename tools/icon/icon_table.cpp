// SPDX-License-Identifier: GPL-3.0-or-later
// The icon, drawn on a grid of square cells so that its table reads like a
// sketch on squared paper: the tile is 64 cells across, and the maskable
// icon puts the same vehicle in the middle of 96.

#include "tools/icon/icon_table.h"

#include <array>

// The table reads like the picture it draws, one row per control: its
// layout is kept by hand.
// clang-format off
namespace guardianes {

namespace {

// Where the vehicle's 64 cells lie on the canvas, and how large a cell is.
struct Grid {
    int offset;
    int cell_pixels;

    constexpr Twips at(int cells) const { return (offset + cells) * cell_pixels * kTwipsPerPixel; }
    constexpr Twips span(int cells) const { return cells * cell_pixels * kTwipsPerPixel; }
};

constexpr Grid kTileGrid{.offset = 0, .cell_pixels = kIconCanvas / 64};
constexpr Grid kMaskableGrid{.offset = (96 - 64) / 2, .cell_pixels = kIconCanvas / 96};

constexpr LabelProps block(const Grid& g, int left, int top, int width, int height, std::uint32_t colour) {
    return {.left = g.at(left), .top = g.at(top), .width = g.span(width), .height = g.span(height),
            .back_color = rgb(colour)};
}

// Outlines are given in pixels, so a one-cell outline is a cell's pixels wide.
constexpr ShapeProps figure(const Grid& g, ShapeKind kind, int left, int top, int width, int height, std::uint32_t fill,
                            std::uint32_t border, int border_cells) {
    return {.left = g.at(left), .top = g.at(top), .width = g.span(width), .height = g.span(height),
            .shape = kind, .back_style = BackStyle::Opaque, .back_color = rgb(fill), .border_color = rgb(border),
            .border_width = border_cells * g.cell_pixels};
}

// The vehicle on a grid, and last, beneath it, the tile's own background,
// which the maskable icon leaves out.
constexpr std::array<ControlRow, 12> icon_rows(const Grid& g) {
    return {{
        // The warning lights on the roof, flashing red and blue.
        shape("luz1", figure(g, ShapeKind::Circle, 20, 9, 9, 9, 0xFF0000, 0x800000, 1)),
        shape("luz2", figure(g, ShapeKind::Circle, 35, 9, 9, 9, 0x0000FF, 0x000080, 1)),
        // The red cross on the roof.
        label("cru1", block(g, 23, 24, 18, 6, 0xFF0000)),
        label("cru2", block(g, 29, 18, 6, 18, 0xFF0000)),
        // The front: windscreen, headlights and bumper, facing down.
        label("para", block(g, 20, 40, 24, 8, 0x80FFFF)),
        label("lc1", block(g, 18, 52, 6, 4, 0xFFFF00)),
        label("lc2", block(g, 40, 52, 6, 4, 0xFFFF00)),
        label("bom", block(g, 26, 53, 12, 3, 0xC0C0C0)),
        // The side mirrors, so that the body reads as a vehicle seen from above.
        label("espejo1", block(g, 11, 36, 5, 4, 0x000000)),
        label("espejo2", block(g, 48, 36, 5, 4, 0x000000)),
        shape("cuerpo", figure(g, ShapeKind::RoundedRectangle, 15, 6, 34, 52, 0xFFFFFF, 0x000000, 1)),
        // The tile: the menu's dark grey inside its yellow edge.
        shape("fondo", figure(g, ShapeKind::RoundedSquare, 1, 1, 62, 62, 0x404040, 0xFFFF00, 2)),
    }};
}

constexpr auto kTileRows = icon_rows(kTileGrid);
constexpr auto kMaskableRows = icon_rows(kMaskableGrid);

} // namespace

SceneTable icon_table(IconShape form) {
    const bool tile = form == IconShape::Tile;
    const std::span<const ControlRow> rows = tile ? std::span(kTileRows) : std::span(kMaskableRows).first(11);
    return {
        .name = "Icon",
        .window = {.caption = "Guardianes", .back_color = rgb(tile ? kIconClear : 0x404040),
                   .client_width = kIconCanvas * kTwipsPerPixel, .client_height = kIconCanvas * kTwipsPerPixel},
        .controls = rows,
    };
}

// clang-format on
} // namespace guardianes
