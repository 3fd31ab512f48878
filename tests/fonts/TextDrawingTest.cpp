#include "fonts/FaceMatcher.h"
#include "fonts/FontEngine.h"
#include "fonts/GlyphCache.h"

#include "DumpOnFailure.h"
#include "TempFontDirectory.h"
#include "TestCanvas.h"
#include "TestFonts.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

namespace layer {
namespace {

using test::DumpOnFailure;
using test::TempFontDirectory;
using test::TestCanvas;
using test::TestFonts;

constexpr uint32_t kBlack = 0x00000000;
constexpr uint32_t kGreen = 0x000DCC0D;
constexpr uint32_t kOlive = 0x001E6B6B;
constexpr uint32_t kRed = 0x000000FF;
constexpr uint32_t kBlue = 0x00FF0000;
constexpr uint32_t kWhite = 0x00FFFFFF;
const std::string kLabel = "Volume: 100";

std::shared_ptr<const RasterFont> open(int emPixels, int weight = 400, bool italic = false, bool underline = false,
                                       bool strikeOut = false) {
    auto font = FontEngine::shared().open(FontRequest{"Verdana", emPixels, weight, italic, underline, strikeOut});
    EXPECT_NE(font, nullptr);
    return font;
}

void draw(const RasterFont& font, const std::string& text, int x, int y, uint32_t colour, TestCanvas& canvas,
          bool opaque = false, uint32_t back = kBlack) {
    font.draw(text.data(), static_cast<int>(text.size()), x, y, colour, opaque, back, canvas.surface(),
              canvas.everything());
}

bool inside(int x, int y, const PixelRect& r) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

PixelRect cellOf(const RasterFont& font, const std::string& text, int x, int y) {
    const int width = font.measure(text.data(), static_cast<int>(text.size())).width;
    return PixelRect{x, y, x + width, y + font.height()};
}

// As with GDI, glyphs are not cut to the cell: a glyph whose ink starts left
// of its origin (the anti-aliased foot of a V) overhangs by a pixel. Nothing
// else outside the cell may change.
PixelRect withOverhang(const PixelRect& cell) {
    return PixelRect{cell.left - 1, cell.top, cell.right + 1, cell.bottom};
}

TEST(TextDrawing, TransparentTextTouchesOnlyItsCell) {
    for (int em : {9, 10, 11, 12, 16}) {
        auto font = open(em);
        ASSERT_NE(font, nullptr);
        TestCanvas canvas(120, 40, kOlive);
        DumpOnFailure dump(canvas, "em" + std::to_string(em));
        draw(*font, kLabel, 7, 5, kGreen, canvas);

        const PixelRect cell = cellOf(*font, kLabel, 7, 5);
        const PixelRect allowed = withOverhang(cell);
        const PixelRect ink = canvas.boundsOfOther(kOlive);
        ASSERT_FALSE(ink.empty()) << "nothing drawn at em " << em;
        EXPECT_GE(ink.left, allowed.left) << em;
        EXPECT_GE(ink.top, allowed.top) << em;
        EXPECT_LE(ink.right, allowed.right) << em;
        EXPECT_LE(ink.bottom, allowed.bottom) << em;
        // The text spans the cell: ink near both ends, not just somewhere in it.
        EXPECT_LE(ink.left, cell.left + 1) << em;
        EXPECT_GE(ink.right, cell.right - 3) << em;
        EXPECT_TRUE(canvas.guardIntact());
    }
}

TEST(TextDrawing, OpaqueFillsExactlyTheCell) {
    constexpr uint32_t kPureGreen = 0x0000FF00;
    for (int em : {9, 11, 14}) {
        auto font = open(em);
        ASSERT_NE(font, nullptr);
        TestCanvas canvas(110, 30, kRed);
        DumpOnFailure dump(canvas, "em" + std::to_string(em));
        draw(*font, kLabel, 9, 6, kPureGreen, canvas, true, kBlue);

        const PixelRect cell = cellOf(*font, kLabel, 9, 6);
        const PixelRect overhang = withOverhang(cell);
        int background = 0;
        for (int y = 0; y < canvas.height(); ++y) {
            for (int x = 0; x < canvas.width(); ++x) {
                const uint32_t p = canvas.pixel(x, y);
                if (inside(x, y, cell)) {
                    // The background, the text colour or a blend of the two: no red.
                    ASSERT_EQ(p & 0xFF, 0u) << "not filled at " << x << "," << y;
                    background += p == kBlue;
                } else if (inside(x, y, overhang)) {
                    // Glyph ink over the untouched surroundings, never the fill.
                    ASSERT_EQ(p >> 16, 0u) << "filled outside the cell at " << x << "," << y;
                } else {
                    ASSERT_EQ(p, kRed) << "touched outside the cell at " << x << "," << y;
                }
            }
        }
        const int64_t area = (cell.right - cell.left) * (cell.bottom - cell.top);
        EXPECT_GT(background, area / 2);
        EXPECT_GT(canvas.countEqual(kPureGreen), 0);
        EXPECT_TRUE(canvas.guardIntact());
    }
}

TEST(TextDrawing, TextColourReachesFullIntensityAndBlendsAtEdges) {
    for (int em : {9, 12}) {
        auto font = open(em);
        ASSERT_NE(font, nullptr);
        TestCanvas canvas(100, 20, kBlack);
        DumpOnFailure dump(canvas, "em" + std::to_string(em));
        draw(*font, kLabel, 2, 3, kGreen, canvas);

        int full = 0, partial = 0;
        for (int y = 0; y < canvas.height(); ++y) {
            for (int x = 0; x < canvas.width(); ++x) {
                const uint32_t p = canvas.pixel(x, y);
                if (p == kBlack) continue;
                const uint32_t r = p & 0xFF, g = (p >> 8) & 0xFF, b = (p >> 16) & 0xFF;
                // On black every pixel is a scaled copy of the text colour.
                ASSERT_EQ(r, b) << x << "," << y;
                ASSERT_LE(g, 0xCCu);
                ASSERT_GE(g, r);
                full += p == kGreen;
                partial += p != kGreen;
            }
        }
        EXPECT_GE(full, 30) << "stems should be solid at em " << em;
        EXPECT_GE(partial, 10) << "curves should be anti-aliased at em " << em;
    }
}

TEST(TextDrawing, BaselineIsAscentBelowTop) {
    for (int em : {9, 13, 30}) {
        auto font = open(em);
        ASSERT_NE(font, nullptr);
        TestCanvas canvas(60, 60, kBlack);
        DumpOnFailure dump(canvas, "em" + std::to_string(em));
        const int y = 4;
        draw(*font, "HH", 3, y, kWhite, canvas);
        // H sits on the baseline: its last row of ink is the row just above it.
        EXPECT_EQ(canvas.boundsOfOther(kBlack).bottom, y + font->ascent()) << "em " << em;
    }
}

// Each glyph's coverage lands with its bitmap offset from the pen on the
// baseline, blended as dst + (src - dst) * coverage / 255, and the pen moves
// on by the glyph's advance.
TEST(TextDrawing, GlyphsAreBlendedPixelForPixel) {
    const int em = 12;
    auto font = open(em);
    ASSERT_NE(font, nullptr);
    auto glyphs = GlyphCache::create(TestFonts::face("Verdana"), em, StyleSynthesis{});
    ASSERT_NE(glyphs, nullptr);

    const std::string text = "Vo%";
    const int x0 = 6, y0 = 3;
    TestCanvas expected(60, 24, kOlive);
    // Every channel different, so a mixed-up channel shows.
    constexpr uint32_t kOrange = 0x00205AC8;
    const Rgb ink = Rgb::fromColourRef(kOrange);
    SurfaceWriter writer(expected.surface(), expected.everything());
    int pen = x0;
    for (char c : text) {
        const Glyph& g = glyphs->glyph(static_cast<unsigned char>(c));
        for (int row = 0; row < g.rows; ++row) {
            for (int col = 0; col < g.width; ++col) {
                const uint8_t coverage = g.coverage[static_cast<size_t>(row * g.width + col)];
                const int x = pen + g.left + col, y = y0 + font->ascent() - g.top + row;
                const uint32_t before = expected.pixel(x, y);
                const Rgb mixed{SurfaceWriter::mix(before & 0xFF, ink.red, coverage),
                                SurfaceWriter::mix((before >> 8) & 0xFF, ink.green, coverage),
                                SurfaceWriter::mix(before >> 16, ink.blue, coverage)};
                writer.fill(PixelRect{x, y, x + 1, y + 1}, mixed);
            }
        }
        pen += g.advance;
    }
    ASSERT_EQ(pen - x0, font->measure(text.data(), 3).width);

    TestCanvas drawn(60, 24, kOlive);
    DumpOnFailure dumpDrawn(drawn, "drawn"), dumpExpected(expected, "expected");
    draw(*font, text, x0, y0, kOrange, drawn);
    EXPECT_TRUE(drawn.samePixels(expected));
}

TEST(TextDrawing, MovingTheOriginMovesThePixels) {
    auto font = open(10);
    ASSERT_NE(font, nullptr);
    TestCanvas reference(90, 30, kOlive);
    draw(*font, kLabel, 5, 4, kGreen, reference);
    const struct { int dx, dy; } moves[] = {{1, 0}, {0, 1}, {7, 3}, {-5, -4}, {13, 11}};
    for (const auto& move : moves) {
        TestCanvas moved(90, 30, kOlive);
        DumpOnFailure dump(moved, "moved");
        draw(*font, kLabel, 5 + move.dx, 4 + move.dy, kGreen, moved);
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 90; ++x) {
                const int sx = x - move.dx, sy = y - move.dy;
                if (sx < 0 || sy < 0 || sx >= 90 || sy >= 30) continue;
                ASSERT_EQ(moved.pixel(x, y), reference.pixel(sx, sy))
                    << "moved by " << move.dx << "," << move.dy << " at " << x << "," << y;
            }
        }
    }
}

