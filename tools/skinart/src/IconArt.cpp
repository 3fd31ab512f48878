#include "IconArt.h"

#include <algorithm>
#include <cstdint>

namespace {

// Lengths are in units of 1/size of a window pixel, so that one icon pixel
// spans exactly `span` units and one window pixel `size` units.
struct Axis {
    int span;    // window pixels across the icon (the area's longer side)
    int origin;  // where icon pixel 0 starts, in units

    static Axis centred(int areaStart, int areaLength, int span, int size) {
        return Axis{span, areaStart * size - (span - areaLength) * size / 2};
    }

    int firstUnit(int iconPixel) const { return origin + iconPixel * span; }
};

int overlap(int startA, int endA, int startB, int endB) {
    return std::max(0, std::min(endA, endB) - std::max(startA, startB));
}

struct Accumulator {
    std::int64_t inside = 0;
    std::int64_t red = 0;
    std::int64_t green = 0;
    std::int64_t blue = 0;

    void add(Rgb colour, std::int64_t weight) {
        inside += weight;
        red += colour.r * weight;
        green += colour.g * weight;
        blue += colour.b * weight;
    }

    Rgb average() const {
        const auto channel = [this](std::int64_t sum) {
            return static_cast<std::uint8_t>((sum + inside / 2) / inside);
        };
        return inside == 0 ? Rgb{} : Rgb{channel(red), channel(green), channel(blue)};
    }
};

}  // namespace

RgbaImage IconArt::icon(const Image& window, const WindowRegion& region, const Rect& area, int size) {
    const int span = std::max(area.width(), area.height());
    const Axis across = Axis::centred(area.left, area.width(), span, size);
    const Axis down = Axis::centred(area.top, area.height(), span, size);
    const std::int64_t fullWeight = static_cast<std::int64_t>(span) * span;
    RgbaImage icon(size, size);
    for (int y = 0; y < size; ++y) {
        const int top = down.firstUnit(y);
        for (int x = 0; x < size; ++x) {
            const int left = across.firstUnit(x);
            Accumulator sum;
            for (int wy = std::max(area.top, top / size); wy < area.bottom && wy * size < top + span; ++wy) {
                const int rows = overlap(top, top + span, wy * size, (wy + 1) * size);
                for (int wx = std::max(area.left, left / size); wx < area.right && wx * size < left + span; ++wx) {
                    if (region.contains(wx, wy)) {
                        sum.add(window.at(wx, wy), static_cast<std::int64_t>(rows) *
                                                       overlap(left, left + span, wx * size, (wx + 1) * size));
                    }
                }
            }
            icon.set(x, y, sum.average(), static_cast<std::uint8_t>((sum.inside * 255 + fullWeight / 2) / fullWeight));
        }
    }
    return icon;
}
