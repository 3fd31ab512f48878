#include "DesktopFrameCopy.h"

#include <SDL.h>

#include <algorithm>
#include <bit>
#include <cstring>

#include "Bitmap.h"

namespace layer {

namespace {

// One channel of a pixel, from its mask: where it sits and how many bits it
// has. An 8-bit value is cut to fewer bits, or widened to more by repeating
// its top bits below it (a deep-colour screen's 10 bits: 0xFF gives 0x3FF).
struct Channel {
    uint8_t shift = 0;
    uint8_t bits = 0;

    explicit Channel(uint32_t mask) {
        if (!mask) return;
        shift = uint8_t(std::countr_zero(mask));
        bits = uint8_t(std::popcount(mask));
    }

    uint32_t place(uint8_t value) const {
        uint32_t wide = bits >= 8
                            ? (uint32_t(value) << (bits - 8)) | (uint32_t(value) >> (16 - std::min<int>(bits, 16)))
                            : uint32_t(value) >> (8 - bits);
        return wide << shift;
    }
};

// Where each channel goes in a 32-bit pixel. Held in locals so that the
// stores into the surface cannot force the format to be read again per pixel.
struct ChannelLayout {
    Channel red, green, blue;
    uint32_t alpha;

    explicit ChannelLayout(const SDL_PixelFormat& f) : red(f.Rmask), green(f.Gmask), blue(f.Bmask), alpha(f.Amask) {}

    // X, R, G, B from the high byte down: what a 24-bit X display gives.
    bool isXrgb() const {
        return red.shift == 16 && green.shift == 8 && blue.shift == 0 && red.bits == 8 && green.bits == 8 &&
               blue.bits == 8;
    }

    uint32_t pixel(const uint8_t* bgr) const {
        return red.place(bgr[2]) | green.place(bgr[1]) | blue.place(bgr[0]) | alpha;
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

// Frame row y into the surface row given, in the surface's format.
void convertRow(const Bitmap& frame, int y, SDL_Surface& surface, uint8_t* target, int width) {
    const uint8_t* source = frame.row(y);
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

// Widens a converted row in place, from its right end so that no pixel is
// overwritten before it has been read, each pixel becoming scale copies.
void widenRow(uint8_t* row, int width, int scale, int bytesPerPixel) {
    for (int x = width - 1; x >= 0; --x) {
        const uint8_t* pixel = row + std::ptrdiff_t(x) * bytesPerPixel;
        uint8_t wide[4];
        std::memcpy(wide, pixel, std::size_t(bytesPerPixel));
        for (int copy = scale - 1; copy >= 0; --copy)
            std::memcpy(row + (std::ptrdiff_t(x) * scale + copy) * bytesPerPixel, wide, std::size_t(bytesPerPixel));
    }
}

// Frame row y as the scale rows of its block on the surface.
// Converted into the block's first row, then widened there and copied down.
void convertBlockRow(const Bitmap& frame, SDL_Surface& surface, int y, int width, int scale) {
    int top = y * scale;
    uint8_t* first = surfaceRow(surface, top);
    convertRow(frame, y, surface, first, width);
    if (scale == 1) return;
    int bytesPerPixel = surface.format->BytesPerPixel;
    widenRow(first, width, scale, bytesPerPixel);
    for (int copy = 1; copy < scale; ++copy)
        std::memcpy(surfaceRow(surface, top + copy), first, std::size_t(width) * scale * bytesPerPixel);
}

}  // namespace

void DesktopFrameCopy::forget() {
    pixels_ = nullptr;
    width_ = height_ = 0;
}

bool DesktopFrameCopy::sameTarget(const SDL_Surface& surface, int width, int height, int scale) const {
    return surface.pixels == pixels_ && width == width_ && height == height_ && scale == scale_;
}

DesktopFrameCopy::Band DesktopFrameCopy::copy(const Bitmap& frame, SDL_Surface& surface, int scale, Band rows) {
    scale = std::max(scale, 1);
    int width = std::min(frame.width(), surface.w / scale);
    int height = std::min(frame.height(), surface.h / scale);
    if (width <= 0 || height <= 0 || !surface.pixels) return Band{};
    if (!sameTarget(surface, width, height, scale)) {
        pixels_ = surface.pixels;
        width_ = width;
        height_ = height;
        scale_ = scale;
        rows = everyRow;
    }
    int top = std::max(rows.top, 0);
    int bottom = std::min(rows.bottom, height);
    if (top >= bottom) return Band{};
    for (int y = top; y < bottom; ++y) convertBlockRow(frame, surface, y, width, scale);
    return Band{top * scale, bottom * scale};
}

}  // namespace layer
