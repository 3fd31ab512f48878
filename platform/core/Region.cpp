#include "Region.h"

#include <algorithm>
#include <utility>

namespace layer {

Region::Region(std::vector<RECT> rects) : LayerObject(ObjectKind::Region) { replace(rects); }

// GDI keeps every region in one form, whatever rectangles made it: bands from
// top to bottom, each a row of disjoint rectangles as tall as the band, sorted
// left to right, and no band that repeats the spans of the band right above it
// (the two are one band). GetRegionData reports exactly this form.
void Region::replace(const std::vector<RECT>& rects) {
    std::vector<RECT> given;
    // Empty rectangles contribute nothing, as in GDI.
    for (const RECT& r : rects)
        if (r.right > r.left && r.bottom > r.top) given.push_back(r);
    rects_.clear();
    bounds_ = RECT{0, 0, 0, 0};
    if (given.empty()) return;

    std::vector<LONG> edges;
    edges.reserve(given.size() * 2);
    for (const RECT& r : given) {
        edges.push_back(r.top);
        edges.push_back(r.bottom);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    // A sweep from top to bottom: each band sees only the rectangles that
    // cross it, so a region traced run by run costs O(n log n), not O(n^2).
    std::sort(given.begin(), given.end(), [](const RECT& a, const RECT& b) { return a.top < b.top; });

    using Span = std::pair<LONG, LONG>;
    std::vector<Span> spans, previousSpans;
    std::vector<RECT> active;       // the rectangles crossing the current band
    std::size_t nextGiven = 0;      // the first rectangle not yet reached
    std::size_t previousFirst = 0;  // the previous band's first rectangle in rects_
    bool previousTouches = false;   // the previous band ends where this one starts
    for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
        LONG top = edges[i], bottom = edges[i + 1];
        // Every edge is a band's edge, so a rectangle that reaches this band
        // covers all of it.
        std::erase_if(active, [&](const RECT& r) { return r.bottom <= top; });
        for (; nextGiven < given.size() && given[nextGiven].top <= top; ++nextGiven) active.push_back(given[nextGiven]);
        if (active.empty()) {
            previousTouches = false;
            continue;
        }
        spans.clear();
        for (const RECT& r : active) spans.emplace_back(r.left, r.right);
        std::sort(spans.begin(), spans.end());
        std::size_t merged = 0;
        for (std::size_t j = 1; j < spans.size(); ++j) {
            if (spans[j].first <= spans[merged].second)
                spans[merged].second = std::max(spans[merged].second, spans[j].second);
            else
                spans[++merged] = spans[j];
        }
        spans.resize(merged + 1);
        if (previousTouches && spans == previousSpans) {
            for (std::size_t j = previousFirst; j < rects_.size(); ++j) rects_[j].bottom = bottom;
        } else {
            previousFirst = rects_.size();
            for (const Span& span : spans) rects_.push_back(RECT{span.first, top, span.second, bottom});
            previousSpans = spans;
        }
        previousTouches = true;
    }

    bounds_ = rects_.front();
    for (const RECT& r : rects_) {
        bounds_.left = std::min(bounds_.left, r.left);
        bounds_.top = std::min(bounds_.top, r.top);
        bounds_.right = std::max(bounds_.right, r.right);
        bounds_.bottom = std::max(bounds_.bottom, r.bottom);
    }
}

// The bands lie top to bottom, so the one that could hold y is found by
// halving; within it the rectangles lie left to right.
bool Region::contains(int x, int y) const {
    if (x < bounds_.left || x >= bounds_.right || y < bounds_.top || y >= bounds_.bottom) return false;
    auto it = std::partition_point(rects_.begin(), rects_.end(), [&](const RECT& r) { return r.bottom <= y; });
    for (; it != rects_.end() && it->top <= y && it->left <= x; ++it)
        if (x < it->right) return true;
    return false;
}

}  // namespace layer
