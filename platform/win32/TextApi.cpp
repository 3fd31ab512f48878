// gdi32: fonts, measuring text and drawing it.
#include <windows.h>

#include <cstring>

#include "Bitmap.h"
#include "DeviceContext.h"
#include "Font.h"
#include "Layer.h"
#include "Surfaces.h"

using layer::Creation;
using layer::DeviceContext;
using layer::Layer;

namespace {

const layer::RasterFont* selectedRaster(DeviceContext& dc) {
    Layer& layer = Layer::get();
    layer::Font* font = layer.font(dc.font);
    if (!font) font = layer.font(layer.stockFont);
    return font ? font->raster() : nullptr;
}

layer::TextSurface textSurfaceOf(layer::Bitmap& bitmap) {
    return layer::TextSurface{bitmap.bits(), bitmap.width(), bitmap.height(), bitmap.stride(), bitmap.bottomUp()};
}

}  // namespace

extern "C" {

HFONT WINAPI CreateFontIndirectA(const LOGFONTA* font) {
    if (!font) return nullptr;
    return Layer::get().create<HFONT>(Creation::Font, std::make_unique<layer::Font>(*font));
}

BOOL WINAPI GetTextExtentPoint32A(HDC dcHandle, LPCSTR text, int length, LPSIZE size) {
    DeviceContext* dc = Layer::get().dc(dcHandle);
    if (!dc || !size || length < 0 || (!text && length > 0)) return FALSE;
    const layer::RasterFont* raster = selectedRaster(*dc);
    if (!raster) return FALSE;
    layer::Extent extent = raster->measure(text, length);
    size->cx = extent.width;
    size->cy = extent.height;
    return TRUE;
}

// With no options the rectangle neither clips nor fills; ETO_OPAQUE fills it
// with the background colour and ETO_CLIPPED clips to it. In OPAQUE
// background mode the text's own cell is filled before the glyphs.
BOOL WINAPI ExtTextOutA(HDC dcHandle, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT length,
                        const INT*) {
    DeviceContext* dc = Layer::get().dc(dcHandle);
    if (!dc || (!text && length > 0) || length > 0x7fffffff) return FALSE;
    layer::Bitmap* surface = layer::drawingSurface(*dc);
    if (!surface) return FALSE;
    layer::TextSurface target = textSurfaceOf(*surface);
    layer::TextClip clip{0, 0, surface->width(), surface->height()};
    if (rect && (options & ETO_CLIPPED)) clip = layer::TextClip{rect->left, rect->top, rect->right, rect->bottom};
    if (rect && (options & ETO_OPAQUE)) {
        for (int row = std::max<LONG>(rect->top, 0); row < std::min<LONG>(rect->bottom, surface->height()); ++row)
            for (int column = std::max<LONG>(rect->left, 0); column < std::min<LONG>(rect->right, surface->width());
                 ++column)
                surface->setPixel(column, row, dc->backgroundColour);
    }
    if (length > 0) {
        const layer::RasterFont* raster = selectedRaster(*dc);
        if (!raster) return FALSE;
        raster->draw(text, int(length), x, y, dc->textColour, dc->backgroundMode == OPAQUE, dc->backgroundColour,
                     target, clip);
    }
    layer::surfaceChanged(*dc);
    return TRUE;
}

}  // extern "C"
