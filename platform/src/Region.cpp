#include "Region.h"

#include <algorithm>

namespace layer {

Region::Region(std::vector<RECT> rects) : LayerObject(ObjectKind::Region) { replace(rects); }

void Region::replace(const std::vector<RECT>& rects) {
    rects_.clear();
    bounds_ = RECT{0, 0, 0, 0};
    // Empty rectangles contribute nothing, as in GDI.
    for (const RECT& r : rects)
        if (r.right > r.left && r.bottom > r.top) rects_.push_back(r);
    if (rects_.empty()) return;
    bounds_ = rects_.front();
    for (const RECT& r : rects_) {
        bounds_.left = std::min(bounds_.left, r.left);
        bounds_.top = std::min(bounds_.top, r.top);
        bounds_.right = std::max(bounds_.right, r.right);
        bounds_.bottom = std::max(bounds_.bottom, r.bottom);
    }
}

bool Region::contains(int x, int y) const {
    if (x < bounds_.left || x >= bounds_.right || y < bounds_.top || y >= bounds_.bottom) return false;
    return std::any_of(rects_.begin(), rects_.end(), [&](const RECT& r) {
        return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
    });
}

}  // namespace layer
