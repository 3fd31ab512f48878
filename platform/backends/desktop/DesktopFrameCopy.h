// Copies the frames of a window (24-bit B,G,R rows of the layer) into the SDL
// surface the display gave it, in whatever pixel format that surface has.
//
// Most of a frame is the same as the one before it, so only the rows that
// differ from the last frame copied are converted, and only their band needs
// to go to the screen: the frame then on the screen is still the whole new one.
#pragma once

#include <cstdint>
#include <vector>

struct SDL_Surface;

namespace layer {

class Bitmap;

class DesktopFrameCopy {
public:
    // Rows [top, bottom) changed; empty when top == bottom.
    struct Band {
        int top = 0;
        int bottom = 0;
        bool empty() const { return top >= bottom; }
    };

    // Copies the overlap of the frame and the surface, both from their
    // top-left corner, and returns the rows that changed. A surface other
    // than the last one (or of another size) gets every row. The surface
    // must be locked if it needs locking.
    Band copy(const Bitmap& frame, SDL_Surface& surface);

    // The next copy converts every row, whatever the surface holds.
    void forget();

private:
    bool sameTarget(const SDL_Surface& surface, int width, int height) const;
    bool rowChanged(const Bitmap& frame, int y) const;
    void remember(const Bitmap& frame, int y);

    std::vector<uint8_t> last_;  // the rows last copied, width * 3 bytes each
    const void* pixels_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace layer
