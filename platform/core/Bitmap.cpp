#include "Bitmap.h"

namespace layer {

Bitmap::Bitmap(int width, int height, bool bottomUp, int bitsPerPixel)
    : LayerObject(ObjectKind::Bitmap),
      width_(width),
      height_(height),
      stride_(strideFor(width)),
      bottomUp_(bottomUp),
      bitsPerPixel_(bitsPerPixel),
      bits_(std::size_t(stride_) * std::size_t(height), 0) {}

COLORREF Bitmap::pixel(int x, int y) const {
    const uint8_t* p = row(y) + 3 * x;
    return RGB(p[2], p[1], p[0]);
}

void Bitmap::setPixel(int x, int y, COLORREF colour) {
    uint8_t* p = row(y) + 3 * x;
    p[0] = uint8_t(colour >> 16);
    p[1] = uint8_t(colour >> 8);
    p[2] = uint8_t(colour);
}

}  // namespace layer