TEST(TextDrawing, RepeatedDrawsAreIdentical) {
    auto font = open(12, 700);
    ASSERT_NE(font, nullptr);
    TestCanvas first(100, 20, kOlive);
    draw(*font, kLabel, 1, 2, kGreen, first);
    // Other text in between fills the glyph cache with more characters.
    TestCanvas scratch(300, 20, kOlive);
    draw(*font, "The quick brown fox jumps \xe0\xe9\xee\xf5\xfc", 0, 0, kWhite, scratch);
    TestCanvas second(100, 20, kOlive);
    DumpOnFailure dump(second, "second");
    draw(*font, kLabel, 1, 2, kGreen, second);
    EXPECT_TRUE(first.samePixels(second));
}

TEST(TextDrawing, BottomUpSurfaceShowsTheSameImage) {
    auto font = open(11, 400, false, true, true);
    ASSERT_NE(font, nullptr);
    TestCanvas topDown(90, 25, kOlive);
    TestCanvas bottomUp(90, 25, kOlive, true);
    DumpOnFailure dump(bottomUp, "bottom-up");
    draw(*font, kLabel, 3, 5, kGreen, topDown, true, kBlue);
    draw(*font, kLabel, 3, 5, kGreen, bottomUp, true, kBlue);
    EXPECT_TRUE(topDown.samePixels(bottomUp));
    EXPECT_TRUE(bottomUp.guardIntact());
    // And it really is stored the other way up: row 0 is the last in memory.
    const TextSurface& s = bottomUp.surface();
    const uint8_t* lastRow = s.bits + (s.height - 1) * s.stride;
    EXPECT_EQ(std::memcmp(lastRow, topDown.surface().bits, 3 * s.width), 0);
}

