#pragma once

#include "RgbaImage.h"

#include <cstdint>
#include <vector>

// Writes a Windows .ico file holding several square sizes of one icon, the
// form the resource compiler takes for an ICON resource. Images below 256
// pixels are stored as 32-bit DIBs with their AND mask, which every version
// of Windows reads; the 256-pixel image is stored as PNG, as Windows expects
// for that size.
class IcoEncoder {
public:
    static constexpr int kDirectoryHeaderSize = 6;
    static constexpr int kDirectoryEntrySize = 16;
    static constexpr int kInfoHeaderSize = 40;
    static constexpr int kPngFromSize = 256;

    // Throws std::invalid_argument for an image that is not square or is
    // larger than 256 pixels.
    static std::vector<std::uint8_t> encode(const std::vector<RgbaImage>& images);

    // One image as the .ico stores it: DIB (header, BGRA rows bottom-up,
    // AND mask) or PNG.
    static std::vector<std::uint8_t> imageData(const RgbaImage& image);
};
