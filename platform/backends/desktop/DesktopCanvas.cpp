#include "DesktopCanvas.h"

#include <cstring>

#include "Layer.h"

namespace layer {

namespace {

// What DejaVu Sans at 12 pixels looks like is what a desktop's dialogs use;
// fontconfig finds the nearest face if it is missing.
constexpr LONG fontPixels = 12;
constexpr const char fontFace[] = "DejaVu Sans";
constexpr COLORREF textColour = RGB(0, 0, 0);

}  // namespace

DesktopCanvas::DesktopCanvas() : dc_(CreateCompatibleDC(nullptr)) {
    LOGFONTA request{};
    request.lfHeight = -fontPixels;
    std::strncpy(request.lfFaceName, fontFace, sizeof request.lfFaceName - 1);
    font_ = CreateFontIndirectA(&request);
    if (dc_ && font_) SelectObject(dc_, font_);
}

// The context goes first, giving back what is selected into it.
DesktopCanvas::~DesktopCanvas() {
    DeleteDC(dc_);
    DeleteObject(bitmap_);
    DeleteObject(font_);
}

bool DesktopCanvas::measure(const std::string& text, SIZE& size) const {
    return GetTextExtentPoint32A(dc_, text.c_str(), int(text.size()), &size) != 0;
}

Bitmap* DesktopCanvas::makeSurface(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // negative: top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap_ || !SelectObject(dc_, bitmap_)) return nullptr;
    return Layer::get().bitmap(bitmap_);
}

// An opaque text-out of nothing is GDI's rectangle fill.
void DesktopCanvas::fill(const RECT& area, COLORREF colour) {
    SetBkColor(dc_, colour);
    ExtTextOutA(dc_, area.left, area.top, ETO_OPAQUE, &area, "", 0, nullptr);
}

void DesktopCanvas::write(const std::string& text, int x, int y) {
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, textColour);
    ExtTextOutA(dc_, x, y, 0, nullptr, text.c_str(), UINT(text.size()), nullptr);
}

}  // namespace layer