TEST(TextDrawing, ClipKeepsEveryPixelOutsideIt) {
    auto font = open(12, 400, false, true, false);
    ASSERT_NE(font, nullptr);
    TestCanvas unclipped(100, 30, kOlive);
    font->draw(kLabel.data(), 11, 4, 6, kGreen, true, kBlack, unclipped.surface(), unclipped.everything());

    const TextClip clips[] = {
        {10, 8, 40, 15},    {0, 0, 5, 30},        {30, 0, 31, 30},  {0, 17, 100, 18},
        {-50, -50, 20, 12}, {50, 10, 1000, 1000}, {40, 40, 60, 60}, {20, 10, 10, 20},
    };
    for (const TextClip& clip : clips) {
        TestCanvas clipped(100, 30, kOlive);
        DumpOnFailure dump(clipped, "clip");
        font->draw(kLabel.data(), 11, 4, 6, kGreen, true, kBlack, clipped.surface(), clip);
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 100; ++x) {
                const bool in = x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
                ASSERT_EQ(clipped.pixel(x, y), in ? unclipped.pixel(x, y) : kOlive)
                    << "clip " << clip.left << "," << clip.top << "," << clip.right << "," << clip.bottom << " at " << x
                    << "," << y;
            }
        }
        EXPECT_TRUE(clipped.guardIntact());
    }
}

