#pragma once

#include "fonts/FontFace.h"
#include "fonts/GlyphSource.h"
#include "fonts/StyleSynthesis.h"

#include <array>
#include <memory>

namespace layer {

// The rendered glyphs of one face at one em size with its synthesised style.
// Each of the 256 Latin-1 characters is rendered the first time it is asked
// for and kept, so a string drawn every frame costs FreeType nothing after
// its first frame.
class GlyphCache : public GlyphSource {
public:
    // Returns nullptr when FreeType cannot make a size for the face.
    static std::unique_ptr<GlyphCache> create(std::shared_ptr<const FontFace> face, int emPixels,
                                              StyleSynthesis synthesis);

    ~GlyphCache();
    GlyphCache(const GlyphCache&) = delete;
    GlyphCache& operator=(const GlyphCache&) = delete;

    const Glyph& glyph(unsigned char byte) override {
        auto& slot = glyphs_[byte];
        if (!slot) slot = std::make_unique<Glyph>(render(byte));
        return *slot;
    }

    int emPixels() const override { return emPixels_; }
    // The face's Windows ascent and descent and its decorations, scaled to
    // the em size as GDI scales them.
    LineMetrics lineMetrics() const override;
    const FontFace& face() const { return *face_; }

private:
    GlyphCache(std::shared_ptr<const FontFace> face, FT_Size size, int emPixels, StyleSynthesis synthesis);

    Glyph render(unsigned char byte) const;
    bool loadOutline(FT_UInt glyphIndex) const;
    void applySynthesis(FT_GlyphSlot slot) const;
    int emboldenPixels() const;
    int scale(int fontUnits) const;

    std::shared_ptr<const FontFace> face_;
    FT_Size size_;
    int emPixels_;
    StyleSynthesis synthesis_;
    std::array<std::unique_ptr<Glyph>, 256> glyphs_;
};

}  // namespace layer
