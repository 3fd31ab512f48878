// The web backend's picture of a window: RGBA rows for a canvas, opaque
// inside the region and transparent outside it, scaled block for block, and
// only the rows the layer changed converted again.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "Bitmap.h"
#include "Region.h"
#include "WebFrame.h"

namespace {

using layer::Bitmap;
using layer::Region;
using layer::WebFrame;

using Rgba = std::array<uint8_t, 4>;

// Every pixel a different colour, so that swapped channels, rows or columns show.
COLORREF patternAt(int x, int y) { return RGB(x * 37 + y, y * 53 + 7, (x ^ y) * 29 + 3); }

void paint(Bitmap& frame, int shift = 0) {
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) frame.setPixel(x, y, patternAt(x + shift, y));
}

Rgba pixel(const WebFrame& picture, int x, int y) {
    const uint8_t* at = picture.pixels() + y * picture.stride() + x * 4;
    return Rgba{at[0], at[1], at[2], at[3]};
}

Rgba opaque(COLORREF colour) {
    return Rgba{uint8_t(colour & 0xFF), uint8_t((colour >> 8) & 0xFF), uint8_t((colour >> 16) & 0xFF), 255};
}

constexpr Rgba transparent{0, 0, 0, 0};

// An L-shaped outline in a 6 x 4 window: the top row whole, then only the
// left two columns.
Region lShape() { return Region({RECT{0, 0, 6, 1}, RECT{0, 1, 2, 4}}); }

TEST(WebFrame, ShowsEachPixelInItsColourInsideTheRegionAndNothingOutside) {
    for (bool bottomUp : {false, true}) {
        SCOPED_TRACE(bottomUp ? "bottom-up frame" : "top-down frame");
        Bitmap frame(6, 4, bottomUp);
        paint(frame);
        Region outline = lShape();
        WebFrame picture;
        picture.shape(6, 4, 1, &outline);
        WebFrame::Band written = picture.copy(frame, WebFrame::Band{0, 4});
        EXPECT_EQ(written.top, 0);
        EXPECT_EQ(written.bottom, 4);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x)
                EXPECT_EQ(pixel(picture, x, y), outline.contains(x, y) ? opaque(patternAt(x, y)) : transparent)
                    << "at (" << x << "," << y << ")";
    }
}

TEST(WebFrame, WithoutARegionTheWholeRectangleIsOpaque) {
    Bitmap frame(3, 2, true);
    paint(frame);
    WebFrame picture;
    picture.shape(3, 2, 1, nullptr);
    picture.copy(frame, WebFrame::Band{0, 2});
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(pixel(picture, x, y), opaque(patternAt(x, y)));
}

TEST(WebFrame, ScaledEveryPixelIsABlockOfExactlyItsColourAndTheOutlineScalesWithIt) {
    for (int scale : {2, 3}) {
        SCOPED_TRACE(scale);
        Bitmap frame(6, 4, true);
        paint(frame);
        Region outline = lShape();
        WebFrame picture;
        picture.shape(6, 4, scale, &outline);
        WebFrame::Band written = picture.copy(frame, WebFrame::Band{0, 4});
        EXPECT_EQ(picture.width(), 6 * scale);
        EXPECT_EQ(picture.height(), 4 * scale);
        EXPECT_EQ(written.bottom, 4 * scale);
        for (int y = 0; y < 4 * scale; ++y)
            for (int x = 0; x < 6 * scale; ++x) {
                int cx = x / scale, cy = y / scale;
                ASSERT_EQ(pixel(picture, x, y), outline.contains(cx, cy) ? opaque(patternAt(cx, cy)) : transparent)
                    << "device (" << x << "," << y << ")";
            }
    }
}

TEST(WebFrame, ConvertsOnlyTheChangedRowsOnceItHasShownAWholeFrame) {
    Bitmap frame(4, 4, false);
    paint(frame);
    WebFrame picture;
    picture.shape(4, 4, 2, nullptr);
    // The first copy after shaping writes every row, whatever it is given.
    WebFrame::Band first = picture.copy(frame, WebFrame::Band{1, 2});
    EXPECT_EQ(first.top, 0);
    EXPECT_EQ(first.bottom, 8);

    paint(frame, 1);
    WebFrame::Band second = picture.copy(frame, WebFrame::Band{1, 3});
    EXPECT_EQ(second.top, 2);
    EXPECT_EQ(second.bottom, 6);
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(pixel(picture, 2 * x, 0), opaque(patternAt(x, 0))) << "row 0 was not to be converted again";
        EXPECT_EQ(pixel(picture, 2 * x, 3), opaque(patternAt(x + 1, 1)));
        EXPECT_EQ(pixel(picture, 2 * x + 1, 5), opaque(patternAt(x + 1, 2)));
        EXPECT_EQ(pixel(picture, 2 * x, 7), opaque(patternAt(x, 3)));
    }
    EXPECT_TRUE(picture.copy(frame, WebFrame::Band{3, 3}).empty());
    EXPECT_TRUE(picture.copy(frame, WebFrame::Band{5, 9}).empty()) << "rows below the window";
}

TEST(WebFrame, AFrameSmallerThanTheWindowLeavesTheRestTransparent) {
    Bitmap frame(2, 1, false);
    paint(frame);
    WebFrame picture;
    picture.shape(3, 2, 1, nullptr);
    picture.copy(frame, WebFrame::Band{0, 2});
    EXPECT_EQ(pixel(picture, 1, 0), opaque(patternAt(1, 0)));
    EXPECT_EQ(pixel(picture, 2, 0), transparent);
    EXPECT_EQ(pixel(picture, 0, 1), transparent);
}

}  // namespace
