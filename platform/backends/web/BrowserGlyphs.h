// Glyphs drawn by the browser: each character is drawn once, white on a
// transparent canvas, in the CSS font the request maps to, and what the
// canvas holds is its coverage. The browser finds the face (or a stand-in
// for it) and makes bold and italic itself.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "fonts/FontRequest.h"
#include "fonts/GlyphSource.h"

namespace layer {

class BrowserGlyphs : public GlyphSource {
public:
    // The request as it stands (em size from 1 to 1024 pixels, weight from
    // 1 to 1000).
    explicit BrowserGlyphs(const FontRequest& request);

    const Glyph& glyph(unsigned char byte) override;
    int emPixels() const override { return emPixels_; }
    LineMetrics lineMetrics() const override { return metrics_; }

    // The CSS font for a request. The face name is the program's: only
    // letters, digits, spaces and a few marks of it are kept, so it cannot
    // end the quoted name.
    static std::string cssFont(const FontRequest& request);

private:
    Glyph render(unsigned char byte) const;

    std::string font_;
    int emPixels_;
    LineMetrics metrics_;
    std::array<std::unique_ptr<Glyph>, 256> glyphs_;
};

}  // namespace layer
