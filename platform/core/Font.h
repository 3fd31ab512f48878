// A logical font: what CreateFontIndirectA was asked for, and the rasterised
// face it maps to, found on first use.
#pragma once

#include <windows.h>

#include <memory>

#include "ObjectTable.h"
#include "fonts/RasterFont.h"

namespace layer {

class Font : public LayerObject {
public:
    explicit Font(const LOGFONTA& requested);

    // The face at the requested size, or null when no font file can be used.
    const RasterFont* raster();

    LOGFONTA logFont;

private:
    std::shared_ptr<const RasterFont> raster_;
    bool resolved_ = false;
};

}  // namespace layer
