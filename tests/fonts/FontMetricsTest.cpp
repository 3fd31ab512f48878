#include "fonts/FontEngine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace layer {
namespace {

std::shared_ptr<const RasterFont> verdana(int emPixels, int weight = 400) {
    auto font = FontEngine::shared().open(FontRequest{"Verdana", emPixels, weight});
    EXPECT_NE(font, nullptr) << "no font for Verdana " << emPixels;
    return font;
}

Extent measure(const RasterFont& font, const std::string& text) {
    return font.measure(text.data(), static_cast<int>(text.size()));
}

// Verdana is not installed on the test machines; fontconfig substitutes
// DejaVu Sans (units per em 2048, Windows ascent 1901, descent 483), for
// which GDI's rounding of the Windows ascent/descent gives these cells.
TEST(FontMetrics, CellOfDejaVuSansMatchesGdiRounding) {
    struct Case {
        int emPixels, ascent, descent, height;
    };
    const Case cases[] = {
        {9, 8, 2, 10},   {10, 9, 2, 11},  {11, 10, 3, 13},    {12, 11, 3, 14},
        {16, 15, 4, 19}, {24, 22, 6, 28}, {100, 93, 24, 117},
    };
    for (const Case& c : cases) {
        auto font = verdana(c.emPixels);
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(font->ascent(), c.ascent) << "em " << c.emPixels;
        EXPECT_EQ(font->descent(), c.descent) << "em " << c.emPixels;
        EXPECT_EQ(font->height(), c.height) << "em " << c.emPixels;
    }
}

TEST(FontMetrics, VolumeLabelAtNinePixels) {
    auto font = verdana(9);
    ASSERT_NE(font, nullptr);
    const Extent extent = measure(*font, "Volume: 100");
    EXPECT_EQ(extent.height, 10);
    EXPECT_GE(extent.width, 55);
    EXPECT_LE(extent.width, 62);
}

TEST(FontMetrics, ExtentHeightIsCellHeightAtEverySize) {
    for (int em = 6; em <= 40; em += 3) {
        auto font = verdana(em);
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(measure(*font, "Volume: 100").height, font->height()) << "em " << em;
    }
}

// GDI adds up whole-pixel advances without kerning, so a string is exactly
// as wide as its characters measured one by one.
TEST(FontMetrics, WidthIsSumOfCharacterAdvances) {
    const std::string texts[] = {"Volume: 100", "AVATAR WAVE", "iiiilll", "WWWMMM", "caf\xe9 na\xefve \xa9\xbf",
                                 "Ty.Yo,Vo"};
    for (int em : {9, 12, 17}) {
        auto font = verdana(em);
        ASSERT_NE(font, nullptr);
        for (const std::string& text : texts) {
            int sum = 0;
            for (char c : text) {
                const int width = font->measure(&c, 1).width;
                EXPECT_GT(width, 0) << "char " << static_cast<int>(static_cast<unsigned char>(c));
                sum += width;
            }
            EXPECT_EQ(measure(*font, text).width, sum) << text << " at " << em;
        }
    }
}

TEST(FontMetrics, WiderAtLargerSizesAndForBold) {
    int previous = 0;
    for (int em : {8, 10, 14, 20, 30}) {
        auto font = verdana(em);
        ASSERT_NE(font, nullptr);
        const int width = measure(*font, "Volume: 100").width;
        EXPECT_GT(width, previous) << "em " << em;
        previous = width;

        auto bold = verdana(em, 700);
        ASSERT_NE(bold, nullptr);
        EXPECT_GT(measure(*bold, "Volume: 100").width, width) << "bold at em " << em;
    }
}

TEST(FontMetrics, EmptyTextMeasuresNothing) {
    auto font = verdana(12);
    ASSERT_NE(font, nullptr);
    struct Case {
        const char* text;
        int length;
    };
    const Case cases[] = {{"abc", 0}, {"abc", -1}, {"abc", -1000}, {nullptr, 3}, {nullptr, 0}, {"", 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(font->measure(c.text, c.length), (Extent{0, 0})) << "length " << c.length;
    }
}

TEST(FontMetrics, LengthLimitsWhatIsMeasured) {
    auto font = verdana(12);
    ASSERT_NE(font, nullptr);
    const char* text = "Volume: 100";
    EXPECT_EQ(font->measure(text, 3), measure(*font, "Vol"));
    // Bytes past length, including an embedded NUL, are not looked at; bytes
    // before it are all counted, NUL included.
    const char withNul[] = {'a', '\0', 'b'};
    EXPECT_EQ(font->measure(withNul, 3).width,
              font->measure("a", 1).width + font->measure(withNul + 1, 1).width + font->measure("b", 1).width);
}

TEST(FontMetrics, NonPositiveEmUsesDefaultSize) {
    auto reference = verdana(FontEngine::kDefaultEmPixels);
    ASSERT_NE(reference, nullptr);
    for (int em : {0, -1, -40}) {
        auto font = FontEngine::shared().open(FontRequest{"Verdana", em, 400});
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(font->emPixels(), FontEngine::kDefaultEmPixels) << em;
        EXPECT_EQ(font->height(), reference->height()) << em;
        EXPECT_EQ(font.get(), reference.get()) << "same request after defaults, same font";
    }
}

TEST(FontMetrics, HugeEmIsClamped) {
    auto font = FontEngine::shared().open(FontRequest{"Verdana", 1 << 30, 400});
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->emPixels(), FontEngine::kMaxEmPixels);
    EXPECT_GT(font->height(), FontEngine::kMaxEmPixels);
}

}  // namespace
}  // namespace layer
