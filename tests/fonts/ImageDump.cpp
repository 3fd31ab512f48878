#include "ImageDump.h"

#include <algorithm>
#include <array>
#include <fstream>

namespace layer::test {

namespace {

uint32_t crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void putBigEndian(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

void putChunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& body) {
    putBigEndian(png, static_cast<uint32_t>(body.size()));
    std::vector<uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), body.begin(), body.end());
    png.insert(png.end(), typed.begin(), typed.end());
    putBigEndian(png, crc32(typed.data(), typed.size()));
}

bool save(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

}  // namespace

std::vector<uint8_t> ImageDump::rgbRows(const TestCanvas& canvas, int scale) {
    std::vector<uint8_t> rgb;
    rgb.reserve(static_cast<size_t>(canvas.width()) * canvas.height() * 3 * scale * scale);
    for (int y = 0; y < canvas.height() * scale; ++y) {
        for (int x = 0; x < canvas.width() * scale; ++x) {
            const uint32_t p = canvas.pixel(x / scale, y / scale);
            rgb.push_back(static_cast<uint8_t>(p));
            rgb.push_back(static_cast<uint8_t>(p >> 8));
            rgb.push_back(static_cast<uint8_t>(p >> 16));
        }
    }
    return rgb;
}

bool ImageDump::writePpm(const std::string& path, const TestCanvas& canvas, int scale) {
    const std::string header =
        "P6\n" + std::to_string(canvas.width() * scale) + " " + std::to_string(canvas.height() * scale) + "\n255\n";
    std::vector<uint8_t> bytes(header.begin(), header.end());
    const std::vector<uint8_t> rgb = rgbRows(canvas, scale);
    bytes.insert(bytes.end(), rgb.begin(), rgb.end());
    return save(path, bytes);
}

// zlib stream made of stored (uncompressed) deflate blocks.
std::vector<uint8_t> ImageDump::zlibStored(const std::vector<uint8_t>& data) {
    std::vector<uint8_t> out{0x78, 0x01};
    size_t offset = 0;
    do {
        const size_t length = std::min<size_t>(65535, data.size() - offset);
        const bool last = offset + length == data.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<uint8_t>(length));
        out.push_back(static_cast<uint8_t>(length >> 8));
        out.push_back(static_cast<uint8_t>(~length));
        out.push_back(static_cast<uint8_t>(~length >> 8));
        out.insert(out.end(), data.begin() + static_cast<ptrdiff_t>(offset),
                   data.begin() + static_cast<ptrdiff_t>(offset + length));
        offset += length;
    } while (offset < data.size());

    uint32_t a = 1, b = 0;  // Adler-32
    for (uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    putBigEndian(out, (b << 16) | a);
    return out;
}

bool ImageDump::writePng(const std::string& path, const TestCanvas& canvas, int scale) {
    const uint32_t width = static_cast<uint32_t>(canvas.width() * scale);
    const uint32_t height = static_cast<uint32_t>(canvas.height() * scale);
    const std::vector<uint8_t> rgb = rgbRows(canvas, scale);

    std::vector<uint8_t> raw;  // each row prefixed with filter type 0
    for (uint32_t y = 0; y < height; ++y) {
        raw.push_back(0);
        const auto row = rgb.begin() + static_cast<ptrdiff_t>(y * width * 3);
        raw.insert(raw.end(), row, row + static_cast<ptrdiff_t>(width * 3));
    }

    std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    putBigEndian(header, width);
    putBigEndian(header, height);
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, no interlace
    putChunk(png, "IHDR", header);
    putChunk(png, "IDAT", zlibStored(raw));
    putChunk(png, "IEND", {});
    return save(path, png);
}

}  // namespace layer::test
