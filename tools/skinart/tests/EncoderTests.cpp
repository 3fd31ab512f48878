// The file formats: BMP headers and pixel order, PNG checksums and the
// stored-block zlib stream, the RGNDATA layout.

#include "BmpEncoder.h"
#include "Inflater.h"
#include "PngEncoder.h"
#include "TestHarness.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace {

std::uint32_t u32le(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

std::uint16_t u16le(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::uint32_t u32be(const std::vector<std::uint8_t>& b, std::size_t at) {
    return (static_cast<std::uint32_t>(b[at]) << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3];
}

std::vector<std::uint8_t> bytesOf(std::string_view text) { return std::vector<std::uint8_t>(text.begin(), text.end()); }

// An image where every pixel's colour encodes its position.
Image positionCoded(int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.set(
                x, y,
                Rgb{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), static_cast<std::uint8_t>(x * 7 + y)});
        }
    }
    return image;
}

}  // namespace

SKINART_TEST(bmpHeadersDescribeA24BitBottomUpImage) {
    const auto bmp = BmpEncoder::encode(positionCoded(7, 5));
    const std::uint32_t stride = 24;  // 7 * 3 = 21 bytes, padded to 24
    CHECK(bmp[0] == 'B' && bmp[1] == 'M');
    CHECK_EQ(u32le(bmp, 2), 54 + stride * 5);
    CHECK_EQ(bmp.size(), 54 + stride * 5);
    CHECK_EQ(u32le(bmp, 6), 0U);
    CHECK_EQ(u32le(bmp, 10), 54U);
    CHECK_EQ(u32le(bmp, 14), 40U);
    CHECK_EQ(u32le(bmp, 18), 7U);
    CHECK_EQ(u32le(bmp, 22), 5U);  // positive height: bottom-up
    CHECK_EQ(u16le(bmp, 26), 1);
    CHECK_EQ(u16le(bmp, 28), 24);
    CHECK_EQ(u32le(bmp, 30), 0U);
    CHECK_EQ(u32le(bmp, 34), stride * 5);
    CHECK_EQ(u32le(bmp, 38), 2835U);
    CHECK_EQ(u32le(bmp, 42), 2835U);
    CHECK_EQ(u32le(bmp, 46), 0U);
    CHECK_EQ(u32le(bmp, 50), 0U);
}

SKINART_TEST(bmpPixelsAreBgrBottomRowFirstWithZeroPadding) {
    const Image image = positionCoded(7, 5);
    const auto bmp = BmpEncoder::encode(image);
    for (int fileRow = 0; fileRow < 5; ++fileRow) {
        const int y = 4 - fileRow;
        const std::size_t row = 54 + static_cast<std::size_t>(fileRow) * 24;
        for (int x = 0; x < 7; ++x) {
            const Rgb c = image.at(x, y);
            const std::size_t at = row + static_cast<std::size_t>(x) * 3;
            if (bmp[at] != c.b || bmp[at + 1] != c.g || bmp[at + 2] != c.r) {
                TestHarness::fail("pixel (" + std::to_string(x) + "," + std::to_string(y) + ") stored wrongly",
                                  __FILE__, __LINE__);
            }
        }
        CHECK(bmp[row + 21] == 0 && bmp[row + 22] == 0 && bmp[row + 23] == 0);
    }
}

SKINART_TEST(bmpStrideMatchesTheDibRule) {
    CHECK_EQ(BmpEncoder::stride(326), 980);
    CHECK_EQ(BmpEncoder::stride(7), 24);
    CHECK_EQ(BmpEncoder::stride(8), 24);
    CHECK_EQ(BmpEncoder::stride(9), 28);
    CHECK_EQ(BmpEncoder::stride(14), 44);
}

SKINART_TEST(checksumsMatchPublishedCheckValues) {
    CHECK_EQ(PngEncoder::crc32(bytesOf("123456789")), 0xCBF43926U);
    CHECK_EQ(PngEncoder::crc32(bytesOf("IEND")), 0xAE426082U);
    CHECK_EQ(PngEncoder::adler32(bytesOf("Wikipedia")), 0x11E60398U);
    CHECK_EQ(PngEncoder::adler32({}), 1U);
}

SKINART_TEST(pngStoredBlocksReassembleToTheScanlines) {
    // 200 x 120 x 3 + 120 filter bytes is more than one 65535-byte stored block.
    const Image image = positionCoded(200, 120);
    const auto png = PngEncoder::encode(image);
    CHECK(png.size() > 8 + 25 + 12);
    CHECK_EQ(u32be(png, 8), 13U);
    CHECK_EQ(u32be(png, 16), 200U);
    CHECK_EQ(u32be(png, 20), 120U);
    CHECK(png[24] == 8 && png[25] == 2);

    const std::size_t idat = 8 + 12 + 13;
    const std::uint32_t idatLength = u32be(png, idat);
    CHECK(std::string_view(reinterpret_cast<const char*>(&png[idat + 4]), 4) == "IDAT");
    const std::vector<std::uint8_t> chunkBody(png.begin() + static_cast<long>(idat + 4),
                                              png.begin() + static_cast<long>(idat + 8 + idatLength));
    CHECK_EQ(u32be(png, idat + 8 + idatLength), PngEncoder::crc32(chunkBody));

    std::vector<std::uint8_t> raw;
    std::size_t at = idat + 8 + 2;  // past the zlib header
    int blocks = 0;
    bool last = false;
    while (!last) {
        last = png[at] & 1;
        CHECK_EQ(png[at] >> 1, 0);  // stored
        const std::uint16_t length = u16le(png, at + 1);
        CHECK_EQ(static_cast<std::uint16_t>(~u16le(png, at + 3)), length);
        raw.insert(raw.end(), png.begin() + static_cast<long>(at + 5),
                   png.begin() + static_cast<long>(at + 5 + length));
        at += 5 + length;
        ++blocks;
    }
    CHECK(blocks >= 2);
    CHECK_EQ(raw.size(), static_cast<std::size_t>(120 * (200 * 3 + 1)));
    CHECK_EQ(u32be(png, at), PngEncoder::adler32(raw));
    // Row 37 starts with filter byte 0, then pixel (0, 37), then (1, 37).
    const std::size_t row = 37 * (200 * 3 + 1);
    CHECK(raw[row] == 0 && raw[row + 1] == 0 && raw[row + 2] == 37 && raw[row + 4] == 1);
}

SKINART_TEST(rgbaPngCarriesTheAlphaOfEveryPixelCompressed) {
    RgbaImage image(3, 2);
    image.set(0, 0, Rgb{10, 20, 30}, 255);
    image.set(2, 1, Rgb{40, 50, 60}, 128);
    const auto png = PngEncoder::encode(image);
    CHECK(png[24] == 8 && png[25] == 6);  // 8 bits, truecolour with alpha
    const std::size_t idat = 8 + 12 + 13;
    const std::uint32_t length = u32be(png, idat);
    CHECK(std::string_view(reinterpret_cast<const char*>(&png[idat + 4]), 4) == "IDAT");
    CHECK(png[idat + 8] == 0x78 && png[idat + 9] == 0x01);
    const std::vector<std::uint8_t> rows = Inflater::inflate(std::span(png).subspan(idat + 10, length - 2 - 4));
    const std::vector<std::uint8_t> expected = {0, 10, 20, 30, 255, 0, 0, 0, 0, 0,  0,  0,  0,
                                                0, 0,  0,  0,  0,   0, 0, 0, 0, 40, 50, 60, 128};
    CHECK(rows == expected);
    CHECK_EQ(u32be(png, idat + 8 + length - 4), PngEncoder::adler32(expected));
}
