// The block copy: each rectangle clipped to its own bitmap, only the overlap
// copied, the rest of the destination left alone; and copies within one bitmap
// whose source and destination overlap.
#include <climits>

#include "LayerTestSupport.h"
#include "layer/Headless.h"

namespace {

constexpr COLORREF untouched = RGB(0xC8, 0x00, 0xC8);

struct BlitCase {
    const char* what;
    int x, y, width, height, sourceX, sourceY;
};

// What SRCCOPY leaves in the destination pixel (dx, dy): the source pixel that
// lands there if there is one, else what was there.
COLORREF expectedAfterCopy(const BlitCase& c, const Dib& source, int dx, int dy) {
    int64_t inX = int64_t(dx) - c.x, inY = int64_t(dy) - c.y;
    if (inX < 0 || inY < 0 || inX >= c.width || inY >= c.height) return untouched;
    int64_t sx = c.sourceX + inX, sy = c.sourceY + inY;
    if (sx < 0 || sy < 0 || sx >= source.width || sy >= source.height) return untouched;
    return patternColour(int(sx), int(sy));
}

class BlockCopy : public LayerTest {};

TEST_F(BlockCopy, CopiesOnlyWhereBothRectanglesLieInsideTheirBitmaps) {
    const BlitCase cases[] = {
        {"wholly inside both", 1, 1, 3, 2, 0, 0},
        {"source offset inside", 0, 0, 3, 3, 2, 1},
        {"negative destination offset", -2, -1, 5, 4, 0, 0},
        {"negative source offset", 1, 1, 5, 4, -2, -1},
        {"both offsets negative", -1, -2, 6, 6, -2, -1},
        {"past the destination's right and bottom", 6, 4, 5, 4, 0, 0},
        {"past the source's right and bottom", 0, 0, 5, 4, 3, 2},
        {"larger than both bitmaps", -3, -3, 100, 100, 0, 0},
        {"wholly outside the destination", 20, 20, 3, 3, 0, 0},
        {"wholly left of the destination", -5, 0, 5, 3, 0, 0},
        {"wholly outside the source", 0, 0, 3, 3, 5, 0},
        {"wholly above the source", 0, 0, 3, 3, 0, -3},
        {"empty", 2, 2, 0, 0, 0, 0},
        {"near the limits of int", INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0},
        {"far past the end", INT_MAX - 1, 0, INT_MAX, 4, INT_MAX - 1, 0},
    };
    for (const BlitCase& c : cases)
        for (bool sourceBottomUp : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (sourceBottomUp ? ", bottom-up source" : ", top-down source"));
            layer::testing::resetHeadless();
            Dib source = makeDib(5, 4, sourceBottomUp), target = makeDib(8, 6);
            source.fill(patternColour);
            target.fill([](int, int) { return untouched; });
            HDC from = dcWith(source.handle), to = dcWith(target.handle);
            EXPECT_TRUE(BitBlt(to, c.x, c.y, c.width, c.height, from, c.sourceX, c.sourceY, SRCCOPY))
                << "a copy with nothing to copy still succeeds";
            EXPECT_TRUE(pixelsAre(target, [&](int x, int y) { return expectedAfterCopy(c, source, x, y); }));
            EXPECT_TRUE(pixelsAre(source, patternColour)) << "the source is left as it was";
        }
}

struct ShiftCase {
    int dx, dy;
};

TEST_F(BlockCopy, OverlappingCopyWithinOneBitmapReadsEveryPixelBeforeOverwritingIt) {
    constexpr int width = 9, height = 7;
    const ShiftCase shifts[] = {{1, 1}, {-1, -1}, {2, 0}, {-2, 0}, {0, 1}, {0, -2}, {1, -1}, {-1, 2}, {3, 3}, {0, 0}};
    for (const ShiftCase s : shifts)
        for (bool bottomUp : {false, true}) {
            SCOPED_TRACE("shift (" + std::to_string(s.dx) + ", " + std::to_string(s.dy) + ")" +
                         (bottomUp ? ", bottom-up" : ", top-down"));
            layer::testing::resetHeadless();
            Dib dib = makeDib(width, height, bottomUp);
            dib.fill(patternColour);
            HDC dc = dcWith(dib.handle);
            // The block (2, 2)-(7, 6) moved by the shift, on the same DC.
            ASSERT_TRUE(BitBlt(dc, 2 + s.dx, 2 + s.dy, 5, 4, dc, 2, 2, SRCCOPY));
            EXPECT_TRUE(pixelsAre(dib, [&](int x, int y) {
                int fromX = x - s.dx, fromY = y - s.dy;
                bool landed = x >= 2 + s.dx && x < 7 + s.dx && y >= 2 + s.dy && y < 6 + s.dy;
                return landed ? patternColour(fromX, fromY) : patternColour(x, y);
            }));
        }
}

// A copy to a window writes only the rows whose pixels differ, and tells the
// backend which those are: a frame is mostly the one before it again.
TEST_F(BlockCopy, ACopyToAWindowReportsTheRowsItChanged) {
    registerTestClass();
    HWND window = createTestWindow(0, 0, 12, 10);
    HDC windowDC = GetDC(window);
    Dib frame = makeDib(12, 10, true);
    frame.fill(patternColour);
    HDC memory = CreateCompatibleDC(nullptr);
    SelectObject(memory, frame.handle);

    ASSERT_TRUE(BitBlt(windowDC, 0, 0, 12, 10, memory, 0, 0, SRCCOPY));
    EXPECT_EQ(layer::headless::lastPresentedRows(), std::make_pair(0, 10)) << "the first frame";

    ASSERT_TRUE(BitBlt(windowDC, 0, 0, 12, 10, memory, 0, 0, SRCCOPY));
    auto unchanged = layer::headless::lastPresentedRows();
    EXPECT_EQ(unchanged.first, unchanged.second) << "the same frame again";

    frame.setPixel(11, 3, RGB(1, 2, 3));
    frame.setPixel(0, 6, RGB(4, 5, 6));
    ASSERT_TRUE(BitBlt(windowDC, 0, 0, 12, 10, memory, 0, 0, SRCCOPY));
    EXPECT_EQ(layer::headless::lastPresentedRows(), std::make_pair(3, 7));

    ASSERT_TRUE(BitBlt(windowDC, 2, 5, 4, 4, memory, 0, 0, SRCCOPY));
    EXPECT_EQ(layer::headless::lastPresentedRows(), std::make_pair(5, 9)) << "a block copied lower down";
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) {
            COLORREF wanted = (x >= 2 && x < 6 && y >= 5 && y < 9) ? frame.pixel(x - 2, y - 5) : frame.pixel(x, y);
            COLORREF shown = 0;
            ASSERT_TRUE(layer::headless::windowPixel(x, y, shown));
            ASSERT_EQ(shown, wanted) << "window pixel (" << x << "," << y << ")";
        }
    DeleteDC(memory);
    ReleaseDC(window, windowDC);
}

}  // namespace