// Origins and clips far outside the surface: nothing may be written outside
// the buffer. One canvas is allocated to the exact size, so AddressSanitizer
// catches a stray write; the other has guard bytes that must stay untouched.
TEST(TextDrawing, NeverWritesOutsideTheSurface) {
    auto font = open(14, 700, true, true, true);
    ASSERT_NE(font, nullptr);
    const int w = 40, h = 16;
    struct Origin {
        int x, y;
    };
    std::vector<Origin> origins = {
        {INT_MIN, INT_MIN},   {INT_MAX, INT_MAX}, {INT_MIN, 0},  {0, INT_MAX},         {INT_MAX - 10, 1},
        {-1000000, -1000000}, {1000000, 5},       {5, -1000000}, {INT_MIN + 5, h / 2}, {w / 2, INT_MIN + 5},
    };
    // Every row position from wholly above to wholly below the surface, at
    // columns that put the text across the left edge, inside, and across the
    // right edge, so glyphs get cut on every side.
    for (int y = -font->height() - 1; y <= h + 1; ++y) {
        for (int x : {-60, -5, 0, 3, w - 12, w - 1, w}) origins.push_back(Origin{x, y});
    }
    const TextClip clips[] = {
        {0, 0, w, h}, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {-10, -10, w + 10, h + 10}, {w, h, INT_MAX, INT_MAX},
        {5, 5, 2, 2},
    };
    const std::string text = "Volume: 100 \xc0\xff";
    for (bool exact : {true, false}) {
        for (const TextClip& clip : clips) {
            for (const Origin& origin : origins) {
                for (bool opaque : {false, true}) {
                    TestCanvas canvas(w, h, kOlive, false, exact ? 0 : 4, exact ? 0 : 9);
                    font->draw(text.data(), static_cast<int>(text.size()), origin.x, origin.y, kGreen, opaque, kBlue,
                               canvas.surface(), clip);
                    ASSERT_TRUE(canvas.guardIntact())
                        << "origin " << origin.x << "," << origin.y << " clip " << clip.left << "," << clip.top << ","
                        << clip.right << "," << clip.bottom;
                }
            }
        }
    }
}

TEST(TextDrawing, PartlyVisibleTextIsDrawnWhereVisible) {
    auto font = open(12);
    ASSERT_NE(font, nullptr);
    const struct { int x, y; } origins[] = {{-20, 2}, {2, -6}, {30, 10}, {-15, -7}};
    for (const auto& origin : origins) {
        TestCanvas canvas(40, 16, kOlive, false, 0, 0);
        DumpOnFailure dump(canvas, "partly");
        draw(*font, kLabel, origin.x, origin.y, kGreen, canvas);
        EXPECT_GT(canvas.countOther(kOlive), 0) << origin.x << "," << origin.y;
    }
}

