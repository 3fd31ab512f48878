#pragma once

#include "fonts/FontFace.h"
#include "fonts/StyleSynthesis.h"

#include <array>
#include <cstdint>
#include <memory>
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

// The rendered glyphs of one face at one em size with its synthesised style.
// Each of the 256 Latin-1 characters is rendered the first time it is asked
// for and kept, so a string drawn every frame costs FreeType nothing after
// its first frame.
class GlyphCache {
public:
    // Returns nullptr when FreeType cannot make a size for the face.
    static std::unique_ptr<GlyphCache> create(std::shared_ptr<const FontFace> face, int emPixels,
                                              StyleSynthesis synthesis);

    ~GlyphCache();
    GlyphCache(const GlyphCache&) = delete;
    GlyphCache& operator=(const GlyphCache&) = delete;

    const Glyph& glyph(unsigned char byte) {
        auto& slot = glyphs_[byte];
        if (!slot) slot = std::make_unique<Glyph>(render(byte));
        return *slot;
    }

    int emPixels() const { return emPixels_; }
    const FontFace& face() const { return *face_; }

private:
    GlyphCache(std::shared_ptr<const FontFace> face, FT_Size size, int emPixels, StyleSynthesis synthesis);

    Glyph render(unsigned char byte) const;
    bool loadOutline(FT_UInt glyphIndex) const;
    void applySynthesis(FT_GlyphSlot slot) const;
    int emboldenPixels() const;

    std::shared_ptr<const FontFace> face_;
    FT_Size size_;
    int emPixels_;
    StyleSynthesis synthesis_;
    std::array<std::unique_ptr<Glyph>, 256> glyphs_;
};

}  // namespace layer
