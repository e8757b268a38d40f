// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paint/caption_layout.h"
#include "paint/typeface.h"

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

namespace guardianes {

// The lines of every caption the painter has laid out, and the typeface
// they are drawn in, kept until the label's caption, width, alignment or
// font changes. A repaint then finds its text ready: no font lookup, no
// layout and no allocation, however often a tick repaints the label.
class CaptionCache {
public:
    struct Text {
        const Typeface* typeface = nullptr;
        std::vector<CaptionLine> lines;
    };

    // Where a label stands: its scene's index and its place in the scene's
    // list of controls. Both are the same in every game, so a new game's
    // labels take the entries of the game before and a game started anew
    // all day long adds none; a place taken by a label of another caption,
    // width, alignment or font is laid out anew.
    struct Place {
        std::size_t scene = 0;
        std::size_t control = 0;
        friend bool operator==(const Place&, const Place&) = default;
    };

    explicit CaptionCache(GlyphSource& fonts) : fonts_(&fonts) {}

    // The text of the label at `place`, laid out in a text area
    // `area_width` pixels wide.
    const Text& text(Place place, const LabelProps& label, int area_width);

    // How many captions it keeps.
    std::size_t size() const { return entries_.size(); }

private:
    // What a layout depends on, to tell when it is out of date.
    struct Entry {
        std::string caption;
        int area_width = 0;
        Alignment alignment = Alignment::Left;
        Font font;
        Text text;
    };
    // No scene has near 1024 controls, so no two places share a hash.
    struct PlaceHash {
        std::size_t operator()(const Place& place) const { return (place.scene << 10) + place.control; }
    };

    GlyphSource* fonts_;
    std::unordered_map<Place, Entry, PlaceHash> entries_;
};

} // namespace guardianes
