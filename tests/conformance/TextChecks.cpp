// Fonts and text as the program draws its read-out: the rules of
// measuring and of drawing, not another font's exact metrics.
#include <algorithm>
#include <climits>
#include <cstring>

#include "Check.h"
#include "Fixtures.h"

using conformance::Dib;

namespace {

HFONT createFont(int height, int weight = FW_NORMAL) {
    LOGFONTA font;
    std::memset(&font, 0, sizeof font);
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    std::strcpy(font.lfFaceName, "Arial");
    return CreateFontIndirectA(&font);
}

SIZE extent(HDC dc, const char* text) {
    SIZE size{-1, -1};
    GetTextExtentPoint32A(dc, text, int(std::strlen(text)), &size);
    return size;
}

// The pixels of that colour in the part of `area` that lies in the bitmap.
int pixelsOf(const Dib& dib, COLORREF colour, const RECT& area) {
    int count = 0;
    for (int y = std::max<int>(area.top, 0); y < std::min<int>(area.bottom, dib.height()); ++y)
        for (int x = std::max<int>(area.left, 0); x < std::min<int>(area.right, dib.width()); ++x)
            count += dib.pixel(x, y) == colour;
    return count;
}

}  // namespace

TEST_CASE(text_extents, "dlls/gdi32/tests/font.c: test_text_extents") {
    Dib dib(16, 16);
    HFONT font = createFont(-20);
    HGDIOBJ previous = SelectObject(dib.dc(), font);
    SIZE one = extent(dib.dc(), "W"), two = extent(dib.dc(), "WW"), none = extent(dib.dc(), "");
    ok(one.cx > 0 && one.cy >= 20, "\"W\" at 20 pixels measures %ldx%ld", long(one.cx), long(one.cy));
    ok(two.cx == 2 * one.cx && two.cy == one.cy, "\"WW\" measures %ld wide, \"W\" %ld", long(two.cx), long(one.cx));
    ok(none.cx == 0 && none.cy == 0, "the empty string measures %ldx%ld", long(none.cx), long(none.cy));
    SIZE part{0, 0};
    ok(GetTextExtentPoint32A(dib.dc(), "WWWW", 2, &part) && part.cx == two.cx, "a length of 2 measured %ld",
       long(part.cx));
    ok(!GetTextExtentPoint32A(nullptr, "W", 1, &part), "measuring without a DC succeeded");

    // A taller font measures taller; a positive height is the cell's.
    HFONT taller = createFont(-40);
    SelectObject(dib.dc(), taller);
    SIZE big = extent(dib.dc(), "W");
    ok(big.cy > one.cy && big.cx > one.cx, "a 40-pixel \"W\" measures %ldx%ld", long(big.cx), long(big.cy));
    HFONT cell = createFont(40);
    SelectObject(dib.dc(), cell);
    SIZE byCell = extent(dib.dc(), "W");
    ok(byCell.cy <= big.cy, "a 40-pixel cell (%ld) is taller than a 40-pixel em (%ld)", long(byCell.cy), long(big.cy));
    ok(byCell.cy >= 36 && byCell.cy <= 40, "a font of height 40 has cells %ld high", long(byCell.cy));

    // The most negative height there is still makes a font that measures.
    HFONT extreme = createFont(INT_MIN);
    ok(extreme != nullptr, "no font of height INT_MIN");
    SelectObject(dib.dc(), extreme);
    SIZE huge{0, 0};
    ok(GetTextExtentPoint32A(dib.dc(), "W", 1, &huge) && huge.cy > 0, "a font of height INT_MIN measures %ldx%ld",
       long(huge.cx), long(huge.cy));

    SelectObject(dib.dc(), previous);
    DeleteObject(font);
    DeleteObject(taller);
    DeleteObject(cell);
    DeleteObject(extreme);
}

