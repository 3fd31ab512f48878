// GDI objects: stock objects, DIB sections, memory DCs and what they hold,
// and the rules of selection and deletion for every kind the program uses.
#include <cstring>

#include "Check.h"
#include "Fixtures.h"

using conformance::Dib;

namespace {

HFONT createFont(int height) {
    LOGFONTA font;
    std::memset(&font, 0, sizeof font);
    font.lfHeight = height;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    std::strcpy(font.lfFaceName, "Arial");
    return CreateFontIndirectA(&font);
}

bool bitmapAlive(HGDIOBJ bitmap) {
    BITMAP description;
    return GetObjectA(bitmap, sizeof description, &description) == sizeof description;
}

bool fontAlive(HGDIOBJ font) {
    LOGFONTA description;
    return GetObjectA(font, sizeof description, &description) == sizeof description;
}

LONG textHeight(HDC dc) {
    SIZE size{0, 0};
    GetTextExtentPoint32A(dc, "Volume", 6, &size);
    return size.cy;
}

}  // namespace

TEST_CASE(null_and_stock_objects, "dlls/gdi32/tests/gdiobj.c: test_gdi_objects") {
    ok(!DeleteObject(nullptr), "DeleteObject(NULL) succeeded");
    char buffer[64];
    ok(GetObjectA(nullptr, sizeof buffer, buffer) == 0, "GetObjectA(NULL) succeeded");
    HDC dc = CreateCompatibleDC(nullptr);
    ok(SelectObject(nullptr, GetStockObject(BLACK_BRUSH)) == nullptr, "SelectObject with no DC succeeded");
    ok(SelectObject(dc, nullptr) == nullptr, "SelectObject of NULL succeeded");
    HGDIOBJ white = GetStockObject(WHITE_BRUSH), black = GetStockObject(BLACK_BRUSH), none = GetStockObject(NULL_BRUSH);
    ok(white && black && none && white != black && black != none && white != none, "stock brushes %p %p %p", white,
       black, none);
    ok(GetStockObject(WHITE_BRUSH) == white, "a stock object has more than one handle");
    ok(DeleteObject(black), "deleting a stock brush fails");
    ok(GetStockObject(BLACK_BRUSH) == black, "a stock brush went away when deleted");
    // A new DC draws with the white brush; the previous brush comes back.
    ok(SelectObject(dc, black) == white, "a new DC's brush is not the white stock brush");
    ok(SelectObject(dc, none) == black, "SelectObject did not return the brush it replaced");
    DeleteDC(dc);
}

TEST_CASE(dib_sections, "dlls/gdi32/tests/bitmap.c: test_dibsections") {
    Dib odd(3, 2);
    ok(odd.valid(), "a 3x2 24-bit DIB section was not made");
    BITMAP description;
    std::memset(&description, 0, sizeof description);
    ok(GetObjectA(odd.bitmap(), sizeof description, &description) == sizeof description, "GetObjectA failed");
    ok(description.bmWidth == 3 && description.bmHeight == 2, "GetObjectA gives %dx%d", int(description.bmWidth),
       int(description.bmHeight));
    ok(description.bmWidthBytes == 12, "rows of 3 pixels take %d bytes, not 12", int(description.bmWidthBytes));
    ok(description.bmBitsPixel == 24 && description.bmPlanes == 1, "%d bits in %d planes", int(description.bmBitsPixel),
       int(description.bmPlanes));
    ok(description.bmBits == odd.bits(), "bmBits %p is not the section's pixels %p", description.bmBits, odd.bits());
    ok(GetObjectA(odd.bitmap(), sizeof description - 1, &description) == 0, "a short buffer was filled");
    ok(GetObjectA(odd.bitmap(), 0, nullptr) == sizeof(BITMAP), "the size asked for is %d",
       GetObjectA(odd.bitmap(), 0, nullptr));

    // A bottom-up section keeps its last row first in memory.
    Dib topDown(4, 3, true), bottomUp(4, 3, false);
    topDown.fillPattern();
    bottomUp.fill(RGB(0, 0, 0));
    BitBlt(bottomUp.dc(), 0, 0, 4, 3, topDown.dc(), 0, 0, SRCCOPY);
    const uint8_t* lastRowFirst = bottomUp.bits();
    COLORREF expected = conformance::patternColour(0, 2);
    ok(RGB(lastRowFirst[2], lastRowFirst[1], lastRowFirst[0]) == expected,
       "a bottom-up section's first bytes are not its bottom row");

    void* bits = reinterpret_cast<void*>(1);
    BITMAPINFO info;
    std::memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 4;
    info.bmiHeader.biHeight = 0;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    HBITMAP none = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ok(none == nullptr && bits == nullptr, "a section of height 0 was made (%p, bits %p)", none, bits);
    if (none) DeleteObject(none);
}

