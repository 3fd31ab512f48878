#pragma once

#include "Image.h"

#include <cstdint>
#include <vector>

// Writes a complete 24-bit bottom-up BI_RGB .bmp file (file header, info
// header, no palette), the form the resource compiler turns into BITMAP resources.
class BmpEncoder {
public:
    static constexpr int kFileHeaderSize = 14;
    static constexpr int kInfoHeaderSize = 40;

    static std::vector<std::uint8_t> encode(const Image& image);
    // Bytes per pixel row: 3 per pixel, padded to a multiple of 4.
    static int stride(int width) { return ((width * 24 + 31) / 32) * 4; }
};
