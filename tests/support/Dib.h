// 24-bit DIB sections for tests: made through CreateDIBSection and read byte
// by byte in Windows' own layout, worked out here rather than asked of the
// layer, with comparisons that name the first wrong pixel.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include <gtest/gtest.h>

std::string describeColour(COLORREF colour);

using PixelFunction = std::function<COLORREF(int x, int y)>;

// A 24-bit DIB section and its pixel bytes as CreateDIBSection handed them out.
struct Dib {
    HBITMAP handle = nullptr;
    uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    bool bottomUp = true;

    // Windows' layout, worked out here rather than asked of the layer.
    int stride() const { return ((width * 24 + 31) / 32) * 4; }
    std::size_t offsetOf(int x, int y) const {
        return std::size_t(bottomUp ? height - 1 - y : y) * std::size_t(stride()) + std::size_t(3 * x);
    }
    COLORREF pixel(int x, int y) const;
    void setPixel(int x, int y, COLORREF colour);
    void fill(const PixelFunction& colour);
};

BITMAPINFO dibInfo(int width, int height);  // 24-bit, BI_RGB; negative height: top-down
// Fails the calling test (ADD_FAILURE) when the layer refuses.
Dib makeDib(int width, int height, bool bottomUp = false);
// A memory DC with the bitmap selected into it.
HDC dcWith(HBITMAP bitmap);

// Success when every pixel of the DIB is what `expected` says; otherwise
// names the first wrong pixel, what it was and what was expected.
::testing::AssertionResult pixelsAre(const Dib& dib, const PixelFunction& expected);
