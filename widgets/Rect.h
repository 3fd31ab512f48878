#pragma once

#include <cstdint>

// A rectangle in client pixels, half-open: it holds (x, y) when
// left <= x < right and top <= y < bottom.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    constexpr bool contains(int32_t x, int32_t y) const { return left <= x && x < right && top <= y && y < bottom; }
    constexpr int32_t width() const { return right - left; }
    constexpr int32_t height() const { return bottom - top; }
};
