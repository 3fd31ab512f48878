#include "fonts/SurfaceWriter.h"

#include "DumpOnFailure.h"
#include "TestCanvas.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

namespace layer {
namespace {

using test::DumpOnFailure;
using test::TestCanvas;

constexpr uint32_t kBlack = 0x00000000;
constexpr uint32_t kWhite = 0x00FFFFFF;

TEST(SurfaceWriterMix, MatchesExactBlendRoundedToNearest) {
    // No tie can occur (the fraction is k/255), so rounding the exact value is
    // unambiguous; check every combination.
    for (int dst = 0; dst < 256; ++dst) {
        for (int src = 0; src < 256; ++src) {
            for (int coverage = 0; coverage < 256; ++coverage) {
                const double exact = dst + (src - dst) * coverage / 255.0;
                const int expected = static_cast<int>(std::floor(exact + 0.5));
                const int got = SurfaceWriter::mix(static_cast<uint8_t>(dst), static_cast<uint8_t>(src),
                                                   static_cast<uint8_t>(coverage));
                if (got != expected) {
                    FAIL() << "mix(" << dst << ", " << src << ", " << coverage << ") = " << got << ", want "
                           << expected;
                }
            }
        }
    }
}

TEST(SurfaceWriterMix, KnownValues) {
    struct Case {
        int dst, src, coverage, expected;
    };
    const Case cases[] = {
        {0, 255, 0, 0},  {0, 255, 255, 255}, {200, 13, 255, 13}, {13, 200, 0, 13},    {0, 255, 128, 128},
        {0, 13, 128, 7}, {0, 13, 127, 6},    {255, 0, 1, 254},   {10, 200, 127, 105}, {200, 10, 127, 105},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SurfaceWriter::mix(static_cast<uint8_t>(c.dst), static_cast<uint8_t>(c.src),
                                     static_cast<uint8_t>(c.coverage)),
                  c.expected)
            << c.dst << " " << c.src << " " << c.coverage;
    }
}

TEST(SurfaceWriter, StoresColourRefAsBlueGreenRedBytes) {
    TestCanvas canvas(4, 2, kBlack);
    SurfaceWriter(canvas.surface(), canvas.everything()).fill(PixelRect{1, 1, 2, 2}, Rgb::fromColourRef(0x00112233));
    const uint8_t* bytes = canvas.surface().bits + canvas.surface().stride + 3;
    EXPECT_EQ(bytes[0], 0x11);  // blue
    EXPECT_EQ(bytes[1], 0x22);  // green
    EXPECT_EQ(bytes[2], 0x33);  // red
    EXPECT_EQ(canvas.pixel(1, 1), 0x00112233u);
    EXPECT_EQ(canvas.countOther(kBlack), 1);
}

TEST(SurfaceWriter, BottomUpSurfaceStoresRowZeroLast) {
    TestCanvas canvas(3, 4, kBlack, true);
    SurfaceWriter(canvas.surface(), canvas.everything()).fill(PixelRect{0, 0, 1, 1}, Rgb::fromColourRef(kWhite));
    const TextSurface& s = canvas.surface();
    const uint8_t* lastRowInMemory = s.bits + 3 * s.stride;
    EXPECT_EQ(lastRowInMemory[0], 0xFF);
    EXPECT_EQ(s.bits[0], 0x00);
    EXPECT_EQ(canvas.pixel(0, 0), kWhite);
}

struct FillCase {
    PixelRect rect;
    TextClip clip;
    PixelRect expected;  // what ends up painted
};

TEST(SurfaceWriter, FillPaintsExactlyRectInsideClipAndSurface) {
    const int w = 12, h = 9;
    const TextClip all{0, 0, w, h};
    const FillCase cases[] = {
        {{2, 3, 5, 7}, all, {2, 3, 5, 7}},
        {{-4, -4, 3, 2}, all, {0, 0, 3, 2}},
        {{10, 7, 40, 40}, all, {10, 7, 12, 9}},
        {{INT64_MIN / 4, INT64_MIN / 4, INT64_MAX / 4, INT64_MAX / 4}, all, {0, 0, w, h}},
        {{0, 0, w, h}, {3, 2, 6, 5}, {3, 2, 6, 5}},
        {{0, 0, w, h}, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {0, 0, w, h}},
        {{4, 4, 8, 8}, {6, 0, 100, 5}, {6, 4, 8, 5}},
        {{0, 0, w, h}, {6, 6, 2, 2}, {}},  // inverted clip
        {{5, 5, 5, 9}, all, {}},           // zero-width rect
        {{w, 0, w + 5, h}, all, {}},       // right of the surface
        {{0, -5, w, 0}, all, {}},          // above the surface
    };
    for (const FillCase& c : cases) {
        TestCanvas canvas(w, h, kBlack);
        DumpOnFailure dump(canvas, "fill");
        SurfaceWriter(canvas.surface(), c.clip).fill(c.rect, Rgb::fromColourRef(kWhite));
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const bool inside =
                    x >= c.expected.left && x < c.expected.right && y >= c.expected.top && y < c.expected.bottom;
                ASSERT_EQ(canvas.pixel(x, y), inside ? kWhite : kBlack)
                    << "pixel " << x << "," << y << " rect " << c.rect.left << "," << c.rect.top << "," << c.rect.right
                    << "," << c.rect.bottom;
            }
        }
        EXPECT_TRUE(canvas.guardIntact());
    }
}

