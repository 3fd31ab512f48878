#include "Fixtures.h"

#include <algorithm>
#include <cstring>

namespace conformance {

Dib::Dib(int width, int height, bool topDown) : width_(width), height_(height), topDown_(topDown) {
    BITMAPINFO info;
    std::memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = topDown ? -height : height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    dc_ = CreateCompatibleDC(nullptr);
    if (bitmap_ && dc_) initial_ = static_cast<HBITMAP>(SelectObject(dc_, bitmap_));
}

Dib::~Dib() {
    if (dc_) {
        if (initial_) SelectObject(dc_, initial_);
        DeleteDC(dc_);
    }
    if (bitmap_) DeleteObject(bitmap_);
}

uint8_t* Dib::at(int x, int y) const {
    int row = topDown_ ? y : height_ - 1 - y;
    return bits() + std::size_t(row) * std::size_t(stride()) + std::size_t(x) * 3;
}

COLORREF Dib::pixel(int x, int y) const {
    const uint8_t* p = at(x, y);
    return RGB(p[2], p[1], p[0]);
}

void Dib::setPixel(int x, int y, COLORREF colour) {
    uint8_t* p = at(x, y);
    p[0] = uint8_t((colour >> 16) & 0xFF);
    p[1] = uint8_t((colour >> 8) & 0xFF);
    p[2] = uint8_t(colour & 0xFF);
}

void Dib::fill(COLORREF colour) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) setPixel(x, y, colour);
}

void Dib::fillPattern() {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) setPixel(x, y, patternColour(x, y));
}

COLORREF patternColour(int x, int y) { return RGB(16 + x * 4, 16 + y * 4, 200 - x - y); }

std::vector<UINT> recordedMessages;
LRESULT (*recordingReaction)(HWND, UINT, WPARAM, LPARAM) = nullptr;

namespace {

LRESULT CALLBACK recordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    recordedMessages.push_back(message);
    if (recordingReaction) return recordingReaction(window, message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void registerRecordingClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSEXA windowClass;
    std::memset(&windowClass, 0, sizeof windowClass);
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = recordingProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    windowClass.lpszClassName = recordingClass;
    registered = RegisterClassExA(&windowClass) != 0;
}

std::vector<UINT> recordedAmong(const std::vector<UINT>& wanted) {
    std::vector<UINT> found;
    for (UINT message : recordedMessages)
        if (std::find(wanted.begin(), wanted.end(), message) != wanted.end()) found.push_back(message);
    return found;
}

void drainMessages() {
    MSG message;
    for (int i = 0; i < 1000 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (message.message == WM_QUIT) continue;
        DispatchMessageA(&message);
    }
}

}  // namespace conformance
