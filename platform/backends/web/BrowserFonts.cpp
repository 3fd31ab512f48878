// The system's fonts on a web page: whatever the browser draws for the face
// asked for. The program creates its font anew every frame, so each request
// is kept with its glyphs.
#include <map>
#include <tuple>

#include "BrowserGlyphs.h"
#include "fonts/SystemFonts.h"

namespace layer {

std::shared_ptr<const RasterFont> openSystemFont(const FontRequest& request) {
    using Key = std::tuple<std::string, bool, bool>;  // the CSS font and the decorations
    static std::map<Key, std::shared_ptr<const RasterFont>> fonts;
    // A stream of ever new requests must not grow memory for ever: past a
    // few dozen, fonts nobody holds any more are let go.
    constexpr std::size_t softLimit = 64;
    if (fonts.size() >= softLimit)
        std::erase_if(fonts, [](const auto& entry) { return entry.second.use_count() == 1; });
    Key key{BrowserGlyphs::cssFont(request), request.underline, request.strikeOut};
    auto& font = fonts[key];
    if (!font)
        font = RasterFont::create(std::make_unique<BrowserGlyphs>(request),
                                  RasterFont::Decorations{request.underline, request.strikeOut});
    return font;
}

}  // namespace layer