TEST_CASE(dc_text_state, nullptr) {
    Dib dib(4, 4);
    HDC dc = dib.dc();
    ok(SetBkMode(dc, TRANSPARENT) == OPAQUE, "a new DC's background mode is not OPAQUE");
    ok(SetBkMode(dc, OPAQUE) == TRANSPARENT, "SetBkMode does not return the mode it replaced");
    ok(SetBkMode(dc, 7) == 0, "SetBkMode took mode 7");
    ok(SetBkMode(dc, TRANSPARENT) == OPAQUE, "a refused SetBkMode changed the mode");
    ok(SetTextColor(dc, RGB(0, 255, 0)) == RGB(0, 0, 0), "a new DC's text is not black");
    ok(SetTextColor(dc, RGB(1, 2, 3)) == RGB(0, 255, 0), "SetTextColor does not return the colour it replaced");
    ok(SetBkColor(dc, RGB(9, 9, 9)) == RGB(255, 255, 255), "a new DC's background is not white");
    ok(SetBkColor(nullptr, 0) == CLR_INVALID, "SetBkColor without a DC");
    ok(SetTextColor(nullptr, 0) == CLR_INVALID, "SetTextColor without a DC");
    ok(SetBkMode(nullptr, OPAQUE) == 0, "SetBkMode without a DC");
}

TEST_CASE(drawing_text, nullptr) {
    Dib dib(64, 48);
    HFONT font = createFont(-24, FW_BOLD);
    HGDIOBJ previous = SelectObject(dib.dc(), font);
    const COLORREF paper = RGB(255, 255, 255), ink = RGB(0, 255, 0), fill = RGB(0, 0, 128);
    RECT all = {0, 0, 64, 48};

    dib.fill(paper);
    SetBkMode(dib.dc(), TRANSPARENT);
    SetTextColor(dib.dc(), ink);
    ok(ExtTextOutA(dib.dc(), 2, 2, 0, nullptr, "Vol", 3, nullptr), "ExtTextOutA failed");
    ok(pixelsOf(dib, ink, all) > 20, "transparent text drew %d pixels of its colour", pixelsOf(dib, ink, all));

    // ETO_OPAQUE fills the rectangle with the background colour.
    dib.fill(paper);
    SetBkColor(dib.dc(), fill);
    RECT box = {10, 10, 20, 20};
    ok(ExtTextOutA(dib.dc(), 0, 0, ETO_OPAQUE, &box, "", 0, nullptr), "ExtTextOutA with only a rectangle failed");
    ok(pixelsOf(dib, fill, box) == 100 && pixelsOf(dib, fill, all) == 100, "ETO_OPAQUE filled %d pixels, %d inside",
       pixelsOf(dib, fill, all), pixelsOf(dib, fill, box));

    // ETO_CLIPPED keeps the glyphs inside the rectangle.
    dib.fill(paper);
    RECT clip = {0, 0, 12, 48};
    ok(ExtTextOutA(dib.dc(), 2, 2, ETO_CLIPPED, &clip, "WWW", 3, nullptr), "ExtTextOutA clipped failed");
    RECT outside = {12, 0, 64, 48};
    ok(pixelsOf(dib, paper, outside) == 52 * 48, "clipped text drew %d pixels outside its rectangle",
       52 * 48 - pixelsOf(dib, paper, outside));
    ok(pixelsOf(dib, ink, clip) > 0, "clipped text drew nothing inside");

    // An opaque background fills the text's cell.
    dib.fill(paper);
    SetBkMode(dib.dc(), OPAQUE);
    ExtTextOutA(dib.dc(), 0, 0, 0, nullptr, "W", 1, nullptr);
    SIZE cell = extent(dib.dc(), "W");
    RECT cellRect = {0, 0, cell.cx, cell.cy};
    ok(cell.cy <= dib.height(), "a 24-pixel cell is %ld high", long(cell.cy));
    ok(pixelsOf(dib, paper, cellRect) == 0, "an opaque cell of %ldx%ld kept %d paper pixels", long(cell.cx),
       long(cell.cy), pixelsOf(dib, paper, cellRect));

    SelectObject(dib.dc(), previous);
    DeleteObject(font);
}
