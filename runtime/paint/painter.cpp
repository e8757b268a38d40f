#include "runtime/paint/painter.h"

#include "runtime/paint/canvas.h"
#include "runtime/paint/figure.h"

namespace guardianes {

namespace {

// The four greys of a sunken edge, and the two of a greyed caption.
constexpr std::uint32_t kShadow = 0x808080;
constexpr std::uint32_t kDarkShadow = 0x000000;
constexpr std::uint32_t kHighlight = 0xFFFFFF;
constexpr std::uint32_t kLight = 0xC0C0C0;
constexpr std::uint32_t kDisabledText = 0x808080;
constexpr std::uint32_t kDisabledRelief = 0xFFFFFF;

PixelRect shrink(const PixelRect& r, int by) { return {r.x0 + by, r.y0 + by, r.x1 - by, r.y1 - by}; }

// One pixel ring: top and left first, then bottom and right, which thereby
// own the two corners where the light and dark sides meet.
void ring(Canvas& canvas, const PixelRect& r, std::uint32_t top_left, std::uint32_t bottom_right) {
    if (r.empty()) return;
    canvas.fill_rect({r.x0, r.y0, r.x1, r.y0 + 1}, top_left);
    canvas.fill_rect({r.x0, r.y0, r.x0 + 1, r.y1}, top_left);
    canvas.fill_rect({r.x0, r.y1 - 1, r.x1, r.y1}, bottom_right);
    canvas.fill_rect({r.x1 - 1, r.y0, r.x1, r.y1}, bottom_right);
}

void sunken_edge(Canvas& canvas, const PixelRect& r) {
    ring(canvas, r, kShadow, kHighlight);
    ring(canvas, shrink(r, 1), kDarkShadow, kLight);
}

void draw_bar(Canvas& canvas, const CaptionLine& line, int x, int baseline, TextBar bar, std::uint32_t colour) {
    const int top = baseline + bar.offset;
    canvas.fill_rect({x, top, x + line.width, top + bar.thickness}, colour);
}

// Draws the laid-out lines in one colour, shifted by (dx, dy) pixels; the
// canvas is already clipped to the text area.
void draw_lines(Canvas& canvas, const Typeface& typeface, const Font& font, const std::vector<CaptionLine>& lines,
                const PixelRect& area, std::uint32_t colour, int dx, int dy) {
    int top = area.y0 + dy;
    for (const CaptionLine& line : lines) {
        if (top >= canvas.clip().y1) break;
        const int baseline = top + typeface.ascent();
        const int x = area.x0 + line.x + dx;
        int pen = x;
        for (const char c : line.text) {
            const Glyph& glyph = typeface.glyph(c);
            canvas.blend(pen + glyph.left, baseline - glyph.top, glyph.width, glyph.height, glyph.coverage.data(),
                         colour);
            pen += glyph.advance;
        }
        if (font.underline) draw_bar(canvas, line, x, baseline, typeface.underline(), colour);
        if (font.strikethrough) draw_bar(canvas, line, x, baseline, typeface.strikeout(), colour);
        top += typeface.line_height();
    }
}

void paint_shape(Canvas& canvas, const ShapeProps& shape) {
    const Figure figure = figure_of(shape);
    if (shape.back_style == BackStyle::Opaque) canvas.fill_figure(figure, shape.back_color.resolve());
    if (shape.fill_style != FillStyle::Transparent)
        canvas.hatch_figure(figure, shape.fill_style, shape.fill_color.resolve());
    canvas.outline_figure(figure, shape.border_width, shape.border_color.resolve());
}

void paint_line(Canvas& canvas, const LineProps& line) {
    canvas.draw_line(stroke_of(line), line.border_color.resolve());
}

} // namespace

PixelRect text_area(const LabelProps& label) {
    const PixelRect r = to_pixels(TwipsRect{label.left, label.top, label.width, label.height});
    return label.border_style == BorderStyle::FixedSingle ? shrink(r, 2) : r;
}

std::vector<CaptionLine> Painter::caption_lines(const LabelProps& label) {
    const PixelRect area = text_area(label);
    return layout_caption(label.caption, area.x1 - area.x0, label.alignment, fonts_->typeface(label.font));
}

void Painter::paint_label(Canvas& canvas, const LabelProps& label) {
    const PixelRect r = to_pixels(TwipsRect{label.left, label.top, label.width, label.height});
    if (label.back_style == BackStyle::Opaque) canvas.fill_rect(r, label.back_color.resolve());
    if (label.border_style == BorderStyle::FixedSingle) sunken_edge(canvas, r);
    if (label.caption.empty()) return;
    const PixelRect area = text_area(label);
    Canvas text = canvas.clipped(area);
    if (text.clip().empty()) return;
    const Typeface& typeface = fonts_->typeface(label.font);
    const auto lines = layout_caption(label.caption, area.x1 - area.x0, label.alignment, typeface);
    if (label.enabled) {
        draw_lines(text, typeface, label.font, lines, area, label.fore_color.resolve(), 0, 0);
    } else {
        draw_lines(text, typeface, label.font, lines, area, kDisabledRelief, 1, 1);
        draw_lines(text, typeface, label.font, lines, area, kDisabledText, 0, 0);
    }
}

void Painter::paint(const Scene& scene, Image& image) {
    image.resize(to_pixels(scene.client_width()), to_pixels(scene.client_height()));
    paint(scene, image, {0, 0, image.width, image.height});
}

void Painter::paint(const Scene& scene, Image& image, PixelRect area) {
    Canvas canvas(image, area);
    if (canvas.clip().empty()) return;
    canvas.fill_rect(canvas.clip(), scene.back_color().resolve());

    const auto& controls = scene.controls();
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
        const Control& control = **it;
        switch (control.kind()) {
        case ControlKind::Label: {
            const auto& label = static_cast<const Label&>(control);
            if (label.visible()) paint_label(canvas, label.props());
            break;
        }
        case ControlKind::Shape: {
            const auto& shape = static_cast<const Shape&>(control);
            if (shape.visible()) paint_shape(canvas, shape.props());
            break;
        }
        case ControlKind::Line: {
            const auto& line = static_cast<const Line&>(control);
            if (line.visible()) paint_line(canvas, line.props());
            break;
        }
        case ControlKind::Timer: break;
        }
    }
}

} // namespace guardianes
