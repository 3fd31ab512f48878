#pragma once

#include "Image.h"
#include "SkinCatalogue.h"

// Pictures for judging the art by eye, never shipped.
class PreviewSheet {
public:
    // The window at rest (SkinCatalogue::windowAtRest), pixels outside the
    // region a checker pattern, scaled 3x.
    static Image window(const SkinCatalogue& skin);

    // Every bitmap except the background, normal beside pressed, on a grey
    // board, scaled 6x.
    static Image sheet(const SkinCatalogue& skin);
};