TEST(SurfaceWriter, BlendPlacesMaskAndCutsItAtTheEdges) {
    // A 3x2 mask with distinct coverages, blended white over black: each
    // visible pixel shows its own mask value, the faintest included.
    const std::vector<uint8_t> mask{1, 7, 128, 40, 254, 255};
    struct Case {
        int64_t left, top;
    };
    const Case cases[] = {{0, 0}, {4, 2}, {-1, 0}, {-2, -1}, {5, 3}, {-3, 0}, {0, -2}, {6, 0}};
    const int w = 6, h = 4;
    for (const Case& c : cases) {
        TestCanvas canvas(w, h, kBlack);
        DumpOnFailure dump(canvas, "blend");
        SurfaceWriter(canvas.surface(), canvas.everything())
            .blend(mask.data(), 3, 2, c.left, c.top, Rgb::fromColourRef(kWhite));
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const int64_t mx = x - c.left, my = y - c.top;
                const bool covered = mx >= 0 && mx < 3 && my >= 0 && my < 2;
                const uint32_t v = covered ? mask[static_cast<size_t>(my * 3 + mx)] : 0;
                ASSERT_EQ(canvas.pixel(x, y), v | v << 8 | v << 16)
                    << "pixel " << x << "," << y << " mask at " << c.left << "," << c.top;
            }
        }
        EXPECT_TRUE(canvas.guardIntact());
    }
}

TEST(SurfaceWriter, UnusableSurfaceIsNeverWritten) {
    TestCanvas canvas(5, 3, kBlack);
    struct Case {
        bool nullBits;
        int width, height, stride;
    };
    const Case cases[] = {
        {true, 5, 3, 15},   {false, 0, 3, 15}, {false, 5, 0, 15},
        {false, -5, 3, 15}, {false, 5, 3, 14}, {false, 5, 3, -15},
    };
    for (const Case& c : cases) {
        TextSurface s{c.nullBits ? nullptr : canvas.surface().bits, c.width, c.height, c.stride, false};
        SurfaceWriter writer(s, TextClip{0, 0, 5, 3});
        EXPECT_TRUE(writer.empty());
        writer.fill(PixelRect{0, 0, 5, 3}, Rgb::fromColourRef(kWhite));
        const uint8_t full = 255;
        writer.blend(&full, 1, 1, 0, 0, Rgb::fromColourRef(kWhite));
    }
    EXPECT_EQ(canvas.countOther(kBlack), 0);
    EXPECT_TRUE(canvas.guardIntact());
}

}  // namespace
}  // namespace layer
