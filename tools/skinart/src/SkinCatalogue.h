#pragma once

#include "Image.h"
#include "RgbaImage.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Every file the skin consists of, keyed by resource identifier and file name.
class SkinCatalogue {
public:
    struct Bitmap {
        int id;
        std::string fileName;
        Image image;
    };

    struct File {
        std::string fileName;
        std::vector<std::uint8_t> bytes;
    };

    static constexpr int kRegionId = 130;
    static constexpr const char* kRegionFileName = "region.bin";
    // The program's icon for Windows, and the same icon as PNG files for
    // desktop menus, one per size ("icon-<size>.png").
    static constexpr const char* kIconFileName = "brisko.ico";
    static constexpr int kIcoSizes[] = {16, 24, 32, 48, 64, 256};
    static constexpr int kPngIconSizes[] = {16, 32, 48, 64, 128, 256};

    SkinCatalogue();

    const std::vector<Bitmap>& bitmaps() const { return bitmaps_; }
    // Throws std::out_of_range for a name not in the catalogue.
    const Image& image(const std::string& fileName) const;

    // The window as the program shows it at rest: background, every button
    // in its normal state, thumbs at the top of their tracks, animation
    // frame 0. Pixels outside the region are the background's.
    Image windowAtRest() const;

    // The icon at one size, drawn from the window at rest.
    RgbaImage icon(int size) const;

    // The encoded files: bitmaps, the region, the .ico, the PNG icons.
    std::vector<File> files() const;
    void writeTo(const std::filesystem::path& directory) const;

private:
    std::vector<Bitmap> bitmaps_;
};
