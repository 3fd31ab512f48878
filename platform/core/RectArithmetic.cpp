#include "RectArithmetic.h"

#include <algorithm>
#include <climits>

namespace layer {

int scaledCoordinate(long long value, int scale) {
    // Both factors fit in 32 bits, so their product fits in 64.
    long long product = value * (long long)scale;
    return int(std::clamp<long long>(product, INT_MIN, INT_MAX));
}

RECT scaledRect(const RECT& rect, int scale) {
    return RECT{scaledCoordinate(rect.left, scale), scaledCoordinate(rect.top, scale),
                scaledCoordinate(rect.right, scale), scaledCoordinate(rect.bottom, scale)};
}

int offsetCoordinate(long long value, long long offset) {
    // Both fit in 32 bits, so their sum fits in 64.
    return int(std::clamp<long long>(value + offset, INT_MIN, INT_MAX));
}

RECT rectAt(int x, int y, int width, int height) {
    return RECT{x, y, offsetCoordinate(x, width), offsetCoordinate(y, height)};
}

Span16 toSpan16(long long low, long long high) {
    long long first = std::clamp<long long>(low, SHRT_MIN, SHRT_MAX);
    long long last = std::clamp<long long>(high, SHRT_MIN, SHRT_MAX);
    long long extent = std::clamp<long long>(last - first, 0, USHRT_MAX);
    return Span16{short(first), (unsigned short)extent};
}

}  // namespace layer
