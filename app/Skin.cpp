#include "Skin.h"

#include <cstring>

#include "../res/resource.h"
#include "AppState.h"

using namespace AppState;

namespace {

void createBackBuffer() {
    BITMAPINFO info;
    std::memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = 40;
    info.bmiHeader.biWidth = windowWidth;
    info.bmiHeader.biHeight = windowHeight;  // positive: bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    HDC windowDC = GetDC(window);
    void* pixels = nullptr;
    backBitmap = CreateDIBSection(windowDC, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    ReleaseDC(window, windowDC);
    backDC = CreateCompatibleDC(nullptr);
    SelectObject(backDC, backBitmap);
}

void loadIntoNewDC(int id, HBITMAP& bitmap, HDC& dc) {
    bitmap = LoadBitmapA(instance, MAKEINTRESOURCEA(id));
    dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, bitmap);
}

// From here on the window owns the region.
void applyWindowRegion() {
    HRSRC resource = FindResourceA(instance, MAKEINTRESOURCEA(IDR_REGION), "BINARY");
    HGLOBAL data = LoadResource(instance, resource);
    DWORD size = SizeofResource(instance, resource);
    HRGN region = ExtCreateRegion(nullptr, size, static_cast<const RGNDATA*>(data));
    FreeResource(data);
    SetWindowRgn(window, region, TRUE);
}

}  // namespace

bool initSkin() {
    createBackBuffer();
    loadIntoNewDC(IDB_BACKGROUND, backgroundBitmap, backgroundDC);
    for (int i = 0; i < animationFrameCount; ++i) loadIntoNewDC(IDB_ANIM_FIRST + i, frameBitmaps[i], frameDCs[i]);
    applyWindowRegion();
    return true;
}

// Each memory context goes before the bitmap selected into it. The handles
// are cleared so that nothing can reach a released surface.
void releaseSkin() {
    DeleteDC(backgroundDC);
    DeleteDC(backDC);
    DeleteObject(backBitmap);
    DeleteObject(backgroundBitmap);
    for (int i = 0; i < animationFrameCount; ++i) {
        DeleteDC(frameDCs[i]);
        DeleteObject(frameBitmaps[i]);
    }
    backgroundDC = backDC = nullptr;
    backBitmap = backgroundBitmap = nullptr;
    for (int i = 0; i < animationFrameCount; ++i) {
        frameDCs[i] = nullptr;
        frameBitmaps[i] = nullptr;
    }
}
