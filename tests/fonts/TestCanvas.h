#pragma once

#include "fonts/SurfaceWriter.h"
#include "fonts/TextSurface.h"

#include <cstdint>
#include <vector>

namespace layer::test {

// A 24-bit surface for the text tests, optionally wrapped in guard memory:
// guard rows above and below it and padding bytes at the end of every row
// (which is also where a write just left of x = 0 would land). The guards
// hold a pattern that guardIntact() checks. With no guard rows and no
// padding the buffer is allocated to exactly the surface's size, so
// AddressSanitizer reports any stray write.
class TestCanvas {
public:
    static constexpr uint8_t kGuardByte = 0xA5;

    TestCanvas(int width, int height, uint32_t colourRef, bool bottomUp = false, int guardRows = 3, int rowPadding = 7);

    TextSurface& surface() { return surface_; }
    const TextSurface& surface() const { return surface_; }
    int width() const { return surface_.width; }
    int height() const { return surface_.height; }
    TextClip everything() const { return TextClip{0, 0, width(), height()}; }

    void fill(uint32_t colourRef);
    // The pixel as a COLORREF (0x00BBGGRR), whatever the row order.
    uint32_t pixel(int x, int y) const;
    bool guardIntact() const;

    // Pixels that differ from colourRef.
    int countOther(uint32_t colourRef) const;
    int countEqual(uint32_t colourRef) const;
    // Summed per-channel distance from colourRef over all pixels: the amount
    // of ink put down on a plain background.
    int64_t inkAgainst(uint32_t colourRef) const;
    // Smallest rectangle holding every pixel that differs from colourRef;
    // empty when there is none.
    PixelRect boundsOfOther(uint32_t colourRef) const;
    bool samePixels(const TestCanvas& other) const;

private:
    const uint8_t* at(int x, int y) const;

    std::vector<uint8_t> memory_;
    int guardRows_;
    TextSurface surface_;
};

}  // namespace layer::test
