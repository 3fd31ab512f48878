// Memory device contexts: the bitmap a new one holds, selecting bitmaps in and
// out, deleting a bitmap while it is selected, failed creations, and null or
// stale handles given to every call that takes one.
#include <cstring>

#include "LayerTestSupport.h"

namespace {

class MemoryDc : public LayerTest {};

TEST_F(MemoryDc, StartsWithAOneByOneMonochromeBitmap) {
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_TRUE(dc);
    Dib dib = makeDib(4, 4);
    HGDIOBJ initial = SelectObject(dc, dib.handle);
    ASSERT_TRUE(initial) << "SelectObject returns the bitmap the DC started with";
    BITMAP description{};
    ASSERT_EQ(GetObjectA(initial, sizeof description, &description), int(sizeof description));
    EXPECT_EQ(description.bmWidth, 1);
    EXPECT_EQ(description.bmHeight, 1);
    EXPECT_EQ(description.bmBitsPixel, 1);
    EXPECT_EQ(description.bmPlanes, 1);
    EXPECT_EQ(description.bmWidthBytes, 2) << "rows of a device-dependent bitmap are padded to a WORD";
    EXPECT_EQ(description.bmBits, nullptr) << "a device-dependent bitmap has no pixel pointer";
    EXPECT_EQ(SelectObject(dc, initial), dib.handle) << "selecting it back returns the DIB";
}

TEST_F(MemoryDc, DeletingTheInitialBitmapLeavesItInPlace) {
    std::size_t live = layer::testing::liveObjects();
    HDC dc = CreateCompatibleDC(nullptr), other = CreateCompatibleDC(nullptr);
    Dib dib = makeDib(2, 2);
    HGDIOBJ initial = SelectObject(dc, dib.handle);
    EXPECT_TRUE(DeleteObject(initial)) << "a stock object can be deleted, to no effect";
    EXPECT_EQ(SelectObject(dc, initial), dib.handle) << "it can still be selected back";
    EXPECT_TRUE(SelectObject(other, dib.handle)) << "which lets the DIB go to another DC";
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_TRUE(DeleteDC(other));
    EXPECT_TRUE(DeleteObject(dib.handle));
    EXPECT_EQ(layer::testing::liveObjects(), live) << "the DCs took their initial bitmaps with them";
}

TEST_F(MemoryDc, SelectObjectReturnsWhatWasSelectedBefore) {
    HDC dc = CreateCompatibleDC(nullptr);
    Dib a = makeDib(2, 2), b = makeDib(3, 3);
    HGDIOBJ initial = SelectObject(dc, a.handle);
    EXPECT_EQ(SelectObject(dc, b.handle), a.handle);
    EXPECT_EQ(SelectObject(dc, b.handle), b.handle) << "selecting the selected bitmap again returns it";
    EXPECT_EQ(SelectObject(dc, a.handle), b.handle);
    EXPECT_EQ(SelectObject(dc, initial), a.handle);
}

TEST_F(MemoryDc, ABitmapIsSelectedIntoOneDcAtATime) {
    HDC first = CreateCompatibleDC(nullptr), second = CreateCompatibleDC(nullptr);
    Dib shared = makeDib(2, 2), other = makeDib(2, 2);
    ASSERT_TRUE(SelectObject(first, shared.handle));
    HGDIOBJ secondInitial = SelectObject(second, other.handle);
    ASSERT_TRUE(SelectObject(second, secondInitial));

    EXPECT_EQ(SelectObject(second, shared.handle), nullptr) << "the bitmap is still in the first DC";
    EXPECT_EQ(SelectObject(second, other.handle), secondInitial) << "the failed selection changed nothing";

    ASSERT_TRUE(DeleteDC(first));
    EXPECT_EQ(SelectObject(second, shared.handle), other.handle) << "deleting the first DC let the bitmap go";
    BITMAP description{};
    EXPECT_EQ(GetObjectA(shared.handle, sizeof description, &description), int(sizeof description))
        << "deleting a DC does not delete its bitmap";
}

TEST_F(MemoryDc, DeletingASelectedBitmapWaitsUntilItIsDeselected) {
    std::size_t live = layer::testing::liveObjects();
    Dib picture = makeDib(3, 2), copy = makeDib(3, 2), other = makeDib(1, 1);
    picture.fill(patternColour);
    HDC source = dcWith(picture.handle);
    HDC target = dcWith(copy.handle);

    EXPECT_TRUE(DeleteObject(picture.handle));
    BITMAP description{};
    EXPECT_EQ(GetObjectA(picture.handle, sizeof description, &description), int(sizeof description))
        << "a selected bitmap outlives DeleteObject";
    ASSERT_TRUE(BitBlt(target, 0, 0, 3, 2, source, 0, 0, SRCCOPY));
    EXPECT_TRUE(pixelsAre(copy, patternColour)) << "its pixels are still there to copy";

    EXPECT_EQ(SelectObject(source, other.handle), picture.handle);
    EXPECT_EQ(GetObjectA(picture.handle, sizeof description, &description), 0) << "deselected, it is gone";
    EXPECT_FALSE(DeleteObject(picture.handle)) << "it was deleted already";

    // Deleting the DC frees a bitmap whose deletion was waiting for it.
    EXPECT_TRUE(DeleteObject(other.handle));
    EXPECT_TRUE(DeleteDC(source));
    EXPECT_EQ(GetObjectA(other.handle, sizeof description, &description), 0);
    EXPECT_TRUE(DeleteDC(target));
    EXPECT_TRUE(DeleteObject(copy.handle));
    EXPECT_EQ(layer::testing::liveObjects(), live) << "every bitmap and DC, and the DCs' initial bitmaps, are freed";
}

TEST_F(MemoryDc, DeleteObjectOfNothingOrOfTheDeletedFails) {
    Dib dib = makeDib(2, 2);
    EXPECT_FALSE(DeleteObject(nullptr));
    EXPECT_TRUE(DeleteObject(dib.handle));
    EXPECT_FALSE(DeleteObject(dib.handle));
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_FALSE(DeleteDC(dc));
}

struct FailureCase {
    const char* what;
    layer::Creation kind;
    bool (*create)();  // true when the call gave a handle
};

TEST_F(MemoryDc, ACreationAskedToFailGivesNullAndLeavesNothingBehind) {
    static const LOGFONTA font = [] {
        LOGFONTA f{};
        f.lfHeight = -12;
        return f;
    }();
    static const std::vector<uint8_t> block = regionBlock({RECT{0, 0, 4, 4}});
    const FailureCase cases[] = {
        {"CreateDIBSection", layer::Creation::Bitmap,
         [] {
             BITMAPINFO info = dibInfo(4, 4);
             void* bits = nullptr;
             return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0) != nullptr;
         }},
        {"CreateCompatibleDC", layer::Creation::DeviceContext, [] { return CreateCompatibleDC(nullptr) != nullptr; }},
        {"ExtCreateRegion", layer::Creation::Region,
         [] {
             return ExtCreateRegion(nullptr, DWORD(block.size()), reinterpret_cast<const RGNDATA*>(block.data())) !=
                    nullptr;
         }},
        {"CreateFontIndirectA", layer::Creation::Font, [] { return CreateFontIndirectA(&font) != nullptr; }},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.what);
        layer::testing::resetHeadless();
        layer::testing::failCreation(c.kind, 2);
        EXPECT_TRUE(c.create()) << "the first call";
        std::size_t live = layer::testing::liveObjects();
        EXPECT_FALSE(c.create()) << "the second call, asked to fail";
        EXPECT_EQ(layer::testing::liveObjects(), live);
        EXPECT_TRUE(c.create()) << "the third call";
    }
}

