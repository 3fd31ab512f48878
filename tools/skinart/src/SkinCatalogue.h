#pragma once

#include "Image.h"

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

    SkinCatalogue();

    const std::vector<Bitmap>& bitmaps() const { return bitmaps_; }
    // Throws std::out_of_range for a name not in the catalogue.
    const Image& image(const std::string& fileName) const;

    // The encoded files, bitmaps first, region last.
    std::vector<File> files() const;
    void writeTo(const std::filesystem::path& directory) const;

private:
    std::vector<Bitmap> bitmaps_;
};
