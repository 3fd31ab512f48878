#include "Dib.h"

#include <cstdio>
#include <string>

std::string describeColour(COLORREF colour) {
    char text[40];
    std::snprintf(text, sizeof text, "RGB(%u, %u, %u)", unsigned(colour & 0xFF), unsigned((colour >> 8) & 0xFF),
                  unsigned((colour >> 16) & 0xFF));
    return text;
}

COLORREF Dib::pixel(int x, int y) const {
    const uint8_t* p = bits + offsetOf(x, y);
    return RGB(p[2], p[1], p[0]);
}

void Dib::setPixel(int x, int y, COLORREF colour) {
    uint8_t* p = bits + offsetOf(x, y);
    p[0] = uint8_t((colour >> 16) & 0xFF);
    p[1] = uint8_t((colour >> 8) & 0xFF);
    p[2] = uint8_t(colour & 0xFF);
}

void Dib::fill(const PixelFunction& colour) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) setPixel(x, y, colour(x, y));
}

BITMAPINFO dibInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

Dib makeDib(int width, int height, bool bottomUp) {
    Dib dib;
    dib.width = width;
    dib.height = height;
    dib.bottomUp = bottomUp;
    BITMAPINFO info = dibInfo(width, bottomUp ? height : -height);
    void* bits = nullptr;
    dib.handle = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    dib.bits = static_cast<uint8_t*>(bits);
    if (!dib.handle || !dib.bits) ADD_FAILURE() << "CreateDIBSection refused a " << width << "x" << height << " DIB";
    return dib;
}

HDC dcWith(HBITMAP bitmap) {
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc || !SelectObject(dc, bitmap)) ADD_FAILURE() << "could not make a memory DC holding the bitmap";
    return dc;
}

::testing::AssertionResult pixelsAre(const Dib& dib, const PixelFunction& expected) {
    int wrong = 0;
    std::string first;
    for (int y = 0; y < dib.height; ++y)
        for (int x = 0; x < dib.width; ++x) {
            COLORREF actual = dib.pixel(x, y);
            COLORREF wanted = expected(x, y);
            if (actual == wanted) continue;
            if (wrong++ == 0)
                first = "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") is " + describeColour(actual) +
                        ", expected " + describeColour(wanted);
        }
    if (wrong == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << first << " (" << wrong << " wrong pixels in all)";
}
