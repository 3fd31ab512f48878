#include "ImageDump.h"

#include <fstream>

#include "PngWriter.h"

namespace layer::test {

namespace {

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

bool ImageDump::writePng(const std::string& path, const TestCanvas& canvas, int scale) {
    const std::vector<uint8_t> rgb = rgbRows(canvas, scale);
    std::vector<uint8_t> rgba;
    rgba.reserve(rgb.size() / 3 * 4);
    for (size_t i = 0; i < rgb.size(); i += 3) rgba.insert(rgba.end(), {rgb[i], rgb[i + 1], rgb[i + 2], 255});
    return ::writePng(path, canvas.width() * scale, canvas.height() * scale, rgba);
}

}  // namespace layer::test
