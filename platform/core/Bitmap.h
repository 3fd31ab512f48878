// A bitmap of the layer: always held as 24-bit B,G,R rows, in the row order
// and stride of the Windows device-independent bitmap it stands for, so that
// the pixel pointer of a DIB section is exactly what Windows would hand out.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "ObjectTable.h"

namespace layer {

class Bitmap : public LayerObject {
public:
    Bitmap(int width, int height, bool bottomUp, int bitsPerPixel = 24);

    static int strideFor(int width) { return ((width * 24 + 31) / 32) * 4; }

    int width() const { return width_; }
    int height() const { return height_; }
    int stride() const { return stride_; }
    bool bottomUp() const { return bottomUp_; }
    int bitsPerPixel() const { return bitsPerPixel_; }
    uint8_t* bits() { return bits_.data(); }
    const uint8_t* bits() const { return bits_.data(); }
    std::size_t byteSize() const { return bits_.size(); }

    // Address of pixel (x, y), counted from the top-left; no bounds check.
    uint8_t* row(int y) { return bits_.data() + std::size_t(bottomUp_ ? height_ - 1 - y : y) * stride_; }
    const uint8_t* row(int y) const { return bits_.data() + std::size_t(bottomUp_ ? height_ - 1 - y : y) * stride_; }
    COLORREF pixel(int x, int y) const;
    void setPixel(int x, int y, COLORREF colour);

    HDC selectedInto = nullptr;  // the one DC that may hold it, if any

private:
    int width_;
    int height_;
    int stride_;
    bool bottomUp_;
    int bitsPerPixel_;
    std::vector<uint8_t> bits_;
};

}  // namespace layer
