// Regions as the program builds them: ExtCreateRegion from a block of
// rectangles (with and without a transform), the banded form GetRegionData
// reports, the hit test, and the window's region.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Check.h"
#include "Fixtures.h"

namespace {

std::vector<char> regionBlock(const std::vector<RECT>& rects, DWORD headerCount) {
    std::vector<char> block(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    RGNDATAHEADER header;
    std::memset(&header, 0, sizeof header);
    header.dwSize = sizeof header;
    header.iType = RDH_RECTANGLES;
    header.nCount = headerCount;
    header.nRgnSize = DWORD(rects.size() * sizeof(RECT));
    std::memcpy(block.data(), &header, sizeof header);
    if (!rects.empty()) std::memcpy(block.data() + sizeof header, rects.data(), rects.size() * sizeof(RECT));
    return block;
}

HRGN makeRegion(const std::vector<RECT>& rects, const XFORM* transform = nullptr) {
    std::vector<char> block = regionBlock(rects, DWORD(rects.size()));
    return ExtCreateRegion(transform, DWORD(block.size()), reinterpret_cast<const RGNDATA*>(block.data()));
}

struct Described {
    bool ok = false;
    RGNDATAHEADER header{};
    std::vector<RECT> rects;
};

Described describe(HRGN region) {
    Described result;
    int size = int(GetRegionData(region, 0, nullptr));
    if (size < int(sizeof(RGNDATAHEADER))) return result;
    std::vector<char> buffer(size);
    if (int(GetRegionData(region, DWORD(size), reinterpret_cast<RGNDATA*>(buffer.data()))) != size) return result;
    std::memcpy(&result.header, buffer.data(), sizeof result.header);
    result.rects.resize(result.header.nCount);
    if (!result.rects.empty())
        std::memcpy(result.rects.data(), buffer.data() + sizeof(RGNDATAHEADER), result.rects.size() * sizeof(RECT));
    result.ok = true;
    return result;
}

bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool sameRects(const std::vector<RECT>& a, const std::vector<RECT>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!sameRect(a[i], b[i])) return false;
    return true;
}

std::string describeRects(const std::vector<RECT>& rects) {
    std::string text;
    for (const RECT& r : rects) {
        char one[64];
        std::snprintf(one, sizeof one, "(%ld,%ld-%ld,%ld)", long(r.left), long(r.top), long(r.right), long(r.bottom));
        text += one;
    }
    return text.empty() ? "nothing" : text;
}

struct BandCase {
    const char* what;
    std::vector<RECT> given;
    std::vector<RECT> banded;
    RECT bound;
};

const BandCase bandCases[] = {
    {"one rectangle", {{111, 222, 333, 444}}, {{111, 222, 333, 444}}, {111, 222, 333, 444}},
    {"two overlapping",
     {{0, 0, 10, 10}, {5, 5, 15, 15}},
     {{0, 0, 10, 5}, {0, 5, 15, 10}, {5, 10, 15, 15}},
     {0, 0, 15, 15}},
    {"two corners touching", {{0, 0, 10, 10}, {10, 10, 20, 20}}, {{0, 0, 10, 10}, {10, 10, 20, 20}}, {0, 0, 20, 20}},
    {"side by side", {{0, 0, 5, 10}, {5, 0, 10, 10}}, {{0, 0, 10, 10}}, {0, 0, 10, 10}},
    {"one above the other", {{0, 0, 10, 5}, {0, 5, 10, 10}}, {{0, 0, 10, 10}}, {0, 0, 10, 10}},
    {"a band with a gap", {{0, 0, 3, 2}, {6, 0, 9, 2}}, {{0, 0, 3, 2}, {6, 0, 9, 2}}, {0, 0, 9, 2}},
    {"given out of order", {{0, 5, 4, 8}, {2, 0, 6, 3}}, {{2, 0, 6, 3}, {0, 5, 4, 8}}, {0, 0, 6, 8}},
    {"empty rectangles only", {{5, 5, 5, 10}, {0, 3, 8, 3}}, {}, {0, 0, 0, 0}},
    {"nested", {{0, 0, 10, 10}, {2, 2, 4, 4}}, {{0, 0, 10, 10}}, {0, 0, 10, 10}},
};

}  // namespace

TEST_CASE(region_banding, "dlls/gdi32/tests/clipping.c: test_ExtCreateRegion, verify_region") {
    for (const BandCase& c : bandCases) {
        HRGN region = makeRegion(c.given);
        ok(region != nullptr, "ExtCreateRegion of %s failed", c.what);
        Described d = describe(region);
        ok(d.ok && d.header.dwSize == sizeof(RGNDATAHEADER) && d.header.iType == RDH_RECTANGLES,
           "GetRegionData of %s: header size %u type %u", c.what, unsigned(d.header.dwSize), unsigned(d.header.iType));
        ok(sameRects(d.rects, c.banded), "%s: expected %s", c.what, describeRects(c.banded).c_str());
        ok(d.header.nRgnSize == DWORD(c.banded.size() * sizeof(RECT)), "%s: nRgnSize %u", c.what,
           unsigned(d.header.nRgnSize));
        ok(sameRect(d.header.rcBound, c.bound), "%s: bound %s", c.what, describeRects({d.header.rcBound}).c_str());
        DeleteObject(region);
    }
}

