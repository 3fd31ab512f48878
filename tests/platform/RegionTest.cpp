// Regions from RGNDATA blocks: the blocks that are refused without reading past
// them, hit testing, the form GetRegionData reports, and the window taking
// ownership of its region.
#include <cstring>
#include <limits>

#include "LayerTestSupport.h"

namespace {

class Regions : public LayerTest {};

// An L, 40 by 30: a bar along the top and one down the left, in banded form.
const std::vector<RECT> ell = {RECT{0, 0, 40, 10}, RECT{0, 10, 20, 30}};

bool inEll(int x, int y) { return (x >= 0 && x < 20 && y >= 0 && y < 30) || (x >= 20 && x < 40 && y >= 0 && y < 10); }

struct PointCase {
    int x, y;
    bool inside;
};

TEST_F(Regions, PtInRegionIncludesTheLeftAndTopEdgesOnly) {
    HRGN region = regionOf(ell);
    ASSERT_TRUE(region);
    const PointCase cases[] = {{0, 0, true},   {19, 29, true}, {20, 29, false}, {19, 30, false}, {20, 0, true},
                               {39, 9, true},  {40, 9, false}, {39, 10, false}, {30, 20, false}, {-1, 0, false},
                               {0, -1, false}, {10, 15, true}, {40, 0, false},  {20, 10, false}, {19, 10, true}};
    for (const PointCase& c : cases)
        EXPECT_EQ(bool(PtInRegion(region, c.x, c.y)), c.inside) << "(" << c.x << ", " << c.y << ")";
}

TEST_F(Regions, ATranslationMovesEveryRectangle) {
    std::vector<uint8_t> block = regionBlock(ell);
    XFORM shift{1.0f, 0.0f, 0.0f, 1.0f, 5.0f, -3.0f};
    HRGN region = ExtCreateRegion(&shift, DWORD(block.size()), reinterpret_cast<const RGNDATA*>(block.data()));
    ASSERT_TRUE(region);
    for (int y = -5; y < 35; ++y)
        for (int x = -2; x < 48; ++x)
            ASSERT_EQ(bool(PtInRegion(region, x, y)), inEll(x - 5, y + 3)) << "(" << x << ", " << y << ")";
}

TEST_F(Regions, ATranslationBeyondThirtyTwoBitCoordinatesGivesNoRegion) {
    std::vector<uint8_t> block = regionBlock(ell);
    const float shifts[] = {3.0e9f, -3.0e9f, std::numeric_limits<float>::infinity(),
                            std::numeric_limits<float>::quiet_NaN()};
    for (float dx : shifts) {
        XFORM shift{1.0f, 0.0f, 0.0f, 1.0f, dx, 0.0f};
        EXPECT_EQ(ExtCreateRegion(&shift, DWORD(block.size()), reinterpret_cast<const RGNDATA*>(block.data())), nullptr)
            << "moved by " << dx;
    }
}

struct MalformedCase {
    const char* what;
    void (*spoil)(RGNDATAHEADER& header, std::vector<uint8_t>& bytes);
};

TEST_F(Regions, AMalformedBlockGivesNoRegionAndIsNeverReadPast) {
    const MalformedCase cases[] = {
        {"no bytes", [](RGNDATAHEADER&, std::vector<uint8_t>& b) { b.clear(); }},
        {"header cut short", [](RGNDATAHEADER&, std::vector<uint8_t>& b) { b.resize(sizeof(RGNDATAHEADER) - 1); }},
        {"header only", [](RGNDATAHEADER&, std::vector<uint8_t>& b) { b.resize(sizeof(RGNDATAHEADER)); }},
        {"last rectangle cut short", [](RGNDATAHEADER&, std::vector<uint8_t>& b) { b.pop_back(); }},
        {"header size too large", [](RGNDATAHEADER& h, std::vector<uint8_t>&) { h.dwSize = 40; }},
        {"header size too small", [](RGNDATAHEADER& h, std::vector<uint8_t>&) { h.dwSize = 16; }},
        {"header size 0", [](RGNDATAHEADER& h, std::vector<uint8_t>&) { h.dwSize = 0; }},
        {"type 0", [](RGNDATAHEADER& h, std::vector<uint8_t>&) { h.iType = 0; }},
        {"type 2", [](RGNDATAHEADER& h, std::vector<uint8_t>&) { h.iType = 2; }},
        {"one rectangle more than the block holds", [](RGNDATAHEADER& h, std::vector<uint8_t>&) { h.nCount += 1; }},
        {"rectangle count 0xFFFFFFFF", [](RGNDATAHEADER& h, std::vector<uint8_t>&) { h.nCount = 0xFFFFFFFF; }},
        {"rectangle count whose size wraps to 0",
         [](RGNDATAHEADER& h, std::vector<uint8_t>&) { h.nCount = 0x10000000; }},
        {"rectangle count whose size wraps to a rectangle",
         [](RGNDATAHEADER& h, std::vector<uint8_t>&) { h.nCount = 0x10000001; }},
        {"rectangle count 0x80000000", [](RGNDATAHEADER& h, std::vector<uint8_t>&) { h.nCount = 0x80000000; }},
    };
    std::size_t live = layer::testing::liveObjects();
    for (const MalformedCase& c : cases) {
        SCOPED_TRACE(c.what);
        RGNDATAHEADER header = regionHeader(ell);
        std::vector<uint8_t> bytes = regionBlock(header, ell);
        c.spoil(header, bytes);
        if (bytes.size() >= sizeof header) std::memcpy(bytes.data(), &header, sizeof header);
        TailBuffer block(bytes);
        EXPECT_EQ(ExtCreateRegion(nullptr, DWORD(block.size()), reinterpret_cast<const RGNDATA*>(block.data())),
                  nullptr);
    }
    EXPECT_EQ(ExtCreateRegion(nullptr, 64, nullptr), nullptr) << "no block at all";
    EXPECT_EQ(layer::testing::liveObjects(), live) << "a refused block leaves nothing behind";
}

TEST_F(Regions, ABlockWithNoRectanglesIsAnEmptyRegion) {
    TailBuffer block(regionBlock({}));
    HRGN region = ExtCreateRegion(nullptr, DWORD(block.size()), reinterpret_cast<const RGNDATA*>(block.data()));
    ASSERT_TRUE(region);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_TRUE(regionRects(region).empty());
}

TEST_F(Regions, GetRegionDataAsksForItsSizeAndFillsAnAdequateBuffer) {
    HRGN region = regionOf(ell);
    const DWORD needed = sizeof(RGNDATAHEADER) + 2 * sizeof(RECT);
    EXPECT_EQ(GetRegionData(region, 0, nullptr), int(needed));

    std::vector<uint8_t> small(needed - 1, 0x5A);
    EXPECT_EQ(GetRegionData(region, DWORD(small.size()), reinterpret_cast<RGNDATA*>(small.data())), 0);
    for (std::size_t i = 0; i < small.size(); ++i) ASSERT_EQ(small[i], 0x5A) << "byte " << i << " was written";

    std::vector<uint8_t> roomy(needed + 20, 0);
    EXPECT_EQ(GetRegionData(region, DWORD(roomy.size()), reinterpret_cast<RGNDATA*>(roomy.data())), int(needed))
        << "an adequate buffer is answered with the number of bytes written";
    for (std::size_t i = needed; i < roomy.size(); ++i) ASSERT_EQ(roomy[i], 0) << "byte " << i << " was written";
    RGNDATAHEADER header;
    std::memcpy(&header, roomy.data(), sizeof header);
    EXPECT_EQ(header.dwSize, sizeof(RGNDATAHEADER));
    EXPECT_EQ(header.iType, DWORD(RDH_RECTANGLES));
    EXPECT_EQ(header.nCount, 2u);
    EXPECT_EQ(describeRect(header.rcBound), describeRect(RECT{0, 0, 40, 30}));
}

// Windows keeps a region as bands of equal height, each a row of disjoint
// rectangles sorted left to right, with bands that would repeat the one above
// merged into it. However the rectangles came in, that is what is reported.
::testing::AssertionResult isBanded(const std::vector<RECT>& rects) {
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const RECT& r = rects[i];
        if (r.left >= r.right || r.top >= r.bottom)
            return ::testing::AssertionFailure() << "empty rectangle " << describeRect(r);
        if (i == 0) continue;
        const RECT& p = rects[i - 1];
        bool sameBand = p.top == r.top && p.bottom == r.bottom;
        if (sameBand && p.right >= r.left)
            return ::testing::AssertionFailure()
                   << describeRect(p) << " and " << describeRect(r) << " in one band touch or are out of order";
        if (!sameBand && r.top < p.bottom)
            return ::testing::AssertionFailure() << describeRect(r) << " overlaps the band of " << describeRect(p);
    }
    return ::testing::AssertionSuccess();
}

