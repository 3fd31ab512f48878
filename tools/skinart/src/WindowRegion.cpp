#include "WindowRegion.h"

#include "ByteWriter.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace {

struct Span {
    int left;
    int right;
};

// Rows [top, bottom) share the same one or two column spans.
struct Band {
    int top;
    int bottom;
    int spanCount;
    std::array<Span, 2> spans;
};

constexpr Band one(int top, int bottom, int left, int right) {
    return Band{top, bottom, 1, {Span{left, right}, Span{0, 0}}};
}

constexpr Band two(int top, int bottom, int left1, int right1, int left2, int right2) {
    return Band{top, bottom, 2, {Span{left1, right1}, Span{left2, right2}}};
}

// Top to bottom: the dome under minimise/close, the carrying handle (a thin
// loop whose left post is x 86-89), the body with the detached right panel
// and its two joining bars, the gap left of the animated bar, and the
// bevelled lower-right corner with its two diagonal slits.
// clang-format off
constexpr std::array kBands = {
    one(23, 24, 172, 199),
    one(24, 25, 171, 200),
    one(25, 26, 170, 201),
    one(26, 27, 169, 202),
    one(27, 28, 87, 203),
    one(28, 29, 86, 204),
    one(29, 30, 86, 205),
    two(30, 31, 86, 89, 165, 206),
    two(31, 32, 86, 89, 164, 207),
    two(32, 33, 86, 89, 163, 208),
    two(33, 34, 86, 89, 162, 209),
    two(34, 35, 86, 89, 161, 210),
    one(35, 36, 33, 232),
    one(36, 37, 31, 232),
    two(37, 38, 30, 232, 241, 298),
    two(38, 39, 29, 232, 240, 299),
    two(39, 41, 28, 232, 240, 299),
    two(41, 45, 27, 232, 240, 299),
    one(45, 50, 27, 299),
    two(50, 61, 27, 232, 240, 299),
    one(61, 66, 27, 299),
    two(66, 97, 27, 232, 240, 299),
    two(97, 98, 27, 232, 241, 298),
    one(98, 100, 27, 232),
    one(100, 101, 27, 231),
    two(101, 162, 27, 215, 219, 226),
    one(162, 163, 27, 231),
    one(163, 194, 27, 232),
    one(194, 195, 27, 231),
    one(195, 196, 27, 230),
    one(196, 197, 27, 229),
    one(197, 198, 27, 228),
    two(198, 199, 27, 227, 228, 229),
    two(199, 200, 27, 226, 227, 229),
    two(200, 201, 27, 225, 226, 229),
    one(201, 206, 27, 229),
    two(206, 207, 27, 219, 220, 229),
    two(207, 208, 27, 218, 219, 229),
    two(208, 209, 27, 217, 218, 229),
    two(209, 210, 27, 216, 217, 229),
    one(210, 211, 27, 215),
    one(211, 212, 27, 214),
    one(212, 213, 27, 213),
    one(213, 214, 27, 212),
};
// clang-format on

constexpr int countRects() {
    int count = 0;
    for (const Band& band : kBands) {
        count += band.spanCount;
    }
    return count;
}

static_assert(countRects() == WindowRegion::kRectCount, "the region table must hold exactly 64 rectangles");

std::vector<Rect> rectsFromBands() {
    std::vector<Rect> rects;
    for (const Band& band : kBands) {
        for (int i = 0; i < band.spanCount; ++i) {
            rects.push_back(Rect{band.spans[i].left, band.top, band.spans[i].right, band.bottom});
        }
    }
    return rects;
}

}  // namespace

WindowRegion::WindowRegion(std::vector<Rect> rects) : rects_(std::move(rects)) {
    if (rects_.size() != kRectCount) {
        throw std::logic_error("window region must have exactly 64 rectangles");
    }
}

const WindowRegion& WindowRegion::skin() {
    static const WindowRegion region(rectsFromBands());
    return region;
}

Rect WindowRegion::bounds() const {
    Rect box = rects_.front();
    for (const Rect& r : rects_) {
        box.left = std::min(box.left, r.left);
        box.top = std::min(box.top, r.top);
        box.right = std::max(box.right, r.right);
        box.bottom = std::max(box.bottom, r.bottom);
    }
    return box;
}

bool WindowRegion::contains(int x, int y) const {
    return std::any_of(rects_.begin(), rects_.end(), [x, y](const Rect& r) { return r.contains(x, y); });
}

bool WindowRegion::isEdge(int x, int y) const {
    return contains(x, y) && (!contains(x - 1, y) || !contains(x + 1, y) || !contains(x, y - 1) || !contains(x, y + 1));
}

std::vector<std::uint8_t> WindowRegion::toRgnData() const {
    constexpr std::uint32_t kRdhRectangles = 1;
    const Rect box = bounds();
    ByteWriter out;
    out.u32le(kHeaderSize);
    out.u32le(kRdhRectangles);
    out.u32le(static_cast<std::uint32_t>(rects_.size()));
    out.u32le(static_cast<std::uint32_t>(rects_.size() * kRectSize));
    for (int v : {box.left, box.top, box.right, box.bottom}) {
        out.i32le(v);
    }
    for (const Rect& r : rects_) {
        for (int v : {r.left, r.top, r.right, r.bottom}) {
            out.i32le(v);
        }
    }
    return out.take();
}
