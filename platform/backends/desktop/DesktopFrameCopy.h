// Copies the frames of a window (24-bit B,G,R rows of the layer) into the SDL
// surface the display gave it, in whatever pixel format that surface has.
//
// The layer knows which rows of a frame hold new pixels (a frame is mostly the
// one before it again), so only those are converted, and only their band
// needs to go to the screen. A surface it has not filled before gets every row.
//
// On a scaled screen every pixel of the frame becomes a scale x scale block
// of exactly its colour.
#pragma once

#include "Window.h"

struct SDL_Surface;

namespace layer {

class Bitmap;

class DesktopFrameCopy {
public:
    // Rows [top, bottom), of the frame or of the surface.
    using Band = Window::Rows;
    static constexpr Band everyRow{0, 0x7FFFFFFF};

    // Copies the given rows of the frame (within the overlap of the frame,
    // scaled, and the surface, both from their top-left corner) and returns
    // the surface's rows that were written. The surface must be locked if it
    // needs locking.
    Band copy(const Bitmap& frame, SDL_Surface& surface, int scale, Band rows);

    // The next copy converts every row, whatever the surface holds.
    void forget();

private:
    bool sameTarget(const SDL_Surface& surface, int width, int height, int scale) const;

    const void* pixels_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int scale_ = 1;
};

}  // namespace layer
