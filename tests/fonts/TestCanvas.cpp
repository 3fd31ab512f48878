#include "TestCanvas.h"

#include <algorithm>
#include <cstdlib>

namespace layer::test {

TestCanvas::TestCanvas(int width, int height, uint32_t colourRef, bool bottomUp, int guardRows, int rowPadding)
    : guardRows_(guardRows) {
    const int stride = 3 * width + rowPadding;
    memory_.assign(static_cast<size_t>(stride) * (height + 2 * guardRows), kGuardByte);
    surface_ = TextSurface{memory_.data() + static_cast<size_t>(guardRows) * stride, width, height, stride, bottomUp};
    fill(colourRef);
}

void TestCanvas::fill(uint32_t colourRef) {
    const Rgb colour = Rgb::fromColourRef(colourRef);
    for (int y = 0; y < height(); ++y) {
        uint8_t* row = surface_.bits + static_cast<size_t>(y) * surface_.stride;
        for (int x = 0; x < width(); ++x) {
            row[3 * x] = colour.blue;
            row[3 * x + 1] = colour.green;
            row[3 * x + 2] = colour.red;
        }
    }
}

const uint8_t* TestCanvas::at(int x, int y) const {
    const int row = surface_.bottomUp ? height() - 1 - y : y;
    return surface_.bits + static_cast<size_t>(row) * surface_.stride + 3 * x;
}

uint32_t TestCanvas::pixel(int x, int y) const {
    const uint8_t* bgr = at(x, y);
    return static_cast<uint32_t>(bgr[2]) | static_cast<uint32_t>(bgr[1]) << 8 | static_cast<uint32_t>(bgr[0]) << 16;
}

bool TestCanvas::guardIntact() const {
    const size_t stride = static_cast<size_t>(surface_.stride);
    const size_t firstPixel = static_cast<size_t>(guardRows_) * stride;
    const size_t endPixels = firstPixel + static_cast<size_t>(height()) * stride;
    for (size_t i = 0; i < memory_.size(); ++i) {
        const bool inSurface = i >= firstPixel && i < endPixels;
        const bool inPadding = inSurface && (i - firstPixel) % stride >= 3u * width();
        if ((!inSurface || inPadding) && memory_[i] != kGuardByte) return false;
    }
    return true;
}

int TestCanvas::countOther(uint32_t colourRef) const { return width() * height() - countEqual(colourRef); }

int TestCanvas::countEqual(uint32_t colourRef) const {
    int count = 0;
    for (int y = 0; y < height(); ++y)
        for (int x = 0; x < width(); ++x) count += pixel(x, y) == colourRef;
    return count;
}

int64_t TestCanvas::inkAgainst(uint32_t colourRef) const {
    int64_t ink = 0;
    for (int y = 0; y < height(); ++y) {
        for (int x = 0; x < width(); ++x) {
            const uint32_t p = pixel(x, y);
            for (int shift = 0; shift <= 16; shift += 8) {
                ink += std::abs(static_cast<int>((p >> shift) & 0xFF) - static_cast<int>((colourRef >> shift) & 0xFF));
            }
        }
    }
    return ink;
}

PixelRect TestCanvas::boundsOfOther(uint32_t colourRef) const {
    PixelRect bounds{width(), height(), 0, 0};
    for (int y = 0; y < height(); ++y) {
        for (int x = 0; x < width(); ++x) {
            if (pixel(x, y) == colourRef) continue;
            bounds = PixelRect{std::min<int64_t>(bounds.left, x), std::min<int64_t>(bounds.top, y),
                               std::max<int64_t>(bounds.right, x + 1), std::max<int64_t>(bounds.bottom, y + 1)};
        }
    }
    return bounds.empty() ? PixelRect{} : bounds;
}

bool TestCanvas::samePixels(const TestCanvas& other) const {
    if (other.width() != width() || other.height() != height()) return false;
    for (int y = 0; y < height(); ++y)
        for (int x = 0; x < width(); ++x)
            if (pixel(x, y) != other.pixel(x, y)) return false;
    return true;
}

}  // namespace layer::test
