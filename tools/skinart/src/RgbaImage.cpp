#include "RgbaImage.h"

RgbaImage::RgbaImage(int width, int height)
    : colours_(width, height), alpha_(static_cast<std::size_t>(width * height), 0) {}

std::uint8_t RgbaImage::alpha(int x, int y) const {
    colours_.at(x, y);  // the bounds check
    return alpha_[static_cast<std::size_t>(y * width() + x)];
}

void RgbaImage::set(int x, int y, Rgb colour, std::uint8_t alpha) {
    if (colours_.contains(x, y)) {
        colours_.set(x, y, colour);
        alpha_[static_cast<std::size_t>(y * width() + x)] = alpha;
    }
}
