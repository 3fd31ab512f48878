#pragma once

#include "Image.h"
#include "RgbaImage.h"

#include <cstdint>
#include <span>
#include <vector>

// Writes an 8-bit PNG. RGB pictures are previews, never shipped: their
// pixels go in stored (uncompressed) deflate blocks. RGBA pictures are the
// icons the packages carry, so they are compressed (Deflate).
class PngEncoder {
public:
    static std::vector<std::uint8_t> encode(const Image& image);
    static std::vector<std::uint8_t> encode(const RgbaImage& image);

    // The checksums the format requires, exposed so they can be tested alone.
    static std::uint32_t crc32(std::span<const std::uint8_t> data);
    static std::uint32_t adler32(std::span<const std::uint8_t> data);
};
