#include "Font.h"

#include <algorithm>
#include <cstring>

#include "fonts/SystemFonts.h"

namespace layer {

namespace {
// The largest em height the text engine draws.
constexpr long long maxEmPixels = 1024;
}  // namespace

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
        // cell height (ascent and descent), which the em height is scaled to
        // once the face's proportions are known. Held to what a font can be
        // (INT32_MIN has no negation).
        long long height = logFont.lfHeight;
        bool byCell = height > 0;
        request.emPixels = int(std::min<long long>(height < 0 ? -height : height, maxEmPixels));
        request.weight = logFont.lfWeight >= 600 ? FW_BOLD : FW_NORMAL;
        request.italic = logFont.lfItalic != 0;
        request.underline = logFont.lfUnderline != 0;
        request.strikeOut = logFont.lfStrikeOut != 0;
        raster_ = openSystemFont(request);
        if (byCell && raster_ && raster_->height() > 0 && raster_->height() != request.emPixels) {
            long long em = (static_cast<long long>(request.emPixels) * request.emPixels + raster_->height() / 2) /
                           raster_->height();
            request.emPixels = int(std::max<long long>(1, em));
            if (auto fitted = openSystemFont(request)) raster_ = std::move(fitted);
        }
    }
    return raster_.get();
}

}  // namespace layer
