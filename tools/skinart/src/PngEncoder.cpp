#include "PngEncoder.h"

#include "ByteWriter.h"
#include "Deflate.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

constexpr std::size_t kMaxStoredBlock = 65535;

constexpr std::array<std::uint32_t, 256> makeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1U) ? 0xEDB88320U ^ (c >> 1) : c >> 1;
        }
        table[n] = c;
    }
    return table;
}

constexpr auto kCrcTable = makeCrcTable();

// Filter type 0 (none) in front of every row, as the format requires;
// `pixel` appends one pixel's channels.
template <typename Picture, typename AppendPixel>
std::vector<std::uint8_t> scanlines(const Picture& image, int channels, AppendPixel pixel) {
    std::vector<std::uint8_t> raw;
    raw.reserve(static_cast<std::size_t>((image.width() * channels + 1) * image.height()));
    for (int y = 0; y < image.height(); ++y) {
        raw.push_back(0);
        for (int x = 0; x < image.width(); ++x) {
            pixel(raw, x, y);
        }
    }
    return raw;
}

std::vector<std::uint8_t> zlibStored(std::span<const std::uint8_t> raw) {
    ByteWriter out;
    out.u8(0x78);  // deflate, 32K window
    out.u8(0x01);  // no preset dictionary, header checksum makes 0x7801 divisible by 31
    std::size_t offset = 0;
    do {
        const std::size_t length = std::min(kMaxStoredBlock, raw.size() - offset);
        const bool last = offset + length == raw.size();
        out.u8(last ? 1 : 0);  // BFINAL, BTYPE 00 = stored
        out.u16le(static_cast<std::uint16_t>(length));
        out.u16le(static_cast<std::uint16_t>(~length));
        out.append(raw.subspan(offset, length));
        offset += length;
    } while (offset < raw.size());
    out.u32be(PngEncoder::adler32(raw));
    return out.take();
}

std::vector<std::uint8_t> zlibCompressed(std::span<const std::uint8_t> raw) {
    ByteWriter out;
    out.u8(0x78);
    out.u8(0x01);
    out.append(Deflate::compress(raw));
    out.u32be(PngEncoder::adler32(raw));
    return out.take();
}

void writeChunk(ByteWriter& out, std::string_view type, std::span<const std::uint8_t> data) {
    ByteWriter typed;
    for (char c : type) {
        typed.u8(static_cast<std::uint8_t>(c));
    }
    typed.append(data);
    out.u32be(static_cast<std::uint32_t>(data.size()));
    out.append(typed.bytes());
    out.u32be(PngEncoder::crc32(typed.bytes()));
}

// Colour types: 2 is truecolour RGB, 6 truecolour with alpha.
std::vector<std::uint8_t> headerChunk(int width, int height, std::uint8_t colourType) {
    ByteWriter ihdr;
    ihdr.u32be(static_cast<std::uint32_t>(width));
    ihdr.u32be(static_cast<std::uint32_t>(height));
    ihdr.u8(8);  // bits per channel
    ihdr.u8(colourType);
    ihdr.u8(0);  // deflate
    ihdr.u8(0);  // adaptive filtering
    ihdr.u8(0);  // not interlaced
    return ihdr.take();
}

std::vector<std::uint8_t> pngFile(std::span<const std::uint8_t> header, std::span<const std::uint8_t> zlibData) {
    static constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    ByteWriter out;
    out.append(kSignature);
    writeChunk(out, "IHDR", header);
    writeChunk(out, "IDAT", zlibData);
    writeChunk(out, "IEND", {});
    return out.take();
}

}  // namespace

std::uint32_t PngEncoder::crc32(std::span<const std::uint8_t> data) {
    std::uint32_t c = 0xFFFFFFFFU;
    for (std::uint8_t byte : data) {
        c = kCrcTable[(c ^ byte) & 0xFFU] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFU;
}

std::uint32_t PngEncoder::adler32(std::span<const std::uint8_t> data) {
    constexpr std::uint32_t kModulus = 65521;
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (std::uint8_t byte : data) {
        a = (a + byte) % kModulus;
        b = (b + a) % kModulus;
    }
    return (b << 16) | a;
}

std::vector<std::uint8_t> PngEncoder::encode(const Image& image) {
    const auto raw = scanlines(image, 3, [&image](std::vector<std::uint8_t>& out, int x, int y) {
        const Rgb c = image.at(x, y);
        out.insert(out.end(), {c.r, c.g, c.b});
    });
    return pngFile(headerChunk(image.width(), image.height(), 2), zlibStored(raw));
}

std::vector<std::uint8_t> PngEncoder::encode(const RgbaImage& image) {
    const auto raw = scanlines(image, 4, [&image](std::vector<std::uint8_t>& out, int x, int y) {
        const Rgb c = image.at(x, y);
        out.insert(out.end(), {c.r, c.g, c.b, image.alpha(x, y)});
    });
    return pngFile(headerChunk(image.width(), image.height(), 6), zlibCompressed(raw));
}
