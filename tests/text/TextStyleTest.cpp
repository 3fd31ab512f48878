// The text style: colour order, the font it asks for, and drawing a line.
#include <gtest/gtest.h>

#include <cstring>

#include "ProgramHarness.h"
#include "layer/Testing.h"
#include "text/TextStyle.h"

namespace {

struct ColourCase {
    int32_t colour;
    COLORREF expected;
};

TEST(TextStyle, ToColorRefSwapsRedAndBlueAndClearsTheTopByte) {
    TextStyle style;
    const ColourCase cases[] = {{0x0DCC0D, 0x0DCC0D}, {0x123456, 0x563412},
                                {0xFF0000, 0x0000FF}, {0x0000FF, 0xFF0000},
                                {0x00FF00, 0x00FF00}, {int32_t(0xAB123456), 0x563412},
                                {-1, 0xFFFFFF},       {0, 0}};
    for (ColourCase c : cases) EXPECT_EQ(style.toColorRef(c.colour), c.expected) << std::hex << c.colour;
}

TEST(TextStyle, DefaultsAreTheClassicSerifInWhiteOnBlack) {
    TextStyle style;
    EXPECT_STREQ(style.face, "Times New Roman");
    EXPECT_EQ(style.size, 12);
    EXPECT_EQ(style.textColour, 0xFFFFFF);
    EXPECT_EQ(style.backColour, 0x000000);
    EXPECT_EQ(style.pitchAndFamily, 18);
    EXPECT_EQ(style.charSet, 1);
    EXPECT_FALSE(style.bold || style.italic || style.underline || style.strikeOut);
}

struct HeightCase {
    int points;
    int dpi;
    LONG height;
};

TEST(TextStyle, AsksForTheCharacterHeightRoundedToThePixel) {
    const HeightCase cases[] = {{7, 96, -9}, {7, 120, -12}, {12, 96, -16}, {8, 96, -11}};
    TextStyle style;
    for (HeightCase c : cases) {
        style.size = c.points;
        EXPECT_EQ(style.logFont(c.dpi).lfHeight, c.height) << c.points << " pt at " << c.dpi << " dpi";
    }
}

TEST(TextStyle, SetStoresBoldAndItalicInTheirOwnFieldsAndWeightsAreOnly400Or700) {
    TextStyle style;
    style.set("Verdana", 7, 0x0DCC0D, 0x000000, true, false, true, false);
    EXPECT_TRUE(style.bold);
    EXPECT_FALSE(style.italic);
    EXPECT_TRUE(style.underline);
    LOGFONTA font = style.logFont(96);
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    EXPECT_EQ(font.lfUnderline, 1);
    EXPECT_EQ(font.lfPitchAndFamily, 18) << "set leaves pitch and family alone";
    EXPECT_STREQ(font.lfFaceName, "Verdana");
    style.set("Verdana", 7, 0, 0, false, true, false, true);
    font = style.logFont(96);
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    EXPECT_EQ(font.lfItalic, 1);
    EXPECT_EQ(font.lfStrikeOut, 1);
}

TEST(TextStyle, AFaceNameLongerThanTheFieldIsCutAndTerminated) {
    TextStyle style;
    style.face = "An Extraordinarily Long Face Name Of Forty Characters";
    LOGFONTA font = style.logFont(96);
    EXPECT_EQ(std::strlen(font.lfFaceName), std::size_t(LF_FACESIZE - 1));
    EXPECT_EQ(std::strncmp(font.lfFaceName, style.face, LF_FACESIZE - 1), 0);
}

class TextDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        ProgramHarness fresh;
        canvas = makeDib(width, height, true);
        dc = dcWith(canvas.handle);
    }
    COLORREF at(int x, int y) const { return canvas.pixel(x, y); }
    static constexpr int width = 100, height = 30;
    Dib canvas;
    HDC dc = nullptr;
};

TEST_F(TextDrawing, DrawsGreenGlyphsOnlyInsideTheTextCellAndKeepsTheColoursSet) {
    TextStyle style;
    style.set("Verdana", 7, 0x0DCC0D, 0x000000, false, false, false, false);
    SetBkMode(dc, TRANSPARENT);
    std::size_t objectsBefore = layer::testing::liveObjects();
    style.draw("Volume: 100", dc, 10, 8);
    EXPECT_EQ(layer::testing::liveObjects(), objectsBefore) << "the font is deleted after drawing";

    SIZE extent{};
    ASSERT_TRUE(GetTextExtentPoint32A(dc, "Volume: 100", 11, &extent));
    int green = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            COLORREF c = at(x, y);
            bool inCell = x >= 10 && x < 10 + extent.cx && y >= 8 && y < 8 + extent.cy;
            if (!inCell) {
                ASSERT_EQ(c, 0u) << "pixel (" << x << ", " << y << ") outside the text cell";
            }
            if (c == RGB(0x0D, 0xCC, 0x0D)) ++green;
        }
    }
    EXPECT_GT(green, 10) << "stroke cores carry the full text colour";
    EXPECT_EQ(SetTextColor(dc, 0), RGB(0x0D, 0xCC, 0x0D));
    EXPECT_EQ(SetBkColor(dc, 0), RGB(0, 0, 0));
}

TEST_F(TextDrawing, AnEmptyTextDrawsNothingButStillCreatesAndDeletesItsFont) {
    TextStyle style;
    SetBkMode(dc, OPAQUE);
    std::size_t objectsBefore = layer::testing::liveObjects();
    style.draw("", dc, 10, 8);
    EXPECT_EQ(layer::testing::liveObjects(), objectsBefore);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) ASSERT_EQ(at(x, y), 0u) << "pixel (" << x << ", " << y << ")";
}

TEST_F(TextDrawing, InOpaqueModeTheCellIsFilledWithTheBackColour) {
    TextStyle style;
    style.set("Verdana", 7, 0xFFFFFF, 0x3366CC, false, false, false, false);
    SetBkMode(dc, OPAQUE);
    style.draw("x", dc, 0, 0);
    EXPECT_EQ(at(0, 0), RGB(0x33, 0x66, 0xCC));
}

}  // namespace
