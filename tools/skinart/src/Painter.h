#pragma once

#include "Image.h"

// Drawing primitives over an Image. Everything clips at the image edge and
// uses integer arithmetic only, so the output is identical on every build.
class Painter {
public:
    explicit Painter(Image& target);

    Image& image() { return target_; }

    void plot(int x, int y, Rgb colour);
    // Move the pixel towards `colour` by weight/256 (used for soft edges).
    void blend(int x, int y, Rgb colour, int weight);

    void fill(const Rect& area, Rgb colour);
    void horizontalLine(int left, int right, int y, Rgb colour);
    void verticalLine(int x, int top, int bottom, Rgb colour);

    // A one-pixel ring: `topLeft` along the top row and left column,
    // `bottomRight` along the bottom row and right column (corners included).
    // Light-then-dark reads as raised, dark-then-light as sunken.
    void bevel(const Rect& area, Rgb topLeft, Rgb bottomRight);

    // Rows blend linearly from `top` (first row) to `bottom` (last row).
    void verticalGradient(const Rect& area, Rgb top, Rgb bottom);

    // A disc with an anti-aliased edge. Centre and radius are in eighths of a
    // pixel so that discs can sit between pixels; pixel (x, y) spans
    // [8x, 8x+8) in those units.
    void disc(int centreX8, int centreY8, int radius8, Rgb colour);

    // Copy `source` with its top-left corner at (x, y).
    void blit(const Image& source, int x, int y);

private:
    Image& target_;
};
