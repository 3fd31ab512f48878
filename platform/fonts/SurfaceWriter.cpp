#include "fonts/SurfaceWriter.h"

#include <algorithm>

namespace layer {

namespace {

bool usable(const TextSurface& surface) {
    return surface.bits != nullptr && surface.width > 0 && surface.height > 0 &&
           static_cast<int64_t>(surface.stride) >= 3 * static_cast<int64_t>(surface.width);
}

void store(uint8_t* bgr, Rgb colour) {
    bgr[0] = colour.blue;
    bgr[1] = colour.green;
    bgr[2] = colour.red;
}

}  // namespace

Rgb Rgb::fromColourRef(uint32_t colourRef) {
    return Rgb{static_cast<uint8_t>(colourRef & 0xFF), static_cast<uint8_t>((colourRef >> 8) & 0xFF),
               static_cast<uint8_t>((colourRef >> 16) & 0xFF)};
}

PixelRect PixelRect::intersect(const PixelRect& other) const {
    return PixelRect{std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                     std::min(bottom, other.bottom)};
}

SurfaceWriter::SurfaceWriter(TextSurface& surface, const TextClip& clip) : surface_(surface) {
    if (!usable(surface)) return;  // writable_ stays empty
    const PixelRect bounds{0, 0, surface.width, surface.height};
    writable_ = bounds.intersect(PixelRect{clip.left, clip.top, clip.right, clip.bottom});
}

uint8_t* SurfaceWriter::pixel(int64_t x, int64_t y) const {
    const int64_t row = surface_.bottomUp ? surface_.height - 1 - y : y;
    return surface_.bits + row * surface_.stride + 3 * x;
}

void SurfaceWriter::fill(const PixelRect& rect, Rgb colour) {
    const PixelRect area = rect.intersect(writable_);
    if (area.empty()) return;
    for (int64_t y = area.top; y < area.bottom; ++y) {
        uint8_t* out = pixel(area.left, y);
        for (int64_t x = area.left; x < area.right; ++x, out += 3) store(out, colour);
    }
}

void SurfaceWriter::blend(const uint8_t* coverage, int width, int rows, int64_t left, int64_t top, Rgb colour) {
    if (!coverage || width <= 0 || rows <= 0) return;
    const PixelRect area = PixelRect{left, top, left + width, top + rows}.intersect(writable_);
    if (area.empty()) return;
    for (int64_t y = area.top; y < area.bottom; ++y) {
        const uint8_t* mask = coverage + (y - top) * width + (area.left - left);
        uint8_t* out = pixel(area.left, y);
        for (int64_t x = area.left; x < area.right; ++x, ++mask, out += 3) {
            const uint8_t alpha = *mask;
            if (alpha == 0) continue;
            if (alpha == 255) {
                store(out, colour);
                continue;
            }
            out[0] = mix(out[0], colour.blue, alpha);
            out[1] = mix(out[1], colour.green, alpha);
            out[2] = mix(out[2], colour.red, alpha);
        }
    }
}

}  // namespace layer
