// The set of files: identifiers, names, sizes that match the layout, and
// output that is the same on every run.

#include "BmpEncoder.h"
#include "SkinCatalogue.h"
#include "SkinLayout.h"
#include "TestHarness.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

struct Expected {
    int id;
    const char* name;
    int width;
    int height;
};

const SkinCatalogue& skin() {
    static const SkinCatalogue catalogue;
    return catalogue;
}

}  // namespace

SKINART_TEST(catalogueHasEveryBitmapAtItsLayoutSize) {
    using namespace SkinLayout;
    const Expected expected[] = {
        {135, "anim0.bmp", kAnimationBar.width(), kAnimationBar.height()},
        {136, "anim1.bmp", 7, 61},
        {137, "anim2.bmp", 7, 61},
        {138, "anim3.bmp", 7, 61},
        {139, "down.bmp", kDownArrow.width(), kDownArrow.height()},
        {140, "down_pressed.bmp", 7, 7},
        {141, "close.bmp", kClose.width(), kClose.height()},
        {142, "close_pressed.bmp", 14, 15},
        {143, "info.bmp", kInfo.width(), kInfo.height()},
        {145, "info_pressed.bmp", 14, 9},
        {148, "background.bmp", 326, 272},
        {149, "minimise.bmp", kMinimise.width(), kMinimise.height()},
        {150, "minimise_pressed.bmp", 13, 15},
        {151, "pause.bmp", kPause.width(), kPause.height()},
        {152, "pause_pressed.bmp", 11, 11},
        {153, "play.bmp", kPlay.width(), kPlay.height()},
        {154, "play_pressed.bmp", 11, 11},
        {155, "record.bmp", kRecord.width(), kRecord.height()},
        {156, "record_pressed.bmp", 11, 11},
        {157, "thumb_pressed.bmp", kScrollTrack.width(), kScrollThumbHeight},
        {158, "thumb.bmp", 7, 24},
        {159, "stop.bmp", kStop.width(), kStop.height()},
        {160, "stop_pressed.bmp", 11, 11},
        {161, "up.bmp", kUpArrow.width(), kUpArrow.height()},
        {162, "up_pressed.bmp", 7, 7},
        {163, "volume_thumb.bmp", kVolumeTrack.width(), kVolumeThumbHeight},
    };
    const auto& bitmaps = skin().bitmaps();
    CHECK_EQ(bitmaps.size(), std::size(expected));
    for (std::size_t i = 0; i < std::min(bitmaps.size(), std::size(expected)); ++i) {
        const auto& b = bitmaps[i];
        const Expected& e = expected[i];
        if (b.id != e.id || b.fileName != e.name || b.image.width() != e.width || b.image.height() != e.height) {
            TestHarness::fail(b.fileName + " (" + std::to_string(b.id) + ", " + std::to_string(b.image.width()) + "x" +
                                  std::to_string(b.image.height()) + ") expected " + e.name,
                              __FILE__, __LINE__);
        }
    }
}

SKINART_TEST(filesAreCompleteBmpsTheRegionAndTheIcons) {
    const auto files = skin().files();
    const std::size_t bitmaps = skin().bitmaps().size();
    CHECK_EQ(files.size(), bitmaps + 2 + std::size(SkinCatalogue::kPngIconSizes));
    for (std::size_t i = 0; i < bitmaps; ++i) {
        const Image& image = skin().bitmaps()[i].image;
        const std::size_t expected = 54 + static_cast<std::size_t>(BmpEncoder::stride(image.width()) * image.height());
        CHECK_EQ(files[i].bytes.size(), expected);
    }
    CHECK(files[bitmaps].fileName == "region.bin");
    CHECK_EQ(files[bitmaps].bytes.size(), 1056U);
    CHECK(files[bitmaps + 1].fileName == "brisko.ico");
    CHECK_EQ(files[bitmaps + 1].bytes[4], std::size(SkinCatalogue::kIcoSizes));
    for (std::size_t i = 0; i < std::size(SkinCatalogue::kPngIconSizes); ++i) {
        const auto& png = files[bitmaps + 2 + i];
        const int size = SkinCatalogue::kPngIconSizes[i];
        CHECK(png.fileName == "icon-" + std::to_string(size) + ".png");
        CHECK(png.bytes[1] == 'P' && png.bytes[18] * 256 + png.bytes[19] == size);  // the width
    }
}

SKINART_TEST(outputIsTheSameOnEveryRun) {
    const SkinCatalogue again;
    const auto first = skin().files();
    const auto second = again.files();
    CHECK_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < std::min(first.size(), second.size()); ++i) {
        if (first[i].fileName != second[i].fileName || first[i].bytes != second[i].bytes) {
            TestHarness::fail(first[i].fileName + " differs between two runs", __FILE__, __LINE__);
        }
    }
}

SKINART_TEST(writeToStoresEveryFileByteForByte) {
    const auto dir = std::filesystem::temp_directory_path() / "skinart-write-test";
    std::filesystem::remove_all(dir);
    skin().writeTo(dir);
    for (const auto& f : skin().files()) {
        std::ifstream in(dir / f.fileName, std::ios::binary);
        const std::vector<std::uint8_t> onDisk((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (onDisk != f.bytes) {
            TestHarness::fail(f.fileName + " on disk differs from the encoded bytes", __FILE__, __LINE__);
        }
    }
    std::filesystem::remove_all(dir);
}