struct NormalFormCase {
    const char* what;
    std::vector<RECT> given;
    std::vector<RECT> reported;
};

TEST_F(Regions, RectanglesAreReportedInBandsHoweverTheyCameIn) {
    const NormalFormCase cases[] = {
        {"already banded", ell, ell},
        {"an L from two bars that meet at a corner", {RECT{0, 0, 20, 30}, RECT{20, 0, 40, 10}}, ell},
        {"an L from two bars that overlap", {RECT{0, 0, 20, 30}, RECT{0, 0, 40, 10}}, ell},
        {"two halves of one rectangle, one above the other",
         {RECT{0, 0, 10, 5}, RECT{0, 5, 10, 10}},
         {RECT{0, 0, 10, 10}}},
        {"two halves side by side", {RECT{5, 0, 10, 8}, RECT{0, 0, 5, 8}}, {RECT{0, 0, 10, 8}}},
        {"overlapping",
         {RECT{0, 0, 10, 10}, RECT{5, 5, 15, 15}},
         {RECT{0, 0, 10, 5}, RECT{0, 5, 15, 10}, RECT{5, 10, 15, 15}}},
        {"one inside another", {RECT{0, 0, 10, 10}, RECT{2, 2, 4, 4}}, {RECT{0, 0, 10, 10}}},
        {"out of order", {ell[1], ell[0]}, ell},
        {"with empty ones",
         {RECT{0, 0, 0, 10}, RECT{3, 3, 6, 6}, RECT{5, 5, 5, 9}, RECT{8, 8, 2, 2}},
         {RECT{3, 3, 6, 6}}},
        {"two apart in one band", {RECT{8, 0, 10, 2}, RECT{0, 0, 2, 2}}, {RECT{0, 0, 2, 2}, RECT{8, 0, 10, 2}}},
    };
    for (const NormalFormCase& c : cases) {
        SCOPED_TRACE(c.what);
        HRGN region = regionOf(c.given);
        std::vector<RECT> reported = regionRects(region);
        EXPECT_TRUE(isBanded(reported));
        std::string got, wanted;
        for (const RECT& r : reported) got += describeRect(r) + " ";
        for (const RECT& r : c.reported) wanted += describeRect(r) + " ";
        EXPECT_EQ(got, wanted);
        for (int y = -1; y < 32; ++y)
            for (int x = -1; x < 42; ++x) {
                bool inGiven = false;
                for (const RECT& r : c.given) inGiven |= x >= r.left && x < r.right && y >= r.top && y < r.bottom;
                ASSERT_EQ(bool(PtInRegion(region, x, y)), inGiven) << "(" << x << ", " << y << ")";
            }
    }
}

