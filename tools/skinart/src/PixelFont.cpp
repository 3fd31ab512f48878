#include "PixelFont.h"

#include <stdexcept>
#include <string>

PixelFont::PixelFont(int height, int spacing, std::vector<Glyph> glyphs)
    : height_(height), spacing_(spacing), glyphs_(std::move(glyphs)) {
    for (const Glyph& g : glyphs_) {
        if (static_cast<int>(g.rows.size()) != height_) {
            throw std::logic_error(std::string("glyph '") + g.character + "' has the wrong height");
        }
    }
}

const PixelFont& PixelFont::tiny() {
    // x-height 5 with a 2-row ascender: the dot of the i and the hook of the
    // f sit above the bowls, which is what keeps "info" readable at 9 px.
    // clang-format off
    static const PixelFont font(7, 1, {
        {'i',
         {"#",
          ".",
          "#",
          "#",
          "#",
          "#",
          "#"}},
        {'n',
         {"...",
          "...",
          "##.",
          "#.#",
          "#.#",
          "#.#",
          "#.#"}},
        {'f',
         {"..#",
          ".#.",
          "###",
          ".#.",
          ".#.",
          ".#.",
          ".#."}},
        {'o',
         {"...",
          "...",
          "###",
          "#.#",
          "#.#",
          "#.#",
          "###"}},
    });
    // clang-format on
    return font;
}

const PixelFont& PixelFont::badge() {
    // clang-format off
    static const PixelFont font(7, 1, {
        {'B',
         {"####.",
          "#...#",
          "#...#",
          "####.",
          "#...#",
          "#...#",
          "####."}},
        {'R',
         {"####.",
          "#...#",
          "#...#",
          "####.",
          "#.#..",
          "#..#.",
          "#...#"}},
        {'I',
         {"###",
          ".#.",
          ".#.",
          ".#.",
          ".#.",
          ".#.",
          "###"}},
        {'S',
         {".###.",
          "#...#",
          "#....",
          ".###.",
          "....#",
          "#...#",
          ".###."}},
        {'K',
         {"#...#",
          "#..#.",
          "#.#..",
          "##...",
          "#.#..",
          "#..#.",
          "#...#"}},
        {'O',
         {".###.",
          "#...#",
          "#...#",
          "#...#",
          "#...#",
          "#...#",
          ".###."}},
    });
    // clang-format on
    return font;
}

const PixelFont::Glyph& PixelFont::glyph(char c) const {
    for (const Glyph& g : glyphs_) {
        if (g.character == c) {
            return g;
        }
    }
    throw std::out_of_range(std::string("pixel font has no glyph for '") + c + "'");
}

int PixelFont::textWidth(std::string_view text) const {
    int width = 0;
    for (char c : text) {
        width += static_cast<int>(glyph(c).rows.front().size()) + spacing_;
    }
    return text.empty() ? 0 : width - spacing_;
}

void PixelFont::draw(Painter& painter, std::string_view text, int x, int y, Rgb ink) const {
    for (char c : text) {
        const Glyph& g = glyph(c);
        for (int row = 0; row < height_; ++row) {
            const std::string_view bits = g.rows[static_cast<std::size_t>(row)];
            for (std::size_t col = 0; col < bits.size(); ++col) {
                if (bits[col] == '#') {
                    painter.plot(x + static_cast<int>(col), y + row, ink);
                }
            }
        }
        x += static_cast<int>(g.rows.front().size()) + spacing_;
    }
}
