// SPDX-License-Identifier: GPL-3.0-or-later
#include "paint/caption_cache.h"

namespace guardianes {

const CaptionCache::Text& CaptionCache::text(Place place, const LabelProps& label, int area_width) {
    Entry& entry = entries_[place];
    const bool current = entry.text.typeface && entry.caption == label.caption && entry.area_width == area_width &&
                         entry.alignment == label.alignment && entry.font == label.font;
    if (current) return entry.text;
    entry.caption = label.caption;
    entry.area_width = area_width;
    entry.alignment = label.alignment;
    entry.font = label.font;
    entry.text.typeface = &fonts_->typeface(label.font);
    entry.text.lines = layout_caption(label.caption, area_width, label.alignment, *entry.text.typeface);
    return entry.text;
}

} // namespace guardianes
