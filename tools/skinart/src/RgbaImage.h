#pragma once

#include "Image.h"

#include <cstdint>
#include <vector>

// A picture with coverage: colours as in Image, and for every pixel an alpha
// (0 transparent, 255 opaque). Icons need it; the skin's bitmaps do not.
class RgbaImage {
public:
    RgbaImage(int width, int height);

    int width() const { return colours_.width(); }
    int height() const { return colours_.height(); }

    // Both throw std::out_of_range outside the image, as Image::at does.
    Rgb at(int x, int y) const { return colours_.at(x, y); }
    std::uint8_t alpha(int x, int y) const;
    void set(int x, int y, Rgb colour, std::uint8_t alpha);

private:
    Image colours_;
    std::vector<std::uint8_t> alpha_;
};
