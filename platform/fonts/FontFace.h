#pragma once

#include "fonts/FreeTypeLibrary.h"

#include <array>
#include <memory>
#include <string>

namespace layer {

// Font-unit measurements of a face that GDI derives its text metrics from.
// Decoration positions are measured from the baseline, positive upwards, and
// give the top edge of the bar.
struct DesignMetrics {
    int unitsPerEm = 0;
    int winAscent = 0;
    int winDescent = 0;
    int underlineTop = 0;
    int underlineThickness = 0;
    int strikeoutTop = 0;
    int strikeoutThickness = 0;
};

// One scalable font file opened with FreeType, shared by every RasterFont that
// uses it (at any size or decoration). The FT_Face's own size is not used: each
// GlyphCache renders through an FT_Size of its own.
class FontFace {
public:
    // Returns nullptr when the file cannot be opened or is not a scalable font
    // (bitmap-only fonts cannot be sized to an arbitrary em).
    static std::shared_ptr<FontFace> load(std::shared_ptr<FreeTypeLibrary> library, const std::string& path, int index);

    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    FT_Face handle() const { return face_; }
    const DesignMetrics& metrics() const { return metrics_; }

    // Glyph for a Latin-1 byte; 0 (the font's missing-glyph box) when the font
    // has no such character.
    FT_UInt glyphIndex(unsigned char byte) const { return glyphIndices_[byte]; }

private:
    FontFace(std::shared_ptr<FreeTypeLibrary> library, FT_Face face);

    void mapCharacters();
    void readMetrics();

    std::shared_ptr<FreeTypeLibrary> library_;
    FT_Face face_;
    DesignMetrics metrics_;
    std::array<FT_UInt, 256> glyphIndices_{};
};

}  // namespace layer
