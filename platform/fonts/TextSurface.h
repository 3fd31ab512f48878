#pragma once

#include <cstdint>

namespace layer {

// A 24-bit pixel buffer owned by the caller (a DIB section or a memory DC's
// bitmap). Pixel (x, y) starts at
//   bits + (bottomUp ? height - 1 - y : y) * stride + 3 * x
// and holds the bytes B, G, R. stride must be at least 3 * width; a surface
// with null bits, a non-positive size or a too small stride is never written.
struct TextSurface {
    uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
    bool bottomUp = false;
};

// Half-open rectangle in surface pixels: [left, right) x [top, bottom).
struct TextClip {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Size of a run of text as GetTextExtentPoint32 reports it.
struct Extent {
    int width = 0;
    int height = 0;

    bool operator==(const Extent&) const = default;
};

}  // namespace layer
