#include "ThumbArt.h"

#include "Painter.h"
#include "Palette.h"

Image ThumbArt::scrollThumb() {
    Image thumb(kScrollWidth, kScrollHeight, Palette::kKeyFace);
    Painter p(thumb);
    p.bevel(thumb.bounds(), Palette::kKeyHighlight, Palette::kKeyRim);
    p.bevel(thumb.bounds().inflated(-1), Palette::kKeyFace, Palette::kKeyShadow);
    // Three grip ridges centred on the thumb: dark groove, light lip below.
    for (int row = 9; row <= 13; row += 2) {
        p.horizontalLine(2, 5, row, Palette::kKeyShadow);
        p.horizontalLine(2, 5, row + 1, Palette::kKeyHighlight);
    }
    return thumb;
}

Image ThumbArt::scrollThumbPressed() { return Image(kScrollWidth, kScrollHeight, Palette::kKeyPressedFace); }

Image ThumbArt::volumeThumb() {
    Image thumb(kVolumeWidth, kVolumeHeight, Palette::kKeyFace);
    Painter p(thumb);
    p.bevel(thumb.bounds(), Palette::kKeyRim, Palette::kKeyRim);
    p.bevel(thumb.bounds().inflated(-1), Palette::kKeyHighlight, Palette::kKeyShadow);
    // The index mark: where the level is read off the scale.
    p.horizontalLine(2, 7, 3, Palette::kSymbol);
    p.horizontalLine(2, 7, 4, Palette::kKeyHighlight);
    return thumb;
}
