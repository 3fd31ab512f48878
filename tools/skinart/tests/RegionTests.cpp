// The window region: the band table, its RGNDATA form, and the features of
// the outline the art relies on.

#include "TestHarness.h"
#include "WindowRegion.h"

#include <cstdint>
#include <vector>

namespace {

std::int32_t i32At(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::int32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
                                     (static_cast<std::uint32_t>(b[at + 3]) << 24));
}

}  // namespace

SKINART_TEST(regionDataHasTheHeaderAnd64Rects) {
    const auto data = WindowRegion::skin().toRgnData();
    CHECK_EQ(data.size(), 1056U);
    CHECK_EQ(i32At(data, 0), 32);
    CHECK_EQ(i32At(data, 4), 1);
    CHECK_EQ(i32At(data, 8), 64);
    CHECK_EQ(i32At(data, 12), 1024);
    CHECK_EQ(i32At(data, 16), 27);
    CHECK_EQ(i32At(data, 20), 23);
    CHECK_EQ(i32At(data, 24), 299);
    CHECK_EQ(i32At(data, 28), 214);
    // First, a middle and the last rectangle, as the band table lists them.
    CHECK(i32At(data, 32) == 172 && i32At(data, 36) == 23 && i32At(data, 40) == 199 && i32At(data, 44) == 24);
    const std::size_t gapBand = 32 + 16 * 37;  // 101-162: 27-215, 219-226
    CHECK(i32At(data, gapBand) == 27 && i32At(data, gapBand + 4) == 101 && i32At(data, gapBand + 8) == 215 &&
          i32At(data, gapBand + 12) == 162);
    CHECK(i32At(data, gapBand + 16) == 219 && i32At(data, gapBand + 24) == 226);
    CHECK(i32At(data, 1040) == 27 && i32At(data, 1044) == 213 && i32At(data, 1048) == 212 && i32At(data, 1052) == 214);
}

SKINART_TEST(regionRectsAreYXBanded) {
    // Sorted by top then left, bands do not overlap, spans in a band do not touch.
    const auto& rects = WindowRegion::skin().rects();
    for (std::size_t i = 1; i < rects.size(); ++i) {
        const Rect& a = rects[i - 1];
        const Rect& b = rects[i];
        CHECK(!a.empty() && !b.empty());
        if (a.top == b.top) {
            CHECK(a.bottom == b.bottom && a.right < b.left);
        } else {
            CHECK(a.bottom <= b.top);
        }
    }
}

SKINART_TEST(regionHasTheShapesTheArtFollows) {
    const WindowRegion& r = WindowRegion::skin();
    // The handle: a thin loop with a hole in it.
    CHECK(r.contains(87, 27) && !r.contains(86, 27));
    CHECK(r.contains(86, 32) && r.contains(88, 32) && !r.contains(89, 32) && !r.contains(120, 32));
    CHECK(r.isEdge(120, 27) && !r.isEdge(120, 28) && r.isEdge(120, 29));
    // The dome's slanted flank.
    CHECK(r.contains(161, 34) && !r.contains(160, 34) && !r.contains(161, 33));
    // The gap left of the animated bar, and the bar's strip.
    CHECK(r.contains(214, 130) && !r.contains(215, 130) && !r.contains(218, 130) && r.contains(219, 130) &&
          !r.contains(226, 130));
    // The two slits in the lower-right corner, one pixel wide.
    for (const auto& p :
         {std::pair{227, 198}, {226, 199}, {225, 200}, {219, 206}, {218, 207}, {217, 208}, {216, 209}}) {
        CHECK(!r.contains(p.first, p.second) && r.contains(p.first - 1, p.second) && r.contains(p.first + 1, p.second));
    }
    // The right panel and its two bars.
    CHECK(r.contains(236, 47) && r.contains(236, 63) && !r.contains(236, 55) && !r.contains(236, 70));
    CHECK(r.contains(298, 38) && !r.contains(299, 38) && !r.contains(240, 37));
    CHECK(r.bounds() == (Rect{27, 23, 299, 214}));
}
