// Text through the Win32 calls, as far as the rest of GDI sees it: filling the
// rectangle, background modes, and null DCs.
#include "LayerTestSupport.h"

namespace {

constexpr COLORREF paper = RGB(200, 0, 0);
constexpr COLORREF back = RGB(0, 0, 255);
constexpr COLORREF ink = RGB(255, 255, 255);

class TextCalls : public LayerTest {};

TEST_F(TextCalls, OpaqueOptionFillsTheRectangleClippedToTheBitmap) {
    Dib dib = makeDib(6, 5);
    dib.fill([](int, int) { return paper; });
    HDC dc = dcWith(dib.handle);
    SetBkColor(dc, back);
    RECT rect{-3, 2, 4, 99};
    ASSERT_TRUE(ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, "", 0, nullptr));
    EXPECT_TRUE(pixelsAre(dib, [](int x, int y) { return x < 4 && y >= 2 ? back : paper; }));
    RECT nothing{3, 3, 3, 5};
    SetBkColor(dc, ink);
    ASSERT_TRUE(ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &nothing, "", 0, nullptr)) << "an empty rectangle fills nothing";
    EXPECT_TRUE(pixelsAre(dib, [](int x, int y) { return x < 4 && y >= 2 ? back : paper; }));
}

// Counts the pixels of each colour after drawing text on paper.
struct Tally {
    int paper = 0, back = 0, other = 0;
};

Tally drawText(int mode) {
    Dib dib = makeDib(60, 30);
    dib.fill([](int, int) { return paper; });
    HDC dc = dcWith(dib.handle);
    LOGFONTA request{};
    request.lfHeight = -16;
    request.lfWeight = FW_BOLD;
    HFONT font = CreateFontIndirectA(&request);
    SelectObject(dc, font);
    SetTextColor(dc, ink);
    SetBkColor(dc, back);
    if (mode) SetBkMode(dc, mode);
    Tally tally;
    if (!ExtTextOutA(dc, 4, 4, 0, nullptr, "Hg", 2, nullptr)) {
        tally.other = -1;
        return tally;
    }
    for (int y = 0; y < dib.height; ++y)
        for (int x = 0; x < dib.width; ++x) {
            COLORREF c = dib.pixel(x, y);
            (c == paper ? tally.paper : c == back ? tally.back : tally.other)++;
        }
    return tally;
}

TEST_F(TextCalls, OpaqueModeFillsTheTextCellAndTransparentModeDoesNot) {
    Tally byDefault = drawText(0), opaque = drawText(OPAQUE), transparent = drawText(TRANSPARENT);
    if (transparent.other < 0) GTEST_SKIP() << "no font file on this machine";
    EXPECT_GT(transparent.other, 0) << "glyphs were drawn";
    EXPECT_EQ(transparent.back, 0) << "a transparent background leaves the paper showing";
    EXPECT_GT(opaque.back, 0) << "an opaque background fills the cell";
    EXPECT_GT(opaque.paper, 0) << "only the cell";
    EXPECT_EQ(byDefault.back, opaque.back) << "a new DC draws with an opaque background";
}

TEST_F(TextCalls, NullDcsAndMissingTextFail) {
    RECT rect{0, 0, 2, 2};
    EXPECT_FALSE(ExtTextOutA(nullptr, 0, 0, 0, nullptr, "A", 1, nullptr));
    EXPECT_FALSE(ExtTextOutA(nullptr, 0, 0, ETO_OPAQUE, &rect, "", 0, nullptr));
    SIZE size{};
    EXPECT_FALSE(GetTextExtentPoint32A(nullptr, "A", 1, &size));
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_FALSE(ExtTextOutA(dc, 0, 0, 0, nullptr, nullptr, 3, nullptr)) << "three characters of no text";
    EXPECT_FALSE(GetTextExtentPoint32A(dc, "A", 1, nullptr));
}

}  // namespace
