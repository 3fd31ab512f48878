#pragma once

#include "Painter.h"

#include <string_view>
#include <vector>

// A hand-drawn bitmap font. Glyph rows are strings where '#' is ink, so the
// letter shapes can be read (and corrected) straight from the source.
class PixelFont {
public:
    struct Glyph {
        char character;
        std::vector<std::string_view> rows;
    };

    PixelFont(int height, int spacing, std::vector<Glyph> glyphs);

    // Lower-case letters for the 14 x 9 info button: 7 rows, 1 px apart.
    static const PixelFont& tiny();
    // Capitals for the maker's badge on the shell: 5 x 7.
    static const PixelFont& badge();

    int height() const { return height_; }
    int textWidth(std::string_view text) const;
    // Top-left of the first glyph's cell at (x, y). Throws for a character
    // the font does not have, rather than silently leaving a hole.
    void draw(Painter& painter, std::string_view text, int x, int y, Rgb ink) const;

private:
    const Glyph& glyph(char c) const;

    int height_;
    int spacing_;
    std::vector<Glyph> glyphs_;
};
