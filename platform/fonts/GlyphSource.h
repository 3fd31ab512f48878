#pragma once

#include <cstdint>
#include <vector>

namespace layer {

// Anti-aliased coverage of one character at one size, ready to blend.
// left/top place the bitmap's top-left corner relative to the pen position on
// the baseline (top is upwards, as FreeType reports it).
struct Glyph {
    int left = 0;
    int top = 0;
    int width = 0;
    int rows = 0;
    int advance = 0;                // whole pixels
    std::vector<uint8_t> coverage;  // rows * width, 0 = none, 255 = full
};

// A face's vertical measurements at one em size, in whole pixels. Decoration
// positions are measured from the baseline, positive upwards, and give the
// top edge of the bar.
struct LineMetrics {
    int ascent = 0;
    int descent = 0;
    int underlineTop = 0;
    int underlineThickness = 0;
    int strikeOutTop = 0;
    int strikeOutThickness = 0;
};

// Where a RasterFont's glyphs come from: FreeType on the desktop, the
// browser's own text drawing on a web page. Glyphs are made on first use and
// kept, so a glyph reference stays valid as long as its source.
class GlyphSource {
public:
    virtual ~GlyphSource() = default;

    virtual const Glyph& glyph(unsigned char byte) = 0;
    virtual int emPixels() const = 0;
    virtual LineMetrics lineMetrics() const = 0;
};

}  // namespace layer