// Handles that name no DC: null, deleted, of another kind, never handed out.
std::vector<std::pair<const char*, HDC>> badDcs() {
    HDC deleted = CreateCompatibleDC(nullptr);
    DeleteDC(deleted);
    Dib dib = makeDib(2, 2);
    return {{"null", nullptr},
            {"deleted", deleted},
            {"a bitmap", reinterpret_cast<HDC>(dib.handle)},
            {"never handed out", reinterpret_cast<HDC>(uintptr_t{0x5EED1234})}};
}

TEST_F(MemoryDc, EveryCallFailsCleanlyOnAHandleThatNamesNoDc) {
    Dib bitmap = makeDib(2, 2), picture = makeDib(2, 2);
    HDC good = dcWith(picture.handle);
    LOGFONTA request{};
    request.lfHeight = -12;
    HFONT font = CreateFontIndirectA(&request);
    for (auto [what, bad] : badDcs()) {
        SCOPED_TRACE(what);
        EXPECT_EQ(SelectObject(bad, bitmap.handle), nullptr);
        EXPECT_EQ(SelectObject(bad, font), nullptr);
        EXPECT_FALSE(DeleteDC(bad));
        EXPECT_FALSE(BitBlt(bad, 0, 0, 2, 2, good, 0, 0, SRCCOPY));
        EXPECT_FALSE(BitBlt(good, 0, 0, 2, 2, bad, 0, 0, SRCCOPY));
        EXPECT_EQ(GetDeviceCaps(bad, LOGPIXELSY), 0);
        EXPECT_EQ(SetBkMode(bad, TRANSPARENT), 0);
        EXPECT_EQ(SetBkColor(bad, RGB(1, 2, 3)), CLR_INVALID);
        EXPECT_EQ(SetTextColor(bad, RGB(1, 2, 3)), CLR_INVALID);
        RECT rect{0, 0, 2, 2};
        EXPECT_FALSE(ExtTextOutA(bad, 0, 0, ETO_OPAQUE, &rect, "A", 1, nullptr));
        SIZE size{};
        EXPECT_FALSE(GetTextExtentPoint32A(bad, "A", 1, &size));
    }
    HDC other = CreateCompatibleDC(nullptr);
    EXPECT_TRUE(SelectObject(other, bitmap.handle)) << "no failed selection took hold of the bitmap";
}

TEST_F(MemoryDc, EveryCallFailsCleanlyOnAHandleThatNamesNoBitmap) {
    HDC dc = CreateCompatibleDC(nullptr);
    Dib deleted = makeDib(2, 2);
    DeleteObject(deleted.handle);
    const std::pair<const char*, HGDIOBJ> bad[] = {
        {"null", nullptr},
        {"deleted", deleted.handle},
        {"a DC", dc},
        {"never handed out", reinterpret_cast<HGDIOBJ>(uintptr_t{0x5EED1234})}};
    for (auto [what, object] : bad) {
        SCOPED_TRACE(what);
        EXPECT_EQ(SelectObject(dc, object), nullptr);
        BITMAP description{};
        EXPECT_EQ(GetObjectA(object, sizeof description, &description), 0);
    }
    Dib fresh = makeDib(1, 1);
    EXPECT_TRUE(SelectObject(dc, fresh.handle)) << "the DC still holds its initial bitmap and works";
}

}  // namespace
