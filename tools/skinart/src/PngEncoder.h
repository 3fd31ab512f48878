#pragma once

#include "Image.h"

#include <cstdint>
#include <span>
#include <vector>

// Writes an 8-bit RGB PNG using stored (uncompressed) deflate blocks. Only
// used for previews, so size does not matter and no compressor is needed.
class PngEncoder {
public:
    static std::vector<std::uint8_t> encode(const Image& image);

    // The checksums the format requires, exposed so they can be tested alone.
    static std::uint32_t crc32(std::span<const std::uint8_t> data);
    static std::uint32_t adler32(std::span<const std::uint8_t> data);
};
