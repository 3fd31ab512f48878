#include "fonts/GlyphCache.h"

#include FT_OUTLINE_H
#include FT_SIZES_H

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace layer {

namespace {

// Same lean as FreeType's own oblique: about 12 degrees, close to the slant
// of a real italic.
constexpr FT_Fixed kObliqueShear = 0x0366A;

void copyCoverage(const FT_Bitmap& bitmap, Glyph& glyph) {
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.width == 0 || bitmap.rows == 0) return;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.rows = static_cast<int>(bitmap.rows);
    const size_t rowBytes = bitmap.width;
    glyph.coverage.resize(rowBytes * bitmap.rows);
    // A negative pitch means the rows are stored bottom row first.
    const ptrdiff_t pitch = bitmap.pitch;
    const unsigned char* top = pitch >= 0 ? bitmap.buffer : bitmap.buffer + (glyph.rows - 1) * -pitch;
    for (int row = 0; row < glyph.rows; ++row) {
        std::memcpy(glyph.coverage.data() + static_cast<size_t>(row) * rowBytes, top + row * pitch, rowBytes);
    }
}

}  // namespace

std::unique_ptr<GlyphCache> GlyphCache::create(std::shared_ptr<const FontFace> face, int emPixels,
                                               StyleSynthesis synthesis) {
    if (!face || emPixels <= 0) return nullptr;
    FT_Size size = nullptr;
    if (FT_New_Size(face->handle(), &size) != 0) return nullptr;
    if (FT_Activate_Size(size) != 0 || FT_Set_Pixel_Sizes(face->handle(), 0, static_cast<FT_UInt>(emPixels)) != 0) {
        FT_Done_Size(size);
        return nullptr;
    }
    return std::unique_ptr<GlyphCache>(new GlyphCache(std::move(face), size, emPixels, synthesis));
}

GlyphCache::GlyphCache(std::shared_ptr<const FontFace> face, FT_Size size, int emPixels, StyleSynthesis synthesis)
    : face_(std::move(face)), size_(size), emPixels_(emPixels), synthesis_(synthesis) {}

GlyphCache::~GlyphCache() { FT_Done_Size(size_); }

// Font units to pixels at this em size, rounded half away from zero as GDI
// rounds its metrics.
int GlyphCache::scale(int fontUnits) const {
    const int64_t units = face_->metrics().unitsPerEm;
    const int64_t scaled = 2 * static_cast<int64_t>(fontUnits) * emPixels_;
    const int64_t rounded = scaled >= 0 ? (scaled + units) / (2 * units) : -((-scaled + units) / (2 * units));
    return static_cast<int>(rounded);
}

LineMetrics GlyphCache::lineMetrics() const {
    const DesignMetrics& design = face_->metrics();
    return LineMetrics{scale(design.winAscent),          scale(design.winDescent),   scale(design.underlineTop),
                       scale(design.underlineThickness), scale(design.strikeoutTop), scale(design.strikeoutThickness)};
}

// Simulated bold smears each stroke sideways by about 1/24 em, at least one
// pixel, and widens the advance by the same amount so neighbours don't merge.
int GlyphCache::emboldenPixels() const { return synthesis_.embolden ? std::max(1, (emPixels_ + 12) / 24) : 0; }

bool GlyphCache::loadOutline(FT_UInt glyphIndex) const {
    // Other fonts at other sizes share the FT_Face; make this size current.
    if (FT_Activate_Size(size_) != 0) return false;
    // Outlines only: embedded bitmaps would skip the anti-aliasing and the
    // style synthesis.
    return FT_Load_Glyph(face_->handle(), glyphIndex, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) == 0 &&
           face_->handle()->glyph->format == FT_GLYPH_FORMAT_OUTLINE;
}

void GlyphCache::applySynthesis(FT_GlyphSlot slot) const {
    if (synthesis_.oblique) {
        FT_Matrix shear{0x10000, kObliqueShear, 0, 0x10000};
        FT_Outline_Transform(&slot->outline, &shear);
    }
    if (const int pixels = emboldenPixels()) {
        // Emboldening grows the outline on both sides; shift it so the extra ink
        // goes to the right, keeping the left edge where the regular glyph has it.
        const FT_Pos strength = pixels * 64;
        FT_Outline_EmboldenXY(&slot->outline, strength, 0);
        FT_Outline_Translate(&slot->outline, strength / 2, 0);
    }
}

Glyph GlyphCache::render(unsigned char byte) const {
    Glyph glyph;
    FT_UInt index = face_->glyphIndex(byte);
    if (!loadOutline(index) && (index == 0 || !loadOutline(0))) return glyph;

    FT_GlyphSlot slot = face_->handle()->glyph;
    // The hinted advance is already whole pixels; rounding guards fonts whose
    // hinting leaves a fraction.
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6) + emboldenPixels();

    applySynthesis(slot);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return glyph;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    copyCoverage(slot->bitmap, glyph);
    return glyph;
}

}  // namespace layer
