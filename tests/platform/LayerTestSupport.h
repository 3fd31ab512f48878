// What the layer's tests share: a fresh headless layer for every test, DIB
// sections read and written byte by byte the way Windows lays them out, pixel
// comparisons that name the first wrong pixel, resource and region fixtures
// built in memory, and copies of byte blocks that end exactly where their heap
// allocation ends, so that AddressSanitizer catches any read past them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Dib.h"
#include "layer/Headless.h"
#include "layer/Resources.h"
#include "layer/Testing.h"

// Every test starts on a fresh layer with no resources installed; resource
// tables a test installs point into its own data and must not outlive it.
class LayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        layer::testing::resetHeadless();
        layer::installResources(nullptr, 0);
    }
    void TearDown() override { layer::installResources(nullptr, 0); }
};

// A pattern in which every pixel of a small bitmap differs from every other.
COLORREF patternColour(int x, int y);

// A copy of a byte block that ends exactly at the end of its heap allocation.
class TailBuffer {
public:
    explicit TailBuffer(const std::vector<uint8_t>& bytes);
    const uint8_t* data() const { return data_.get(); }
    std::size_t size() const { return size_; }

private:
    std::unique_ptr<uint8_t[]> data_;
    std::size_t size_;
};

// A BITMAP resource: a BITMAPINFOHEADER and the 24-bit rows, bottom-up for a
// positive height, each padded to four bytes.
BITMAPINFOHEADER bitmapResourceHeader(int width, int height);
std::vector<uint8_t> bitmapResource(const BITMAPINFOHEADER& header, const PixelFunction& colour);

// A region block as RGNDATA lays it out: the header, then the rectangles.
RGNDATAHEADER regionHeader(const std::vector<RECT>& rects);
std::vector<uint8_t> regionBlock(const RGNDATAHEADER& header, const std::vector<RECT>& rects);
inline std::vector<uint8_t> regionBlock(const std::vector<RECT>& rects) {
    return regionBlock(regionHeader(rects), rects);
}
HRGN regionOf(const std::vector<RECT>& rects);
// The region's rectangles as GetRegionData reports them.
std::vector<RECT> regionRects(HRGN region);

// A window class whose procedure is `procedure`, and a popup of it.
constexpr const char* testWindowClass = "LayerTestWindow";
void registerTestClass(WNDPROC procedure = DefWindowProcA);
HWND createTestWindow(int x, int y, int width, int height, DWORD style = WS_POPUP | WS_VISIBLE);

std::string describeRect(const RECT& rect);
