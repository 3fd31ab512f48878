// A region as a list of rectangles, in the banded form that RGNDATA carries.
#pragma once

#include <windows.h>

#include <vector>

#include "ObjectTable.h"

namespace layer {

class Region : public LayerObject {
public:
    explicit Region(std::vector<RECT> rects);

    // Takes a new set of rectangles: empty ones are dropped, the rest are
    // brought into banded form.
    void replace(const std::vector<RECT>& rects);

    bool contains(int x, int y) const;
    const std::vector<RECT>& rects() const { return rects_; }
    RECT bounds() const { return bounds_; }

private:
    std::vector<RECT> rects_;
    RECT bounds_{0, 0, 0, 0};
};

}  // namespace layer
