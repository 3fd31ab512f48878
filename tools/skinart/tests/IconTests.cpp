// The icon: drawn from the window along its region, and stored in the .ico
// layout Windows reads.

#include "IcoEncoder.h"
#include "IconArt.h"
#include "SkinCatalogue.h"
#include "TestHarness.h"
#include "WindowRegion.h"

#include <cstdint>
#include <vector>

namespace {

std::uint32_t u32le(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

std::uint16_t u16le(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

// A window-sized picture where each pixel's colour encodes its position.
Image positionCodedWindow() {
    const Rect bounds = WindowRegion::skin().bounds();
    Image window(bounds.right, bounds.bottom);
    for (int y = 0; y < window.height(); ++y) {
        for (int x = 0; x < window.width(); ++x) {
            window.set(x, y, Rgb{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 7});
        }
    }
    return window;
}

int channelAverage(const Image& window, const std::vector<std::pair<int, int>>& pixels, std::uint8_t Rgb::*channel) {
    int sum = 0;
    for (auto [x, y] : pixels) {
        sum += window.at(x, y).*channel;
    }
    const int count = static_cast<int>(pixels.size());
    return (sum + count / 2) / count;
}

}  // namespace

SKINART_TEST(iconPixelAveragesTheWindowPixelsItCovers) {
    const Image window = positionCodedWindow();
    // Well inside the body: a 4 x 4 block into one opaque pixel.
    const RgbaImage inside = IconArt::icon(window, WindowRegion::skin(), Rect{100, 100, 104, 104}, 1);
    CHECK_EQ(int(inside.alpha(0, 0)), 255);
    CHECK_EQ(int(inside.at(0, 0).r), 102);  // (100 + 101 + 102 + 103) / 4, rounded
    CHECK_EQ(int(inside.at(0, 0).g), 102);
}

SKINART_TEST(iconEdgeIsAsOpaqueAsTheRegionCoversIt) {
    // Rows 34-37 at the top-left corner of the body: row 34 has nothing
    // there, row 35 starts at x 33, row 36 at 31, row 37 at 30.
    const Image window = positionCodedWindow();
    const RgbaImage corner = IconArt::icon(window, WindowRegion::skin(), Rect{31, 34, 35, 38}, 1);
    const std::vector<std::pair<int, int>> covered = {{33, 35}, {34, 35}, {31, 36}, {32, 36}, {33, 36},
                                                      {34, 36}, {31, 37}, {32, 37}, {33, 37}, {34, 37}};
    CHECK_EQ(int(corner.alpha(0, 0)), (10 * 255 + 8) / 16);
    CHECK_EQ(int(corner.at(0, 0).r), channelAverage(window, covered, &Rgb::r));
    CHECK_EQ(int(corner.at(0, 0).g), channelAverage(window, covered, &Rgb::g));
}

SKINART_TEST(iconKeepsTheAreaProportionsWithClearMargins) {
    // A 4 x 2 area into a 2 x 2 icon: one window row above and below the
    // area fall in the icon, and count as transparent.
    const Image window = positionCodedWindow();
    const RgbaImage wide = IconArt::icon(window, WindowRegion::skin(), Rect{100, 100, 104, 102}, 2);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 2; ++x) {
            CHECK_EQ(int(wide.alpha(x, y)), 128);  // half of each icon pixel
        }
    }
    CHECK_EQ(int(wide.at(0, 0).g), 100);
    CHECK_EQ(int(wide.at(0, 1).g), 101);
    CHECK_EQ(int(wide.at(1, 0).r), 103);  // (102 + 103 + 102 + 103) / 4 rounds up
}

SKINART_TEST(iconsAreClearAboveTheHandleAndOpaqueOnTheDisplay) {
    const SkinCatalogue skin;
    for (int size : SkinCatalogue::kPngIconSizes) {
        const RgbaImage icon = skin.icon(size);
        CHECK_EQ(icon.width(), size);
        CHECK_EQ(int(icon.alpha(0, 0)), 0);
        CHECK_EQ(int(icon.alpha(size / 2, size / 2)), 255);
    }
}

SKINART_TEST(icoDirectoryListsEachImageWhereItIs) {
    std::vector<RgbaImage> images;
    for (int size : {16, 48, 256}) {
        images.emplace_back(size, size);
    }
    const auto ico = IcoEncoder::encode(images);
    CHECK_EQ(u16le(ico, 0), 0);
    CHECK_EQ(u16le(ico, 2), 1);  // icon, not cursor
    CHECK_EQ(u16le(ico, 4), 3);
    std::uint32_t next = 6 + 3 * 16;
    for (std::size_t i = 0; i < images.size(); ++i) {
        const std::size_t entry = 6 + i * 16;
        const int size = images[i].width();
        CHECK_EQ(int(ico[entry]), size % 256);  // 256 is written as 0
        CHECK_EQ(int(ico[entry + 1]), size % 256);
        CHECK_EQ(u16le(ico, entry + 4), 1);
        CHECK_EQ(u16le(ico, entry + 6), 32);
        CHECK_EQ(u32le(ico, entry + 12), next);
        const auto data = IcoEncoder::imageData(images[i]);
        CHECK_EQ(u32le(ico, entry + 8), data.size());
        CHECK(std::equal(data.begin(), data.end(), ico.begin() + next));
        next += static_cast<std::uint32_t>(data.size());
    }
    CHECK_EQ(ico.size(), next);
    // The 256-pixel image is a PNG.
    CHECK(ico[u32le(ico, 6 + 2 * 16 + 12) + 1] == 'P');
}

SKINART_TEST(icoDibHasBgraRowsBottomUpAndAMaskOfClearPixels) {
    RgbaImage image(2, 2);
    image.set(0, 0, Rgb{1, 2, 3}, 255);  // top left
    image.set(1, 0, Rgb{4, 5, 6}, 0);
    image.set(0, 1, Rgb{7, 8, 9}, 100);
    image.set(1, 1, Rgb{10, 11, 12}, 0);
    const auto dib = IcoEncoder::imageData(image);
    CHECK_EQ(u32le(dib, 0), 40U);
    CHECK_EQ(u32le(dib, 8), 4U);  // twice the height: colours and mask
    CHECK_EQ(u16le(dib, 14), 32);
    const std::vector<std::uint8_t> pixels(dib.begin() + 40, dib.begin() + 56);
    const std::vector<std::uint8_t> bottomFirst = {9, 8, 7, 100, 12, 11, 10, 0, 3, 2, 1, 255, 6, 5, 4, 0};
    CHECK(pixels == bottomFirst);
    CHECK_EQ(dib.size(), 56U + 2U * 4U);
    CHECK_EQ(int(dib[56]), 0x40);  // bottom row: the right pixel is clear
    CHECK_EQ(int(dib[60]), 0x40);  // top row: the right pixel is clear
}
