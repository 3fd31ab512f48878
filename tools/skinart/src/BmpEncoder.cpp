#include "BmpEncoder.h"

#include "ByteWriter.h"

namespace {

// 72 dpi, the value paint programs write; the program never reads it.
constexpr std::int32_t kPixelsPerMetre = 2835;

void writeHeaders(ByteWriter& out, const Image& image, std::uint32_t imageSize) {
    const std::uint32_t offset = BmpEncoder::kFileHeaderSize + BmpEncoder::kInfoHeaderSize;
    out.u8('B');
    out.u8('M');
    out.u32le(offset + imageSize);
    out.u16le(0);
    out.u16le(0);
    out.u32le(offset);

    out.u32le(BmpEncoder::kInfoHeaderSize);
    out.i32le(image.width());
    out.i32le(image.height());  // positive: rows are stored bottom-up
    out.u16le(1);               // planes
    out.u16le(24);              // bits per pixel
    out.u32le(0);               // BI_RGB
    out.u32le(imageSize);
    out.i32le(kPixelsPerMetre);
    out.i32le(kPixelsPerMetre);
    out.u32le(0);  // colours used
    out.u32le(0);  // colours important
}

void writeRow(ByteWriter& out, const Image& image, int y) {
    for (int x = 0; x < image.width(); ++x) {
        const Rgb c = image.at(x, y);
        out.u8(c.b);
        out.u8(c.g);
        out.u8(c.r);
    }
    for (int pad = image.width() * 3; pad < BmpEncoder::stride(image.width()); ++pad) {
        out.u8(0);
    }
}

}  // namespace

std::vector<std::uint8_t> BmpEncoder::encode(const Image& image) {
    const auto imageSize = static_cast<std::uint32_t>(stride(image.width()) * image.height());
    ByteWriter out;
    writeHeaders(out, image, imageSize);
    for (int y = image.height() - 1; y >= 0; --y) {
        writeRow(out, image, y);
    }
    return out.take();
}
