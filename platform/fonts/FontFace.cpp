#include "fonts/FontFace.h"

#include FT_TRUETYPE_TABLES_H

#include <utility>

namespace layer {

namespace {

// Fonts made for the Windows symbol code page map their characters to
// U+F000..U+F0FF in a symbol cmap; GDI draws byte b with glyph F000+b.
FT_UInt symbolGlyph(FT_Face face, unsigned char byte) {
    FT_UInt glyph = FT_Get_Char_Index(face, 0xF000u + byte);
    return glyph != 0 ? glyph : FT_Get_Char_Index(face, byte);
}

}  // namespace

std::shared_ptr<FontFace> FontFace::load(std::shared_ptr<FreeTypeLibrary> library, const std::string& path, int index) {
    if (!library) return nullptr;
    FT_Face face = nullptr;
    if (FT_New_Face(library->handle(), path.c_str(), index, &face) != 0) return nullptr;
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    return std::shared_ptr<FontFace>(new FontFace(std::move(library), face));
}

FontFace::FontFace(std::shared_ptr<FreeTypeLibrary> library, FT_Face face) : library_(std::move(library)), face_(face) {
    mapCharacters();
    readMetrics();
}

FontFace::~FontFace() { FT_Done_Face(face_); }

void FontFace::mapCharacters() {
    const bool unicode = FT_Select_Charmap(face_, FT_ENCODING_UNICODE) == 0;
    const bool symbol = !unicode && FT_Select_Charmap(face_, FT_ENCODING_MS_SYMBOL) == 0;
    for (unsigned code = 0; code < glyphIndices_.size(); ++code) {
        const auto byte = static_cast<unsigned char>(code);
        glyphIndices_[code] = symbol ? symbolGlyph(face_, byte) : FT_Get_Char_Index(face_, byte);
    }
}

// GDI takes the cell from the OS/2 Windows ascent and descent, which cover
// every glyph of the font, rather than the typographic hhea values; hhea is
// the fallback for fonts that leave the Windows values at zero.
void FontFace::readMetrics() {
    metrics_.unitsPerEm = face_->units_per_EM;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
    const auto* post = static_cast<const TT_Postscript*>(FT_Get_Sfnt_Table(face_, FT_SFNT_POST));

    if (os2 && (os2->usWinAscent != 0 || os2->usWinDescent != 0)) {
        metrics_.winAscent = os2->usWinAscent;
        metrics_.winDescent = os2->usWinDescent;
    } else {
        metrics_.winAscent = face_->ascender;
        metrics_.winDescent = -face_->descender;
    }

    if (post && post->underlineThickness > 0) {
        // The post table gives the top of the underline.
        metrics_.underlineTop = post->underlinePosition;
        metrics_.underlineThickness = post->underlineThickness;
    } else {
        // FreeType's generic values describe the centre of the bar.
        metrics_.underlineThickness =
            face_->underline_thickness > 0 ? face_->underline_thickness : face_->units_per_EM / 14;
        metrics_.underlineTop = face_->underline_position + metrics_.underlineThickness / 2;
    }

    if (os2 && os2->yStrikeoutSize > 0) {
        metrics_.strikeoutTop = os2->yStrikeoutPosition;
        metrics_.strikeoutThickness = os2->yStrikeoutSize;
    } else {
        // Roughly half the x-height, where most Latin fonts put it.
        metrics_.strikeoutTop = face_->units_per_EM / 4 + metrics_.underlineThickness / 2;
        metrics_.strikeoutThickness = metrics_.underlineThickness;
    }
}

}  // namespace layer