// Handles that name no region.
TEST_F(Regions, EveryCallFailsCleanlyOnAHandleThatNamesNoRegion) {
    HRGN deleted = regionOf(ell);
    ASSERT_TRUE(DeleteObject(deleted));
    Dib dib = makeDib(2, 2);
    const std::pair<const char*, HRGN> bad[] = {{"null", nullptr},
                                                {"deleted", deleted},
                                                {"a bitmap", reinterpret_cast<HRGN>(dib.handle)},
                                                {"never handed out", reinterpret_cast<HRGN>(uintptr_t{0x5EED1234})}};
    for (auto [what, region] : bad) {
        SCOPED_TRACE(what);
        EXPECT_FALSE(PtInRegion(region, 0, 0));
        EXPECT_EQ(GetRegionData(region, 0, nullptr), 0);
        std::vector<uint8_t> buffer(256);
        EXPECT_EQ(GetRegionData(region, DWORD(buffer.size()), reinterpret_cast<RGNDATA*>(buffer.data())), 0);
    }
    EXPECT_FALSE(DeleteObject(deleted));
}

class WindowRegion : public LayerTest {
protected:
    void SetUp() override {
        LayerTest::SetUp();
        registerTestClass();
        window = createTestWindow(100, 50, 40, 30);
    }
    HWND window = nullptr;
};

