#include "fonts/RasterFont.h"

#include "fonts/SurfaceWriter.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace layer {

std::shared_ptr<RasterFont> RasterFont::create(std::unique_ptr<GlyphSource> glyphs, Decorations decorations) {
    if (!glyphs) return nullptr;
    return std::shared_ptr<RasterFont>(new RasterFont(std::move(glyphs), decorations));
}

RasterFont::RasterFont(std::unique_ptr<GlyphSource> glyphs, Decorations decorations)
    : glyphs_(std::move(glyphs)), decorations_(decorations) {
    const LineMetrics metrics = glyphs_->lineMetrics();
    ascent_ = metrics.ascent;
    descent_ = metrics.descent;
    underline_ = placeBar(metrics.underlineTop, metrics.underlineThickness);
    strikeOut_ = placeBar(metrics.strikeOutTop, metrics.strikeOutThickness);
}

RasterFont::~RasterFont() = default;

int RasterFont::emPixels() const { return glyphs_->emPixels(); }

// Bars are at least a pixel thick and are kept inside the cell, so that a
// decorated line never paints into the line below or above it.
RasterFont::Bar RasterFont::placeBar(int topAboveBaseline, int thickness) const {
    Bar bar;
    bar.thickness = std::clamp(thickness, 1, std::max(1, height()));
    bar.top = std::clamp(ascent_ - topAboveBaseline, 0, std::max(0, height() - bar.thickness));
    return bar;
}

int RasterFont::advanceSum(const char* text, int length) const {
    int64_t width = 0;
    for (int i = 0; i < length; ++i) {
        width += glyphs_->glyph(static_cast<unsigned char>(text[i])).advance;
    }
    return static_cast<int>(std::min<int64_t>(width, INT_MAX));
}

Extent RasterFont::measure(const char* text, int length) const {
    if (!text || length <= 0) return Extent{};
    return Extent{advanceSum(text, length), height()};
}

void RasterFont::draw(const char* text, int length, int x, int y, uint32_t colourRef, bool opaque, uint32_t backRef,
                      TextSurface& surface, const TextClip& clip) const {
    if (!text || length <= 0) return;
    SurfaceWriter out(surface, clip);
    if (out.empty()) return;

    const int64_t left = x;
    const int64_t top = y;
    const int64_t right = left + advanceSum(text, length);
    if (opaque) out.fill(PixelRect{left, top, right, top + height()}, Rgb::fromColourRef(backRef));

    const Rgb ink = Rgb::fromColourRef(colourRef);
    const int64_t baseline = top + ascent_;
    int64_t pen = left;
    for (int i = 0; i < length; ++i) {
        const Glyph& glyph = glyphs_->glyph(static_cast<unsigned char>(text[i]));
        out.blend(glyph.coverage.data(), glyph.width, glyph.rows, pen + glyph.left, baseline - glyph.top, ink);
        pen += glyph.advance;
    }

    const auto drawBar = [&](Bar bar) {
        out.fill(PixelRect{left, top + bar.top, right, top + bar.top + bar.thickness}, ink);
    };
    if (decorations_.underline) drawBar(underline_);
    if (decorations_.strikeOut) drawBar(strikeOut_);
}

}  // namespace layer
