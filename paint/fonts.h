#pragma once

#include "runtime/caption_layout.h"
#include "runtime/controls.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace guardianes {

// One character as FreeType rasterised it, kept for every later repaint.
struct Glyph {
    int advance = 0; // pixels from this glyph's origin to the next one's
    int left = 0;    // from the origin to the coverage's left column
    int top = 0;     // from the baseline up to the coverage's top row
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> coverage; // width x height, 0 (none) to 255 (full)
};

// A bar drawn across a line of text, as underline or strikethrough: its top
// row counted down from the baseline (negative above it) and its thickness.
struct TextBar {
    int offset = 0;
    int thickness = 1;
};

// Point sizes at 96 pixels to the inch, rounded to whole pixels: 8.25 pt is 11 px.
int pixel_size(double points);

// A face opened at one pixel size for one Font. It measures text the way it
// draws it: whole-pixel advances, no kerning. Each character is rasterised
// once, the first time it is asked for.
class Typeface final : public TextMeasure {
public:
    struct Impl;
    explicit Typeface(std::unique_ptr<Impl> impl);
    ~Typeface() override;

    int width(std::string_view text) const override;
    const Glyph& glyph(char c) const;

    int ascent() const;      // baseline below the top of a line
    int line_height() const; // lines of a caption stand this far apart
    TextBar underline() const;
    TextBar strikeout() const;

    // The family that actually draws, which may stand in for the one asked for.
    const std::string& family() const;

private:
    std::unique_ptr<Impl> impl_;
};

// Finds a face for every font the scenes name, through fontconfig, and keeps
// each typeface open for the whole run. A face this machine lacks is drawn in
// a stand-in of the same character: a plain sans-serif of similar widths for
// "MS Sans Serif", a fixed-pitch face for "Fixedsys", an informal rounded
// face for "Comic Sans MS", and a wide serif face drawn in capitals for
// "Copperplate Gothic Bold". Failing those, any sans-serif face draws it,
// and a warning says so once per face.
class FontLibrary {
public:
    using Warning = std::function<void(const std::string&)>;

    // Warnings go to standard error. Throws std::runtime_error with a
    // one-line message when the machine has no usable face at all.
    FontLibrary();
    explicit FontLibrary(Warning warning);
    ~FontLibrary();
    FontLibrary(const FontLibrary&) = delete;
    FontLibrary& operator=(const FontLibrary&) = delete;

    // Underline and strikethrough are drawn by the painter, so they share
    // the typeface of the same face, size, weight and slant.
    const Typeface& typeface(const Font& font);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace guardianes