TEST_F(WindowRegion, TheWindowTakesTheRegionAndTheCallersHandleDies) {
    HRGN region = regionOf(ell);
    ASSERT_NE(SetWindowRgn(window, region, TRUE), 0);
    EXPECT_FALSE(DeleteObject(region)) << "the region is the window's now";
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_EQ(SetWindowRgn(window, region, TRUE), 0) << "nor can it be given again";

    HRGN copy = regionOf({RECT{0, 0, 1, 1}});
    EXPECT_EQ(GetWindowRgn(window, copy), COMPLEXREGION);
    for (int y = -1; y < 31; ++y)
        for (int x = -1; x < 41; ++x)
            ASSERT_EQ(bool(PtInRegion(copy, x, y)), inEll(x, y))
                << "copy of the window's region at (" << x << ", " << y << ")";
    EXPECT_TRUE(DeleteObject(copy)) << "the copy stays the caller's";
}

TEST_F(WindowRegion, AFailedSetWindowRgnLeavesTheRegionWithTheCaller) {
    HWND gone = createTestWindow(0, 0, 10, 10);
    ASSERT_TRUE(DestroyWindow(gone));
    HRGN region = regionOf(ell);
    for (HWND bad : {HWND(nullptr), gone, reinterpret_cast<HWND>(region)})
        EXPECT_EQ(SetWindowRgn(bad, region, TRUE), 0);
    EXPECT_TRUE(PtInRegion(region, 0, 0));
    EXPECT_TRUE(DeleteObject(region));
}

TEST_F(WindowRegion, GetWindowRgnTellsTheKindOfRegion) {
    struct KindCase {
        const char* what;
        std::vector<RECT> rects;
        int kind;
    };
    const KindCase cases[] = {{"one rectangle", {RECT{0, 0, 40, 30}}, SIMPLEREGION},
                              {"an L", ell, COMPLEXREGION},
                              {"two halves of one rectangle", {RECT{0, 0, 40, 15}, RECT{0, 15, 40, 30}}, SIMPLEREGION},
                              {"nothing", {}, NULLREGION}};
    for (const KindCase& c : cases) {
        SCOPED_TRACE(c.what);
        HRGN target = regionOf({RECT{0, 0, 1, 1}});
        ASSERT_NE(SetWindowRgn(window, regionOf(c.rects), FALSE), 0);
        EXPECT_EQ(GetWindowRgn(window, target), c.kind);
    }
    ASSERT_NE(SetWindowRgn(window, nullptr, TRUE), 0) << "a null region gives the window its whole rectangle back";
    EXPECT_EQ(GetWindowRgn(window, regionOf({RECT{0, 0, 1, 1}})), ERROR);
}

}  // namespace
