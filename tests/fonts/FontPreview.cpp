// Renders sample text the way the program's popup draws it and saves an
// enlarged PNG (and a 1:1 PPM) for judging the rendering by eye:
//   font_preview [output.png] [scale]
#include "ImageDump.h"
#include "TestCanvas.h"
#include "fonts/FontEngine.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using layer::FontEngine;
using layer::FontRequest;

constexpr uint32_t kGreen = 0x000DCC0D;
constexpr uint32_t kOlive = 0x001E6B6B;  // RGB(0x6B, 0x6B, 0x1E)

struct Sample {
    FontRequest request;
    const char* text;
};

}  // namespace

int main(int argc, char** argv) {
    const std::string output = argc > 1 ? argv[1] : "/tmp/font-preview.png";
    const int scale = argc > 2 ? std::atoi(argv[2]) : 6;

    const std::vector<Sample> samples = {
        {{"Verdana", 9, 400}, "Volume: 100"},
        {{"Verdana", 10, 400}, "Volume: 100"},
        {{"Verdana", 11, 400}, "Volume: 100"},
        {{"Verdana", 12, 400}, "Volume: 100"},
        {{"Verdana", 9, 700}, "Volume: 100"},
        {{"Verdana", 11, 400, true}, "Volume: 100"},
        {{"Verdana", 12, 400, false, true, false}, "Muted \xe9t\xe9"},
        {{"Verdana", 12, 400, false, false, true}, "Struck 42%"},
    };

    int height = 2;
    for (const Sample& sample : samples) {
        auto font = FontEngine::shared().open(sample.request);
        if (!font) {
            std::fprintf(stderr, "no font for %s\n", sample.request.face.c_str());
            return 1;
        }
        height += font->height() + 2;
    }

    layer::test::TestCanvas canvas(90, height, kOlive, false, 0, 0);
    int y = 2;
    for (const Sample& sample : samples) {
        auto font = FontEngine::shared().open(sample.request);
        font->draw(sample.text, static_cast<int>(std::strlen(sample.text)), 3, y, kGreen, false, 0, canvas.surface(),
                   canvas.everything());
        y += font->height() + 2;
    }

    const std::string ppm = output.substr(0, output.rfind('.')) + ".ppm";
    if (!layer::test::ImageDump::writePng(output, canvas, scale) || !layer::test::ImageDump::writePpm(ppm, canvas)) {
        std::fprintf(stderr, "could not write %s\n", output.c_str());
        return 1;
    }
    std::printf("wrote %s and %s\n", output.c_str(), ppm.c_str());
    return 0;
}
