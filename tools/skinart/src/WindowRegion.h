#pragma once

#include "Rect.h"

#include <cstdint>
#include <vector>

// The window's shape as a list of y-x banded rectangles. The same table is
// written out as RGNDATA for SetWindowRgn and used by the background art to
// find the window's outline, so the two can never disagree.
class WindowRegion {
public:
    static constexpr int kRectCount = 64;
    static constexpr int kHeaderSize = 32;
    static constexpr int kRectSize = 16;
    static constexpr int kDataSize = kHeaderSize + kRectCount * kRectSize;

    // The skin's region.
    static const WindowRegion& skin();

    const std::vector<Rect>& rects() const { return rects_; }
    Rect bounds() const;
    bool contains(int x, int y) const;
    // Inside, with at least one of the four neighbours outside.
    bool isEdge(int x, int y) const;

    // RGNDATAHEADER (RDH_RECTANGLES) followed by the rectangles, little-endian.
    std::vector<std::uint8_t> toRgnData() const;

private:
    explicit WindowRegion(std::vector<Rect> rects);

    std::vector<Rect> rects_;
};