static HBITMAP smallSection() {
    BITMAPINFO info;
    std::memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 2;
    info.bmiHeader.biHeight = 2;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

TEST_CASE(memory_dc_selection, "dlls/gdi32/tests/bitmap.c: test_select_object") {
    HDC dc = CreateCompatibleDC(nullptr);
    ok(dc != nullptr, "CreateCompatibleDC failed");
    // One bitmap, one DC: a section in a DC of its own goes into no other.
    Dib held(2, 2);
    ok(SelectObject(dc, held.bitmap()) == nullptr, "a bitmap went into a second DC");
    ok(SelectObject(held.dc(), held.bitmap()) == held.bitmap(), "selecting a bitmap again into its own DC");

    // A new memory DC holds a 1x1 monochrome bitmap until another goes in.
    HBITMAP section = smallSection();
    HGDIOBJ initial = SelectObject(dc, section);
    BITMAP description;
    std::memset(&description, 0, sizeof description);
    ok(GetObjectA(initial, sizeof description, &description) == sizeof description, "no initial bitmap");
    ok(description.bmWidth == 1 && description.bmHeight == 1 && description.bmBitsPixel == 1,
       "the initial bitmap is %dx%d at %d bits", int(description.bmWidth), int(description.bmHeight),
       int(description.bmBitsPixel));
    // It is a stock object: deleting it does nothing.
    ok(DeleteObject(initial), "deleting the initial bitmap fails");
    ok(bitmapAlive(initial), "the initial bitmap went away");
    ok(SelectObject(dc, initial) == section, "the initial bitmap cannot go back");
    ok(DeleteObject(section), "a bitmap no DC holds cannot be deleted");
    ok(!bitmapAlive(section), "a deleted bitmap still answers");
    ok(SelectObject(dc, section) == nullptr, "a deleted bitmap went into a DC");
    ok(DeleteDC(dc), "DeleteDC failed");
    ok(!DeleteDC(dc), "a DC was deleted twice");
}

TEST_CASE(deferred_bitmap_deletion, nullptr) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = smallSection();
    HGDIOBJ initial = SelectObject(dc, bitmap);
    ok(DeleteObject(bitmap), "deleting a selected bitmap fails");
    ok(bitmapAlive(bitmap), "a selected bitmap went away at once");
    ok(SelectObject(dc, initial) == bitmap, "the deleted bitmap was not the DC's any more");
    ok(!bitmapAlive(bitmap), "the bitmap outlived its deselection");

    // Deleting the DC frees a bitmap whose deletion waits on it.
    HBITMAP second = smallSection();
    SelectObject(dc, second);
    DeleteObject(second);
    ok(bitmapAlive(second), "a selected bitmap went away at once");
    DeleteDC(dc);
    ok(!bitmapAlive(second), "the bitmap outlived its DC");
}

TEST_CASE(deferred_font_deletion, nullptr) {
    Dib dib(8, 8);
    HFONT font = createFont(-46);
    HGDIOBJ previous = SelectObject(dib.dc(), font);
    ok(previous != nullptr, "a new DC has no font");
    ok(fontAlive(previous), "a DC's first font is no font");
    LONG before = textHeight(dib.dc());
    ok(before >= 46, "a 46-pixel font measures %d high", int(before));
    ok(DeleteObject(font), "deleting a selected font fails");
    ok(fontAlive(font), "a selected font went away at once");
    LONG after = textHeight(dib.dc());
    ok(after == before, "text measured %d high before the font's deletion and %d after", int(before), int(after));
    ok(SelectObject(dib.dc(), previous) == font, "the deleted font was not the DC's any more");
    ok(!fontAlive(font), "the font outlived its deselection");

    // A font may be in two DCs at once; it goes when the last lets go.
    Dib other(8, 8);
    HFONT shared = createFont(-20);
    HGDIOBJ first = SelectObject(dib.dc(), shared);
    HGDIOBJ second = SelectObject(other.dc(), shared);
    ok(first && second, "a font does not go into two DCs");
    DeleteObject(shared);
    SelectObject(dib.dc(), first);
    ok(fontAlive(shared), "a font still in a DC went away");
    SelectObject(other.dc(), second);
    ok(!fontAlive(shared), "the font outlived its last DC");

    HFONT logical = createFont(-13);
    LOGFONTA description;
    std::memset(&description, 0, sizeof description);
    ok(GetObjectA(logical, sizeof description, &description) == sizeof description && description.lfHeight == -13 &&
           std::strcmp(description.lfFaceName, "Arial") == 0,
       "GetObjectA gives back height %d, face \"%s\"", int(description.lfHeight), description.lfFaceName);
    DeleteObject(logical);
}

TEST_CASE(handles_after_deletion, nullptr) {
    HFONT first = createFont(-10);
    ok(DeleteObject(first), "DeleteObject failed");
    ok(!DeleteObject(first), "a font was deleted twice");
    HFONT next = createFont(-11);
    ok(next != first, "a new font took the handle of a deleted one");
    ok(!fontAlive(first), "a deleted font's handle answers again");
    DeleteObject(next);
}

TEST_CASE(screen_and_window_dcs, nullptr) {
    HDC screen = GetDC(nullptr);
    ok(screen != nullptr, "GetDC(NULL) failed");
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = smallSection();
    // Only a memory DC holds a bitmap.
    ok(SelectObject(screen, bitmap) == nullptr, "a bitmap went into the screen's DC");
    ok(SelectObject(memory, bitmap) != nullptr, "the bitmap is held by the screen's DC");
    ok(ReleaseDC(nullptr, screen) == 1, "ReleaseDC of the screen's DC failed");
    DeleteDC(memory);
    DeleteObject(bitmap);

    ok(GetDeviceCaps(GetDC(nullptr), LOGPIXELSY) == 96, "the screen is not 96 dpi");
    ok(!DeleteDC(nullptr), "DeleteDC(NULL) succeeded");
    ok(GetDC(reinterpret_cast<HWND>(uintptr_t(0x1234))) == nullptr, "GetDC of no window gave a DC");
}
