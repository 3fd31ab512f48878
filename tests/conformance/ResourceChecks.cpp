// The program's resources as it finds them: its bitmaps (a BITMAP resource
// is a DIB without its file header), its region block under a custom type,
// and the bitmaps made from them.
#include <cstring>

#include "../../res/resource.h"
#include "Check.h"

namespace {

HMODULE self() { return GetModuleHandleA(nullptr); }

}  // namespace

TEST_CASE(find_resources, nullptr) {
    HRSRC background = FindResourceA(self(), MAKEINTRESOURCEA(IDB_BACKGROUND), RT_BITMAP);
    ok(background != nullptr, "the background bitmap was not found");
    HGLOBAL loaded = LoadResource(self(), background);
    const void* data = LockResource(loaded);
    DWORD size = SizeofResource(self(), background);
    BITMAPINFOHEADER header;
    std::memset(&header, 0, sizeof header);
    if (data && size >= sizeof header) std::memcpy(&header, data, sizeof header);
    ok(header.biSize == sizeof(BITMAPINFOHEADER), "a BITMAP resource starts with its info header, got size %u",
       unsigned(header.biSize));
    ok(header.biWidth == 326 && header.biHeight == 272 && header.biBitCount == 24, "the background is %dx%d at %d bits",
       int(header.biWidth), int(header.biHeight), int(header.biBitCount));
    DWORD pixelBytes = DWORD(((326 * 24 + 31) / 32) * 4 * 272);
    ok(size == sizeof(BITMAPINFOHEADER) + pixelBytes, "its size is %u", unsigned(size));

    ok(FindResourceA(self(), MAKEINTRESOURCEA(IDB_BACKGROUND), RT_RCDATA) == nullptr, "a bitmap is found as RCDATA");
    ok(FindResourceA(self(), MAKEINTRESOURCEA(9999), RT_BITMAP) == nullptr, "a missing bitmap was found");

    HRSRC region = FindResourceA(self(), MAKEINTRESOURCEA(IDR_REGION), "BINARY");
    ok(region != nullptr, "the region block is not found under its custom type");
    ok(FindResourceA(self(), MAKEINTRESOURCEA(IDR_REGION), "binary") == region, "type names are not case-blind");
    ok(FindResourceA(self(), MAKEINTRESOURCEA(IDR_REGION), RT_RCDATA) == nullptr, "a custom type is found as RCDATA");
    ok(SizeofResource(self(), region) >= sizeof(RGNDATAHEADER), "the region block has %u bytes",
       unsigned(SizeofResource(self(), region)));
}

TEST_CASE(bitmaps_from_resources, nullptr) {
    HBITMAP bitmap = LoadBitmapA(self(), MAKEINTRESOURCEA(IDB_PLAY));
    ok(bitmap != nullptr, "LoadBitmapA failed");
    BITMAP description;
    std::memset(&description, 0, sizeof description);
    ok(GetObjectA(bitmap, sizeof description, &description) == sizeof description, "GetObjectA failed");
    HRSRC resource = FindResourceA(self(), MAKEINTRESOURCEA(IDB_PLAY), RT_BITMAP);
    BITMAPINFOHEADER header;
    std::memset(&header, 0, sizeof header);
    if (const void* data = LockResource(LoadResource(self(), resource))) std::memcpy(&header, data, sizeof header);
    ok(description.bmWidth == header.biWidth && description.bmHeight == header.biHeight,
       "the bitmap is %dx%d, its resource %dx%d", int(description.bmWidth), int(description.bmHeight),
       int(header.biWidth), int(header.biHeight));
    ok(DeleteObject(bitmap), "a loaded bitmap cannot be deleted");

    ok(LoadBitmapA(self(), MAKEINTRESOURCEA(9999)) == nullptr, "a missing bitmap was loaded");

    HBITMAP section =
        static_cast<HBITMAP>(LoadImageA(self(), MAKEINTRESOURCEA(IDB_PLAY), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ok(section != nullptr, "LoadImageA failed");
    std::memset(&description, 0, sizeof description);
    GetObjectA(section, sizeof description, &description);
    ok(description.bmBitsPixel == 24 && description.bmBits != nullptr,
       "a DIB section from a 24-bit resource has %d bits and pixels at %p", int(description.bmBitsPixel),
       description.bmBits);
    DeleteObject(section);
}
