#include "PngWriter.h"

#include <array>
#include <fstream>

namespace {

uint32_t crc32(const uint8_t* data, std::size_t size, uint32_t crc = 0) {
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
    for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void putBigEndian(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(value >> shift));
}

void chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body) {
    putBigEndian(out, uint32_t(body.size()));
    std::vector<uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), body.begin(), body.end());
    out.insert(out.end(), typed.begin(), typed.end());
    putBigEndian(out, crc32(typed.data(), typed.size()));
}

// A zlib stream of stored blocks holding the raw scanlines.
std::vector<uint8_t> zlibStored(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> out{0x78, 0x01};
    std::size_t offset = 0;
    do {
        std::size_t length = std::min<std::size_t>(65535, raw.size() - offset);
        bool last = offset + length == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(uint8_t(length));
        out.push_back(uint8_t(length >> 8));
        out.push_back(uint8_t(~length));
        out.push_back(uint8_t(~length >> 8));
        out.insert(out.end(), raw.begin() + long(offset), raw.begin() + long(offset + length));
        offset += length;
    } while (offset < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    putBigEndian(out, (b << 16) | a);
    return out;
}

}  // namespace

bool writePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba) {
    if (width <= 0 || height <= 0 || rgba.size() != std::size_t(width) * height * 4) return false;
    std::vector<uint8_t> raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // no filter
        raw.insert(raw.end(), rgba.begin() + long(std::size_t(y) * width * 4),
                   rgba.begin() + long(std::size_t(y + 1) * width * 4));
    }
    std::vector<uint8_t> header;
    putBigEndian(header, uint32_t(width));
    putBigEndian(header, uint32_t(height));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA
    std::vector<uint8_t> file{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    chunk(file, "IHDR", header);
    chunk(file, "IDAT", zlibStored(raw));
    chunk(file, "IEND", {});
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    return bool(out);
}
