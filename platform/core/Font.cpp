#include "Font.h"

#include <cstring>

#include "fonts/SystemFonts.h"

namespace layer {

Font::Font(const LOGFONTA& requested) : LayerObject(ObjectKind::Font), logFont(requested) {
    // The face name need not be terminated; it never reaches past its field.
    logFont.lfFaceName[LF_FACESIZE - 1] = '\0';
}

const RasterFont* Font::raster() {
    if (!resolved_) {
        resolved_ = true;
        FontRequest request;
        request.face = logFont.lfFaceName;
        // A negative height is the character (em) height; a positive one the
        // cell height, which for the faces at hand is close to the em height.
        request.emPixels = logFont.lfHeight < 0 ? -logFont.lfHeight : logFont.lfHeight;
        request.weight = logFont.lfWeight >= 600 ? FW_BOLD : FW_NORMAL;
        request.italic = logFont.lfItalic != 0;
        request.underline = logFont.lfUnderline != 0;
        request.strikeOut = logFont.lfStrikeOut != 0;
        raster_ = openSystemFont(request);
    }
    return raster_.get();
}

}  // namespace layer
