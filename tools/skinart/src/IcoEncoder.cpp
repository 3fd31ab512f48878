#include "IcoEncoder.h"

#include "ByteWriter.h"
#include "PngEncoder.h"

#include <stdexcept>

namespace {

constexpr std::uint16_t kIconType = 1;

// 1 bit per pixel, rows padded to 32 bits.
int maskStride(int width) { return ((width + 31) / 32) * 4; }

std::vector<std::uint8_t> dibData(const RgbaImage& image) {
    ByteWriter out;
    out.u32le(IcoEncoder::kInfoHeaderSize);
    out.i32le(image.width());
    out.i32le(image.height() * 2);  // the colour rows and the mask rows
    out.u16le(1);                   // planes
    out.u16le(32);                  // bits per pixel
    out.u32le(0);                   // BI_RGB
    out.u32le(static_cast<std::uint32_t>(image.width() * image.height() * 4));
    out.i32le(0);
    out.i32le(0);
    out.u32le(0);
    out.u32le(0);
    for (int y = image.height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.width(); ++x) {
            const Rgb c = image.at(x, y);
            out.u8(c.b);
            out.u8(c.g);
            out.u8(c.r);
            out.u8(image.alpha(x, y));
        }
    }
    // The AND mask: set where the pixel is wholly transparent, for readers
    // that ignore the alpha channel.
    for (int y = image.height() - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(static_cast<std::size_t>(maskStride(image.width())), 0);
        for (int x = 0; x < image.width(); ++x) {
            if (image.alpha(x, y) == 0) {
                row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
        out.append(row);
    }
    return out.take();
}

}  // namespace

std::vector<std::uint8_t> IcoEncoder::imageData(const RgbaImage& image) {
    if (image.width() != image.height() || image.width() > kPngFromSize) {
        throw std::invalid_argument("an icon image must be square and at most 256 pixels");
    }
    return image.width() >= kPngFromSize ? PngEncoder::encode(image) : dibData(image);
}

std::vector<std::uint8_t> IcoEncoder::encode(const std::vector<RgbaImage>& images) {
    std::vector<std::vector<std::uint8_t>> data;
    for (const RgbaImage& image : images) {
        data.push_back(imageData(image));
    }
    ByteWriter out;
    out.u16le(0);  // reserved
    out.u16le(kIconType);
    out.u16le(static_cast<std::uint16_t>(images.size()));
    auto offset = static_cast<std::uint32_t>(kDirectoryHeaderSize + kDirectoryEntrySize * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const int size = images[i].width();
        out.u8(static_cast<std::uint8_t>(size == 256 ? 0 : size));  // 0 means 256
        out.u8(static_cast<std::uint8_t>(size == 256 ? 0 : size));
        out.u8(0);      // no palette
        out.u8(0);      // reserved
        out.u16le(1);   // planes
        out.u16le(32);  // bits per pixel
        out.u32le(static_cast<std::uint32_t>(data[i].size()));
        out.u32le(offset);
        offset += static_cast<std::uint32_t>(data[i].size());
    }
    for (const auto& bytes : data) {
        out.append(bytes);
    }
    return out.take();
}
