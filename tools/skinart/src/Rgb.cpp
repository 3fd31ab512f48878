#include "Rgb.h"

#include <algorithm>

namespace {

std::uint8_t clampChannel(int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 255)); }

std::uint8_t mixChannel(int from, int to, int weight) {
    // +128 rounds to nearest; the arithmetic shift keeps negative steps symmetric.
    return clampChannel(from + (((to - from) * weight + 128) >> 8));
}

}  // namespace

Rgb Rgb::mixedWith(Rgb other, int weight) const {
    weight = std::clamp(weight, 0, 256);
    return Rgb{mixChannel(r, other.r, weight), mixChannel(g, other.g, weight), mixChannel(b, other.b, weight)};
}

Rgb Rgb::scaled(int factor) const {
    return Rgb{clampChannel((r * factor + 128) >> 8), clampChannel((g * factor + 128) >> 8),
               clampChannel((b * factor + 128) >> 8)};
}

Rgb Rgb::brightened(int delta) const {
    return Rgb{clampChannel(r + delta), clampChannel(g + delta), clampChannel(b + delta)};
}
