#include "BrowserGlyphs.h"

#include <emscripten.h>

#include <algorithm>
#include <cctype>
#include <vector>

// The canvas is big enough for any glyph of the font: the pen starts one em
// in from the left, the baseline two ems down.
EM_JS(void, brisko_font_metrics, (const char* font, int emPixels, int* metrics), {
    const context = Module.desktop.glyphContext(4 * emPixels + 8);
    context.font = UTF8ToString(font);
    const measured = context.measureText("Hxgjp");
    const ascent = Math.round(measured.fontBoundingBoxAscent || measured.actualBoundingBoxAscent || 0.8 * emPixels);
    const descent = Math.round(measured.fontBoundingBoxDescent || measured.actualBoundingBoxDescent || 0.2 * emPixels);
    HEAP32[metrics >> 2] = ascent;
    HEAP32[(metrics >> 2) + 1] = descent;
});

EM_JS(void, brisko_render_glyph, (const char* font, int emPixels, int code, int* box, uint8_t* coverage), {
    const side = 4 * emPixels + 8;
    const context = Module.desktop.glyphContext(side);
    context.font = UTF8ToString(font);
    const text = String.fromCharCode(code);
    const penX = emPixels + 4;
    const baseline = 2 * emPixels + 4;
    context.clearRect(0, 0, side, side);
    context.fillStyle = "#fff";
    context.textBaseline = "alphabetic";
    context.fillText(text, penX, baseline);
    const alpha = context.getImageData(0, 0, side, side).data;
    let left = side, top = side, right = -1, bottom = -1;
    for (let y = 0; y < side; ++y)
        for (let x = 0; x < side; ++x)
            if (alpha[(y * side + x) * 4 + 3]) {
                left = Math.min(left, x);
                right = Math.max(right, x);
                top = Math.min(top, y);
                bottom = Math.max(bottom, y);
            }
    const width = right < 0 ? 0 : right - left + 1;
    const rows = right < 0 ? 0 : bottom - top + 1;
    for (let y = 0; y < rows; ++y)
        for (let x = 0; x < width; ++x) HEAPU8[coverage + y * width + x] = alpha[((top + y) * side + left + x) * 4 + 3];
    HEAP32[box >> 2] = width ? left - penX : 0;
    HEAP32[(box >> 2) + 1] = width ? baseline - top : 0;
    HEAP32[(box >> 2) + 2] = width;
    HEAP32[(box >> 2) + 3] = rows;
    HEAP32[(box >> 2) + 4] = Math.round(context.measureText(text).width);
});

namespace layer {

namespace {

constexpr int defaultEmPixels = 12;
constexpr int largestEmPixels = 1024;

bool keptInFaceName(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == ' ' || c == '-' || c == '_' || c == '.';
}

int sideFor(int emPixels) { return 4 * emPixels + 8; }

}  // namespace

std::string BrowserGlyphs::cssFont(const FontRequest& request) {
    std::string face;
    std::copy_if(request.face.begin(), request.face.end(), std::back_inserter(face), keptInFaceName);
    int em = request.emPixels <= 0 ? defaultEmPixels : std::min(request.emPixels, largestEmPixels);
    int weight = request.weight <= 0 ? 400 : std::clamp(request.weight, 1, 1000);
    std::string font = request.italic ? "italic " : "";
    font += std::to_string(weight) + " " + std::to_string(em) + "px ";
    if (!face.empty()) font += "\"" + face + "\", ";
    return font + "sans-serif";
}

BrowserGlyphs::BrowserGlyphs(const FontRequest& request)
    : font_(cssFont(request)),
      emPixels_(request.emPixels <= 0 ? defaultEmPixels : std::min(request.emPixels, largestEmPixels)) {
    int measured[2] = {0, 0};
    brisko_font_metrics(font_.c_str(), emPixels_, measured);
    metrics_.ascent = measured[0];
    metrics_.descent = measured[1];
    // Where GDI puts the bars for the common faces, in fractions of the em.
    int thickness = std::max(1, (emPixels_ + 7) / 14);
    metrics_.underlineTop = -std::max(1, emPixels_ / 10);
    metrics_.underlineThickness = thickness;
    metrics_.strikeOutTop = std::max(1, emPixels_ * 3 / 10) + thickness;
    metrics_.strikeOutThickness = thickness;
}

const Glyph& BrowserGlyphs::glyph(unsigned char byte) {
    auto& slot = glyphs_[byte];
    if (!slot) slot = std::make_unique<Glyph>(render(byte));
    return *slot;
}

Glyph BrowserGlyphs::render(unsigned char byte) const {
    int side = sideFor(emPixels_);
    std::vector<uint8_t> coverage(std::size_t(side) * side);
    int box[5] = {};
    brisko_render_glyph(font_.c_str(), emPixels_, byte, box, coverage.data());
    Glyph glyph;
    glyph.left = box[0];
    glyph.top = box[1];
    glyph.width = box[2];
    glyph.rows = box[3];
    glyph.advance = box[4];
    coverage.resize(std::size_t(glyph.width) * glyph.rows);
    glyph.coverage = std::move(coverage);
    return glyph;
}

}  // namespace layer
