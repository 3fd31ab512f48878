#pragma once

#include "fonts/TextSurface.h"

#include <cstdint>

namespace layer {

// A colour split into its channels; SurfaceWriter stores them as B, G, R.
struct Rgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;

    // COLORREF layout 0x00BBGGRR.
    static Rgb fromColourRef(uint32_t colourRef);
};

// Rectangle in surface pixels, half-open. 64-bit so that pen positions built
// from far-off int coordinates plus advances cannot overflow.
struct PixelRect {
    int64_t left = 0;
    int64_t top = 0;
    int64_t right = 0;
    int64_t bottom = 0;

    bool empty() const { return left >= right || top >= bottom; }
    PixelRect intersect(const PixelRect& other) const;
};

// Every pixel write of the text engine goes through here. The writable area
// is the caller's clip intersected with the surface, so no coordinate passed
// in, however far outside, reaches memory outside the buffer.
class SurfaceWriter {
public:
    SurfaceWriter(TextSurface& surface, const TextClip& clip);

    // True when nothing at all can be written (empty clip or unusable surface).
    bool empty() const { return writable_.empty(); }

    void fill(const PixelRect& rect, Rgb colour);

    // Blends colour over the surface through an 8-bit coverage mask of
    // width x rows bytes whose top-left pixel lands on (left, top).
    void blend(const uint8_t* coverage, int width, int rows, int64_t left, int64_t top, Rgb colour);

    // dst + (src - dst) * coverage / 255, rounded to nearest: exact at 0 and
    // 255, so full coverage gives exactly the text colour.
    static uint8_t mix(uint8_t dst, uint8_t src, uint8_t coverage) {
        const unsigned sum = dst * (255u - coverage) + src * static_cast<unsigned>(coverage);
        return static_cast<uint8_t>((sum + 127u) / 255u);
    }

private:
    uint8_t* pixel(int64_t x, int64_t y) const;

    TextSurface& surface_;
    PixelRect writable_;
};

}  // namespace layer
