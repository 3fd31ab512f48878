#include "WebFrame.h"

#include <algorithm>
#include <cstring>

#include "Bitmap.h"
#include "Region.h"

namespace layer {

void WebFrame::shape(int windowWidth, int windowHeight, int scale, const Region* region) {
    width_ = std::max(windowWidth, 0);
    height_ = std::max(windowHeight, 0);
    scale_ = std::max(scale, 1);
    inside_.assign(std::size_t(width_) * height_, region ? 0 : 1);
    if (region) {
        for (const RECT& rect : region->rects()) {
            for (int y = std::max<int>(rect.top, 0); y < std::min<int>(rect.bottom, height_); ++y) {
                int left = std::max<int>(rect.left, 0);
                int right = std::min<int>(rect.right, width_);
                if (left < right) std::memset(&inside_[std::size_t(y) * width_ + left], 1, std::size_t(right - left));
            }
        }
    }
    rgba_.assign(std::size_t(width()) * height() * 4, 0);
    allRows_ = true;
}

// One frame row as the first device row of its block, then copied down.
void WebFrame::convertRow(const Bitmap& frame, int y) {
    const uint8_t* source = frame.row(y);
    const uint8_t* inside = &inside_[std::size_t(y) * width_];
    int columns = std::min(width_, frame.width());
    uint8_t* target = &rgba_[std::size_t(y) * scale_ * stride()];
    for (int x = 0; x < columns; ++x, source += 3) {
        const uint8_t opaque[4] = {source[2], source[1], source[0], 255};
        const uint8_t transparent[4] = {0, 0, 0, 0};
        const uint8_t* pixel = inside[x] ? opaque : transparent;
        for (int copy = 0; copy < scale_; ++copy, target += 4) std::memcpy(target, pixel, 4);
    }
    uint8_t* first = &rgba_[std::size_t(y) * scale_ * stride()];
    for (int copy = 1; copy < scale_; ++copy) std::memcpy(first + copy * stride(), first, stride());
}

WebFrame::Band WebFrame::copy(const Bitmap& frame, Band rows) {
    if (allRows_) rows = Band{0, height_};
    allRows_ = false;
    int top = std::max(rows.top, 0);
    int bottom = std::min({rows.bottom, height_, frame.height()});
    if (top >= bottom) return Band{};
    for (int y = top; y < bottom; ++y) convertRow(frame, y);
    return Band{top * scale_, bottom * scale_};
}

}  // namespace layer
