#pragma once

#include "TestCanvas.h"

#include <string>
#include <vector>

namespace layer::test {

// Saves a canvas for a person to look at: binary PPM, or PNG (uncompressed
// deflate, so no image library is needed). scale enlarges every pixel to a
// scale x scale block, which makes anti-aliasing visible.
class ImageDump {
public:
    static bool writePpm(const std::string& path, const TestCanvas& canvas, int scale = 1);
    static bool writePng(const std::string& path, const TestCanvas& canvas, int scale = 1);

    // Top-down RGB bytes of the enlarged canvas.
    static std::vector<uint8_t> rgbRows(const TestCanvas& canvas, int scale);
};

}  // namespace layer::test
