#pragma once

#include <string>

namespace layer {

// What the program asks for when it creates a font: the fields of a LOGFONT
// that the text engine honours.
//
//  face      family name as written in the LOGFONT ("Verdana"); matched through
//            fontconfig, case-insensitively. Empty picks the system default.
//  emPixels  character (em) height in pixels, i.e. -lfHeight. Values <= 0 pick
//            the default of 12 px; values above 1024 are clamped to 1024.
//  weight    100..900 as lfWeight (400 normal, 700 bold); 0 means 400.
//  italic / underline / strikeOut  as the LOGFONT flags.
struct FontRequest {
    std::string face;
    int emPixels = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    bool operator==(const FontRequest&) const = default;
};

}  // namespace layer
