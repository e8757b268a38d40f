// SPDX-License-Identifier: GPL-3.0-or-later
#include "paint/painter.h"

#include "paint/canvas.h"
#include "paint/figure.h"

#include <algorithm>
#include <iterator>

namespace guardianes {

namespace {

// The four greys of a sunken edge, and the two of a greyed caption.
constexpr Colour kShadow = rgb(0x808080);
constexpr Colour kDarkShadow = rgb(0x000000);
constexpr Colour kHighlight = rgb(0xFFFFFF);
constexpr Colour kLight = rgb(0xC0C0C0);
constexpr Colour kDisabledText = rgb(0x808080);
constexpr Colour kDisabledRelief = rgb(0xFFFFFF);

// One pixel ring: top and left first, then bottom and right, which thereby
// own the two corners where the light and dark sides meet.
void ring(Canvas& canvas, const PixelRect& r, Colour top_left, Colour bottom_right) {
    if (r.empty()) return;
    canvas.fill({r.x0, r.y0, r.x1, r.y0 + 1}, top_left);
    canvas.fill({r.x0, r.y0, r.x0 + 1, r.y1}, top_left);
    canvas.fill({r.x0, r.y1 - 1, r.x1, r.y1}, bottom_right);
    canvas.fill({r.x1 - 1, r.y0, r.x1, r.y1}, bottom_right);
}

void sunken_edge(Canvas& canvas, const PixelRect& r) {
    ring(canvas, r, kShadow, kHighlight);
    ring(canvas, r.shrunken(1), kDarkShadow, kLight);
}

// Draws the laid-out lines in one colour, shifted by (dx, dy) pixels; the
// canvas is already clipped to the text area.
void draw_lines(Canvas& canvas, const Typeface& typeface, const Font& font, const std::vector<CaptionLine>& lines,
                const PixelRect& area, Colour colour, int dx, int dy) {
    int top = area.y0 + dy;
    for (const CaptionLine& line : lines) {
        if (top >= canvas.clip().y1) break;
        canvas.text(area.x0 + line.x + dx, top + typeface.ascent(), line, typeface, font, colour);
        top += typeface.line_height();
    }
}

} // namespace

PixelRect text_area(const LabelProps& label) {
    const PixelRect r = to_pixels(box_of(label));
    return label.border_style == BorderStyle::FixedSingle ? r.shrunken(2) : r;
}

std::vector<CaptionLine> Painter::caption_lines(const LabelProps& label) {
    const PixelRect area = text_area(label);
    return layout_caption(label.caption, area.width(), label.alignment, fonts_->typeface(label.font));
}

void Painter::paint_label(Canvas& canvas, CaptionCache::Place place, const LabelProps& label, const PixelRect& rect) {
    if (label.back_style == BackStyle::Opaque) canvas.fill(rect, label.back_color);
    if (label.border_style == BorderStyle::FixedSingle) sunken_edge(canvas, rect);
    if (label.caption.empty()) return;
    const PixelRect area = text_area(label);
    Canvas text = canvas.clipped(area);
    if (text.clip().empty()) return;
    const CaptionCache::Text& laid_out = captions_.text(place, label, area.width());
    const Typeface& typeface = *laid_out.typeface;
    if (label.enabled) {
        draw_lines(text, typeface, label.font, laid_out.lines, area, label.fore_color, 0, 0);
    } else {
        draw_lines(text, typeface, label.font, laid_out.lines, area, kDisabledRelief, 1, 1);
        draw_lines(text, typeface, label.font, laid_out.lines, area, kDisabledText, 0, 0);
    }
}

void Painter::paint(const Scene& scene, Image& image) {
    const PixelRect client = scene.client_area();
    image.resize(client.width(), client.height());
    paint(scene, image, {0, 0, image.width, image.height});
    // Captions out of view or hidden are laid out now too, so that the tick
    // that brings one into view finds it ready and allocates nothing.
    const auto& controls = scene.controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i]->kind() != ControlKind::Label) continue;
        const LabelProps& label = static_cast<const Label&>(*controls[i]).props();
        const PixelRect area = text_area(label);
        if (!label.caption.empty()) captions_.text({scene.index(), i}, label, area.width());
    }
}

void Painter::paint(const Scene& scene, Image& image, PixelRect area) {
    Canvas canvas(image, area);
    if (canvas.clip().empty()) return;

    // The first opaque label in the list that covers the whole area hides
    // the scene's background and every control listed after it, so the
    // painting starts with that label: a sky behind a moving convoy, a lamp
    // that changes colour, is never painted over twice.
    const auto& controls = scene.controls();
    const auto hides_all = [&](const std::unique_ptr<Control>& control) {
        if (control->kind() != ControlKind::Label) return false;
        const auto& label = static_cast<const Label&>(*control);
        return label.visible() && label.props().back_style == BackStyle::Opaque &&
               to_pixels(label.rect()).intersected(canvas.clip()) == canvas.clip();
    };
    const auto cover = std::find_if(controls.begin(), controls.end(), hides_all);
    if (cover == controls.end()) canvas.fill(canvas.clip(), scene.back_color());
    const auto bottom = cover == controls.end() ? controls.rbegin() : std::make_reverse_iterator(cover + 1);

    // Each control is worked out only as far as needed to see whether it
    // reaches into the area at all: most do not, when a tick repaints a
    // small part of the scene.
    const auto reaches = [&](const PixelRect& bounds) { return !bounds.intersected(canvas.clip()).empty(); };
    for (auto it = bottom; it != controls.rend(); ++it) {
        const Control& control = **it;
        switch (control.kind()) {
        case ControlKind::Label: {
            const auto& label = static_cast<const Label&>(control);
            const PixelRect rect = to_pixels(label.rect());
            const CaptionCache::Place place{scene.index(), static_cast<std::size_t>(controls.rend() - it) - 1};
            if (label.visible() && reaches(rect)) paint_label(canvas, place, label.props(), rect);
            break;
        }
        case ControlKind::Shape: {
            const auto& shape = static_cast<const Shape&>(control);
            if (!shape.visible()) break;
            const Figure figure = figure_of(shape.props());
            if (reaches(figure.box)) canvas.shape(shape.props(), figure, runs_);
            break;
        }
        case ControlKind::Line: {
            const auto& line = static_cast<const Line&>(control);
            if (!line.visible()) break;
            const Stroke stroke = stroke_of(line.props());
            if (reaches(stroke.bounds())) canvas.line(stroke, line.props().border_color, runs_);
            break;
        }
        case ControlKind::Timer: break;
        }
    }
}

} // namespace guardianes