TEST(TextDrawing, EmptyTextDrawsNothing) {
    auto font = open(12, 400, false, true, true);
    ASSERT_NE(font, nullptr);
    struct Case {
        const char* text;
        int length;
    };
    const Case cases[] = {{"abc", 0}, {"abc", -1}, {nullptr, 4}, {"", 0}};
    for (const Case& c : cases) {
        TestCanvas canvas(30, 20, kOlive);
        font->draw(c.text, c.length, 2, 2, kGreen, true, kBlue, canvas.surface(), canvas.everything());
        EXPECT_EQ(canvas.countOther(kOlive), 0) << "length " << c.length;
    }
}

TEST(TextDrawing, BoldPutsDownMoreInk) {
    for (int em : {9, 12, 20}) {
        auto regular = open(em);
        auto bold = open(em, 700);
        ASSERT_NE(regular, nullptr);
        ASSERT_NE(bold, nullptr);
        TestCanvas thin(200, 40, kBlack), thick(200, 40, kBlack);
        DumpOnFailure dumpThin(thin, "regular"), dumpThick(thick, "bold");
        draw(*regular, kLabel, 2, 2, kWhite, thin);
        draw(*bold, kLabel, 2, 2, kWhite, thick);
        EXPECT_GT(thick.inkAgainst(kBlack), thin.inkAgainst(kBlack) * 5 / 4) << "em " << em;
    }
}

// Horizontal ink centre of the rows [top, bottom) of a canvas.
double inkCentre(const TestCanvas& canvas, int top, int bottom, uint32_t background) {
    double sum = 0, weight = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const double ink = static_cast<double>((canvas.pixel(x, y) & 0xFF) - (background & 0xFF));
            sum += ink * x;
            weight += ink;
        }
    }
    return weight > 0 ? sum / weight : -1;
}

// How far right the top third of a vertical stroke sits compared with its
// bottom third.
double lean(const RasterFont& font) {
    TestCanvas canvas(80, 60, kBlack);
    draw(font, "l", 20, 5, kWhite, canvas);
    const PixelRect ink = canvas.boundsOfOther(kBlack);
    const int third = static_cast<int>((ink.bottom - ink.top) / 3);
    return inkCentre(canvas, static_cast<int>(ink.top), static_cast<int>(ink.top) + third, kBlack) -
           inkCentre(canvas, static_cast<int>(ink.bottom) - third, static_cast<int>(ink.bottom), kBlack);
}

// The system may or may not have an oblique DejaVu; with only the regular
// file available the slant must be synthesised. Either way italic leans.
TEST(TextDrawing, ItalicLeansRight) {
    TempFontDirectory onlyRegular;
    ASSERT_FALSE(onlyRegular.add(TestFonts::file("DejaVu Sans")).empty());
    FontEngine local(FaceMatcher::fontDirectory(onlyRegular.path()));
    for (FontEngine* engine : {&FontEngine::shared(), &local}) {
        auto upright = engine->open(FontRequest{"Verdana", 40, 400, false});
        auto italic = engine->open(FontRequest{"Verdana", 40, 400, true});
        ASSERT_NE(upright, nullptr);
        ASSERT_NE(italic, nullptr);
        EXPECT_LT(std::abs(lean(*upright)), 1.0);
        EXPECT_GT(lean(*italic), 3.0);
    }
}

