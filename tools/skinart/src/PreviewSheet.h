#pragma once

#include "Image.h"
#include "SkinCatalogue.h"

// Pictures for judging the art by eye, never shipped.
class PreviewSheet {
public:
    // The window as the program shows it at rest: background, every button
    // in its normal state, thumbs at the top of their tracks, animation
    // frame 0. Pixels outside the region are a checker pattern. Scaled 3x.
    static Image window(const SkinCatalogue& skin);

    // Every bitmap except the background, normal beside pressed, on a grey
    // board, scaled 6x.
    static Image sheet(const SkinCatalogue& skin);
};
