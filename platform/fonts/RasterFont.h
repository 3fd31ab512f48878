#pragma once

#include "fonts/GlyphSource.h"
#include "fonts/TextSurface.h"

#include <cstdint>
#include <memory>

namespace layer {

// One face at one em size with its style: what an HFONT selected into a DC
// stands for. Obtained from openSystemFont and shared; its metrics never
// change once built. Glyph images are rendered on first use and kept, which
// is the only state that changes behind the const interface, so a RasterFont
// must be used from one thread at a time.
//
// Text is a run of bytes, each one Latin-1 character (code point 0..255);
// characters the font lacks show its missing-glyph box. There is no kerning
// and no line breaking, as with ExtTextOut.
class RasterFont {
public:
    // Decorations a LOGFONT can ask for.
    struct Decorations {
        bool underline = false;
        bool strikeOut = false;
    };

    // A horizontal bar of the cell: rows [top, top + thickness) counted from
    // the top of the cell. thickness 0 means no bar.
    struct Bar {
        int top = 0;
        int thickness = 0;
    };

    // Null glyphs give null.
    static std::shared_ptr<RasterFont> create(std::unique_ptr<GlyphSource> glyphs, Decorations decorations);

    ~RasterFont();
    RasterFont(const RasterFont&) = delete;
    RasterFont& operator=(const RasterFont&) = delete;

    // GDI text metrics: cell height = ascent + descent, from the font's
    // Windows ascent/descent scaled to the em size.
    int ascent() const { return ascent_; }
    int descent() const { return descent_; }
    int height() const { return ascent_ + descent_; }
    int emPixels() const;

    // GetTextExtentPoint32: width is the sum of the characters' whole-pixel
    // advances, height the cell height. Null text or length <= 0 gives {0, 0}.
    Extent measure(const char* text, int length) const;

    // ExtTextOut with TA_TOP | TA_LEFT: the text cell's top-left corner is at
    // (x, y) and the baseline at y + ascent(). Glyphs are grey anti-aliased and
    // blended in colourRef (0x00BBGGRR) over what is there. With opaque the cell
    // (x, y) - (x + width, y + height()) is first filled with backRef. Nothing
    // outside clip or outside the surface is ever written; empty text draws
    // nothing at all.
    void draw(const char* text, int length, int x, int y, uint32_t colourRef, bool opaque, uint32_t backRef,
              TextSurface& surface, const TextClip& clip) const;

    // Where underline and strike-out go (both are computed whether or not the
    // font asks for them; thickness is always >= 1).
    Bar underlineBar() const { return underline_; }
    Bar strikeOutBar() const { return strikeOut_; }
    Decorations decorations() const { return decorations_; }

private:
    RasterFont(std::unique_ptr<GlyphSource> glyphs, Decorations decorations);

    Bar placeBar(int topAboveBaseline, int thickness) const;
    int advanceSum(const char* text, int length) const;

    std::unique_ptr<GlyphSource> glyphs_;
    Decorations decorations_;
    int ascent_ = 0;
    int descent_ = 0;
    Bar underline_;
    Bar strikeOut_;
};

}  // namespace layer
