#include "Image.h"

#include <stdexcept>
#include <string>

Image::Image(int width, int height, Rgb fill)
    : width_(width),
      height_(height),
      pixels_(static_cast<std::size_t>(width > 0 && height > 0 ? width * height : 0), fill) {
    if (width <= 0 || height <= 0) {
        throw std::invalid_argument("image size must be positive");
    }
}

Rgb Image::at(int x, int y) const {
    if (!contains(x, y)) {
        throw std::out_of_range("pixel (" + std::to_string(x) + "," + std::to_string(y) + ") outside " +
                                std::to_string(width_) + "x" + std::to_string(height_) + " image");
    }
    return pixels_[static_cast<std::size_t>(y * width_ + x)];
}

void Image::set(int x, int y, Rgb colour) {
    if (contains(x, y)) {
        pixels_[static_cast<std::size_t>(y * width_ + x)] = colour;
    }
}

Image Image::scaled(int factor) const {
    Image result(width_ * factor, height_ * factor);
    for (int y = 0; y < result.height(); ++y) {
        for (int x = 0; x < result.width(); ++x) {
            result.set(x, y, at(x / factor, y / factor));
        }
    }
    return result;
}
