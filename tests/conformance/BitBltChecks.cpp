// The block copy: clipping to either bitmap, extents of every sign, and
// copies within one bitmap.
#include "Check.h"
#include "Fixtures.h"

using conformance::Dib;
using conformance::patternColour;

namespace {

constexpr COLORREF untouched = RGB(1, 2, 3);

// Where the copy should have put source pixel (sx, sy) for destination
// pixel (x, y), or untouched; checks every destination pixel.
template <class Expectation>
int wrongPixels(const Dib& target, Expectation expected) {
    int wrong = 0;
    for (int y = 0; y < target.height(); ++y)
        for (int x = 0; x < target.width(); ++x) wrong += target.pixel(x, y) != expected(x, y);
    return wrong;
}

struct CopyCase {
    const char* what;
    int x, y, width, height, sourceX, sourceY;
    // The destination rectangle that receives pixels, and the source offset.
    RECT filled;
    int shiftX, shiftY;  // source = destination + shift
};

// Source and destination are 8x8; the destination starts as `untouched`.
constexpr CopyCase copyCases[] = {
    {"the whole bitmap", 0, 0, 8, 8, 0, 0, {0, 0, 8, 8}, 0, 0},
    {"an inner block", 2, 3, 4, 2, 1, 1, {2, 3, 6, 5}, -1, -2},
    {"off the destination's left and top", -3, -2, 8, 8, 0, 0, {0, 0, 5, 6}, 3, 2},
    {"off the destination's right and bottom", 5, 6, 8, 8, 0, 0, {5, 6, 8, 8}, -5, -6},
    {"from beyond the source's right", 0, 0, 8, 8, 4, 0, {0, 0, 4, 8}, 4, 0},
    {"from before the source's left and top", 0, 0, 8, 8, -2, -3, {2, 3, 8, 8}, -2, -3},
    {"wider than both", -10, -10, 100, 100, -10, -10, {0, 0, 8, 8}, 0, 0},
    {"entirely outside", 20, 20, 4, 4, 0, 0, {0, 0, 0, 0}, 0, 0},
    {"of width 0", 0, 0, 0, 8, 0, 0, {0, 0, 0, 0}, 0, 0},
    // A negative extent names the pixels on the other side of the origin,
    // the origin's own column or row included, in both bitmaps alike:
    // nothing is mirrored.
    {"of negative width", 6, 0, -4, 8, 6, 0, {3, 0, 7, 8}, 0, 0},
    {"of negative height", 0, 5, 8, -3, 0, 4, {0, 3, 8, 6}, 0, -1},
    {"of negative width and height", 8, 8, -8, -8, 8, 8, {1, 1, 8, 8}, 0, 0},
    {"of negative width from a shifted source", 7, 0, -2, 1, 3, 0, {6, 0, 8, 1}, -4, 0},
};

}  // namespace

TEST_CASE(bitblt_extents_and_clipping, nullptr) {
    Dib source(8, 8);
    source.fillPattern();
    for (const CopyCase& c : copyCases) {
        Dib target(8, 8);
        target.fill(untouched);
        BOOL copied = BitBlt(target.dc(), c.x, c.y, c.width, c.height, source.dc(), c.sourceX, c.sourceY, SRCCOPY);
        ok(copied, "BitBlt %s failed", c.what);
        int wrong = wrongPixels(target, [&](int x, int y) {
            bool inside = x >= c.filled.left && x < c.filled.right && y >= c.filled.top && y < c.filled.bottom;
            return inside ? patternColour(x + c.shiftX, y + c.shiftY) : untouched;
        });
        ok(wrong == 0, "BitBlt %s: %d of 64 pixels wrong", c.what, wrong);
    }
}

TEST_CASE(bitblt_within_one_bitmap, nullptr) {
    // Overlapping copies read every pixel before it is overwritten.
    struct Shift {
        int dx, dy;
    } shifts[] = {{2, 0}, {-2, 0}, {0, 3}, {0, -3}, {1, 1}};
    for (const Shift& s : shifts) {
        Dib dib(8, 8);
        dib.fillPattern();
        BitBlt(dib.dc(), s.dx, s.dy, 8, 8, dib.dc(), 0, 0, SRCCOPY);
        int wrong = wrongPixels(dib, [&](int x, int y) {
            int sx = x - s.dx, sy = y - s.dy;
            bool copied = sx >= 0 && sx < 8 && sy >= 0 && sy < 8;
            return copied ? patternColour(sx, sy) : patternColour(x, y);
        });
        ok(wrong == 0, "a copy onto itself shifted by (%d, %d): %d pixels wrong", s.dx, s.dy, wrong);
    }
}

TEST_CASE(bitblt_refusals, nullptr) {
    Dib source(4, 4), target(4, 4);
    ok(!BitBlt(nullptr, 0, 0, 4, 4, source.dc(), 0, 0, SRCCOPY), "BitBlt to no DC succeeded");
    // Between bitmaps of different layouts the copy converts.
    Dib bottomUp(4, 4, false);
    source.fillPattern();
    ok(BitBlt(bottomUp.dc(), 0, 0, 4, 4, source.dc(), 0, 0, SRCCOPY), "BitBlt to a bottom-up section failed");
    int wrong = wrongPixels(bottomUp, [](int x, int y) { return patternColour(x, y); });
    ok(wrong == 0, "a copy into a bottom-up section: %d pixels wrong", wrong);
}
