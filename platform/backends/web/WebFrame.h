// A window's picture as a web page shows it: 8-bit R, G, B, A in rows, the
// way a canvas takes its image data. The layer's frames are 24-bit B, G, R
// rows; here each pixel becomes a scale x scale block of exactly its colour,
// opaque inside the window's region and fully transparent outside it, so that
// the page shows through where the window has no pixels.
//
// Only the rows the layer marks as changed are converted; the result says
// which rows of the picture were written.
#pragma once

#include <cstdint>
#include <vector>

#include "Window.h"

namespace layer {

class Bitmap;
class Region;

class WebFrame {
public:
    using Band = Window::Rows;

    // Fits the picture to a window of width x height pixels shown at this
    // scale, with this outline (null: the whole rectangle). Every row is
    // converted at the next copy.
    void shape(int width, int height, int scale, const Region* region);

    // Converts rows [rows.top, rows.bottom) of the frame (clipped to both
    // sizes) and returns the picture's rows written.
    Band copy(const Bitmap& frame, Band rows);

    int width() const { return width_ * scale_; }  // in device pixels
    int height() const { return height_ * scale_; }
    const uint8_t* pixels() const { return rgba_.data(); }
    std::size_t stride() const { return std::size_t(width()) * 4; }

private:
    void convertRow(const Bitmap& frame, int y);

    int width_ = 0;
    int height_ = 0;
    int scale_ = 1;
    bool allRows_ = true;
    std::vector<uint8_t> inside_;  // one flag per window pixel
    std::vector<uint8_t> rgba_;
};

}  // namespace layer