TEST_CASE(region_data_sizes, "dlls/gdi32/tests/clipping.c: test_ExtCreateRegion") {
    std::vector<RECT> rects = {{0, 0, 10, 10}, {10, 10, 20, 20}};
    std::vector<char> block = regionBlock(rects, 2);
    const RGNDATA* data = reinterpret_cast<const RGNDATA*>(block.data());
    ok(ExtCreateRegion(nullptr, 0, nullptr) == nullptr, "a region from nothing");

    std::vector<char> empty = regionBlock({}, 0);
    HRGN headerOnly = ExtCreateRegion(nullptr, sizeof(RGNDATAHEADER), reinterpret_cast<const RGNDATA*>(empty.data()));
    ok(headerOnly != nullptr, "a header with no rectangles makes no region");
    DeleteObject(headerOnly);

    RGNDATAHEADER badSize;
    std::memcpy(&badSize, empty.data(), sizeof badSize);
    badSize.dwSize = sizeof(RGNDATAHEADER) - 1;
    ok(ExtCreateRegion(nullptr, sizeof badSize, reinterpret_cast<const RGNDATA*>(&badSize)) == nullptr,
       "a header of the wrong size was taken");

    // Windows refuses a block that holds fewer rectangles than its header
    // counts, or less than a header.
    todo_wine("ExtCreateRegion reads as many rectangles as the header counts, whatever the size given") {
        HRGN short1 = ExtCreateRegion(nullptr, DWORD(block.size() - 1), data);
        ok(short1 == nullptr, "a block one byte short of its rectangles made a region");
        if (short1) DeleteObject(short1);
        HRGN short2 =
            ExtCreateRegion(nullptr, sizeof(RGNDATAHEADER) - 1, reinterpret_cast<const RGNDATA*>(empty.data()));
        ok(short2 == nullptr, "a block shorter than its header made a region");
        if (short2) DeleteObject(short2);
    }

    HRGN region = ExtCreateRegion(nullptr, DWORD(block.size()), data);
    int needed = int(GetRegionData(region, 0, nullptr));
    ok(needed == int(sizeof(RGNDATAHEADER) + 2 * sizeof(RECT)), "GetRegionData asks for %d bytes", needed);
    std::vector<char> buffer(needed + 64);
    ok(GetRegionData(region, DWORD(needed - 1), reinterpret_cast<RGNDATA*>(buffer.data())) == 0,
       "GetRegionData filled a buffer too small");
    ok(int(GetRegionData(region, DWORD(buffer.size()), reinterpret_cast<RGNDATA*>(buffer.data()))) == needed,
       "GetRegionData into a larger buffer does not give the bytes written");
    ok(GetRegionData(nullptr, 0, nullptr) == 0, "GetRegionData of no region");
    DeleteObject(region);
    ok(GetRegionData(region, 0, nullptr) == 0, "GetRegionData of a deleted region");
}

namespace {

struct TransformCase {
    const char* what;
    XFORM transform;
    RECT given;
    RECT expected;
};

// Every corner goes through the transform and is rounded to the nearest
// pixel; the region is what the transformed corners enclose.
const TransformCase transformCases[] = {
    {"a move by whole pixels", {1, 0, 0, 1, 10, -20}, {0, 0, 5, 5}, {10, -20, 15, -15}},
    {"a move by 0.7", {1, 0, 0, 1, 0.7f, 0.7f}, {0, 0, 5, 5}, {1, 1, 6, 6}},
    {"a move by 0.3", {1, 0, 0, 1, 0.3f, 0.3f}, {0, 0, 5, 5}, {0, 0, 5, 5}},
    {"a move by -0.7", {1, 0, 0, 1, -0.7f, -0.7f}, {0, 0, 5, 5}, {-1, -1, 4, 4}},
    {"half size and a move", {0.5f, 0, 0, 0.5f, 20, 40}, {111, 222, 333, 444}, {76, 151, 187, 262}},
    {"twice as wide, three times as tall", {2, 0, 0, 3, 0, 0}, {1, 1, 4, 2}, {2, 3, 8, 6}},
    {"mirrored left to right", {-1, 0, 0, 1, 0, 0}, {1, 1, 4, 2}, {-4, 1, -1, 2}},
};

}  // namespace

TEST_CASE(region_transforms, "dlls/gdi32/tests/clipping.c: test_ExtCreateRegion (xform)") {
    for (const TransformCase& c : transformCases) {
        HRGN region = makeRegion({c.given}, &c.transform);
        ok(region != nullptr, "ExtCreateRegion with %s failed", c.what);
        Described d = describe(region);
        ok(d.rects.size() == 1 && sameRect(d.rects[0], c.expected), "%s: got %s, expected %s", c.what,
           describeRects(d.rects).c_str(), describeRects({c.expected}).c_str());
        if (region) DeleteObject(region);
    }
}

TEST_CASE(region_hit_test, nullptr) {
    HRGN region = makeRegion({{10, 10, 20, 20}, {30, 10, 40, 15}});
    struct Point {
        int x, y;
        bool inside;
    } points[] = {{10, 10, true},  {19, 19, true}, {20, 10, false}, {10, 20, false}, {9, 10, false},
                  {25, 12, false}, {30, 14, true}, {39, 10, true},  {30, 15, false}, {-5, -5, false}};
    for (const Point& p : points)
        ok(bool(PtInRegion(region, p.x, p.y)) == p.inside, "PtInRegion(%d, %d) is %s", p.x, p.y,
           p.inside ? "false" : "true");
    DeleteObject(region);
    ok(!PtInRegion(region, 12, 12), "a deleted region still answers");
}