TEST(TextDrawing, SynthesisedBoldIsHeavierAndOnePixelWiderPerCharacter) {
    TempFontDirectory onlyRegular;
    ASSERT_FALSE(onlyRegular.add(TestFonts::file("DejaVu Sans")).empty());
    FontEngine engine(FaceMatcher::fontDirectory(onlyRegular.path()));
    for (int em : {9, 12}) {
        auto regular = engine.open(FontRequest{"Verdana", em, 400});
        auto bold = engine.open(FontRequest{"Verdana", em, 700});
        ASSERT_NE(regular, nullptr);
        ASSERT_NE(bold, nullptr);
        EXPECT_EQ(bold->height(), regular->height());
        EXPECT_EQ(bold->measure(kLabel.data(), 11).width, regular->measure(kLabel.data(), 11).width + 11);

        TestCanvas thin(120, 20, kBlack), thick(120, 20, kBlack);
        DumpOnFailure dumpThin(thin, "regular"), dumpThick(thick, "bold");
        draw(*regular, kLabel, 2, 2, kWhite, thin);
        draw(*bold, kLabel, 2, 2, kWhite, thick);
        EXPECT_GT(thick.inkAgainst(kBlack), thin.inkAgainst(kBlack) * 5 / 4) << "em " << em;
        // The extra ink goes right: the text starts at the same column.
        EXPECT_EQ(thick.boundsOfOther(kBlack).left, thin.boundsOfOther(kBlack).left);
        // Still inside the (wider) cell.
        EXPECT_LE(thick.boundsOfOther(kBlack).right, 2 + bold->measure(kLabel.data(), 11).width);
    }
}

// A row of the cell painted entirely in the text colour from x to x + width.
bool solidRow(const TestCanvas& canvas, int row, int left, int width, uint32_t colour) {
    for (int x = left; x < left + width; ++x)
        if (canvas.pixel(x, row) != colour) return false;
    return true;
}

TEST(TextDrawing, UnderlineAndStrikeOutBarsSpanTheText) {
    struct Case {
        bool underline, strikeOut;
    };
    const Case cases[] = {{false, false}, {true, false}, {false, true}, {true, true}};
    for (int em : {9, 12, 24}) {
        for (const Case& c : cases) {
            auto font = open(em, 400, false, c.underline, c.strikeOut);
            ASSERT_NE(font, nullptr);
            const RasterFont::Bar under = font->underlineBar(), strike = font->strikeOutBar();
            // Underline below the baseline, strike-out above it, both in the cell.
            EXPECT_GE(under.top, font->ascent());
            EXPECT_LE(under.top + under.thickness, font->height());
            EXPECT_LT(strike.top + strike.thickness, font->ascent());
            EXPECT_GT(strike.top, 0);

            TestCanvas canvas(220, 40, kOlive);
            DumpOnFailure dump(canvas, "bars");
            const int x = 3, y = 4;
            const std::string text = "a  e";  // gaps where only a bar can paint
            draw(*font, text, x, y, kGreen, canvas);
            const int width = font->measure(text.data(), 4).width;
            for (int t = 0; t < under.thickness; ++t)
                EXPECT_EQ(solidRow(canvas, y + under.top + t, x, width, kGreen), c.underline) << em;
            for (int t = 0; t < strike.thickness; ++t)
                EXPECT_EQ(solidRow(canvas, y + strike.top + t, x, width, kGreen), c.strikeOut) << em;
            const PixelRect ink = canvas.boundsOfOther(kOlive);
            EXPECT_GE(ink.left, x);
            EXPECT_LE(ink.right, x + width);
        }
    }
}

TEST(TextDrawing, LatinOneBytesDrawTheirOwnGlyphs) {
    auto font = open(16);
    ASSERT_NE(font, nullptr);
    const struct {
        const char* accented;
        const char* plain;
    } pairs[] = {{"\xe9", "e"}, {"\xc5", "A"}, {"\xfc", "u"}, {"\xf1", "n"}};
    for (const auto& pair : pairs) {
        TestCanvas a(30, 25, kBlack), b(30, 25, kBlack);
        draw(*font, pair.accented, 2, 2, kWhite, a);
        draw(*font, pair.plain, 2, 2, kWhite, b);
        EXPECT_GT(a.inkAgainst(kBlack), b.inkAgainst(kBlack)) << pair.plain;
        // The accent sits above the letter's own top.
        EXPECT_LT(a.boundsOfOther(kBlack).top, b.boundsOfOther(kBlack).top) << pair.plain;
    }
}

}  // namespace
}  // namespace layer
