#include "DesktopFrameCopy.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "Bitmap.h"

namespace layer {

namespace {

// Where each channel goes in a 32-bit pixel. Held in locals so that the
// stores into the surface cannot force the format to be read again per pixel.
struct ChannelLayout {
    uint8_t redLoss, redShift, greenLoss, greenShift, blueLoss, blueShift;
    uint32_t alpha;

    explicit ChannelLayout(const SDL_PixelFormat& f)
        : redLoss(f.Rloss),
          redShift(f.Rshift),
          greenLoss(f.Gloss),
          greenShift(f.Gshift),
          blueLoss(f.Bloss),
          blueShift(f.Bshift),
          alpha(f.Amask) {}

    // X, R, G, B from the high byte down: what a 24-bit X display gives.
    bool isXrgb() const {
        return redShift == 16 && greenShift == 8 && blueShift == 0 && !redLoss && !greenLoss && !blueLoss;
    }

    uint32_t pixel(const uint8_t* bgr) const {
        return (uint32_t(bgr[2] >> redLoss) << redShift) | (uint32_t(bgr[1] >> greenLoss) << greenShift) |
               (uint32_t(bgr[0] >> blueLoss) << blueShift) | alpha;
    }
};

uint8_t* surfaceRow(SDL_Surface& surface, int y) {
    return static_cast<uint8_t*>(surface.pixels) + std::ptrdiff_t(y) * surface.pitch;
}

// Fixed shifts the compiler can vectorise: the common case.
void convertXrgbRow(const uint8_t* source, uint32_t* target, int width, uint32_t alpha) {
    for (int x = 0; x < width; ++x, source += 3)
        target[x] = uint32_t(source[0]) | uint32_t(source[1]) << 8 | uint32_t(source[2]) << 16 | alpha;
}

void convertRow(const Bitmap& frame, SDL_Surface& surface, int y, int width) {
    const uint8_t* source = frame.row(y);
    uint8_t* target = surfaceRow(surface, y);
    if (surface.format->BytesPerPixel != 4) {
        SDL_ConvertPixels(width, 1, SDL_PIXELFORMAT_BGR24, source, frame.stride(), surface.format->format, target,
                          surface.pitch);
        return;
    }
    const ChannelLayout layout(*surface.format);
    auto* pixels = reinterpret_cast<uint32_t*>(target);
    if (layout.isXrgb()) {
        convertXrgbRow(source, pixels, width, layout.alpha);
        return;
    }
    for (int x = 0; x < width; ++x) pixels[x] = layout.pixel(source + 3 * x);
}

}  // namespace

void DesktopFrameCopy::forget() {
    last_.clear();
    pixels_ = nullptr;
    width_ = height_ = 0;
}

bool DesktopFrameCopy::sameTarget(const SDL_Surface& surface, int width, int height) const {
    return surface.pixels == pixels_ && width == width_ && height == height_;
}

bool DesktopFrameCopy::rowChanged(const Bitmap& frame, int y) const {
    return std::memcmp(frame.row(y), last_.data() + std::size_t(y) * width_ * 3, std::size_t(width_) * 3) != 0;
}

void DesktopFrameCopy::remember(const Bitmap& frame, int y) {
    std::memcpy(last_.data() + std::size_t(y) * width_ * 3, frame.row(y), std::size_t(width_) * 3);
}

DesktopFrameCopy::Band DesktopFrameCopy::copy(const Bitmap& frame, SDL_Surface& surface) {
    int width = std::min(frame.width(), surface.w);
    int height = std::min(frame.height(), surface.h);
    if (width <= 0 || height <= 0 || !surface.pixels) return Band{};
    bool everyRow = !sameTarget(surface, width, height);
    if (everyRow) {
        pixels_ = surface.pixels;
        width_ = width;
        height_ = height;
        last_.assign(std::size_t(width) * height * 3, 0);
    }
    Band changed{height, 0};
    for (int y = 0; y < height; ++y) {
        if (!everyRow && !rowChanged(frame, y)) continue;
        convertRow(frame, surface, y, width);
        remember(frame, y);
        changed.top = std::min(changed.top, y);
        changed.bottom = y + 1;
    }
    return changed.empty() ? Band{} : changed;
}

}  // namespace layer
