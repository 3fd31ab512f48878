#pragma once

#include "Rect.h"
#include "Rgb.h"

#include <vector>

// A width x height grid of colours, row 0 at the top.
class Image {
public:
    Image(int width, int height, Rgb fill = {});

    int width() const { return width_; }
    int height() const { return height_; }
    Rect bounds() const { return Rect{0, 0, width_, height_}; }
    bool contains(int x, int y) const { return bounds().contains(x, y); }

    // Throws std::out_of_range: reading outside is always a bug in the caller.
    Rgb at(int x, int y) const;
    // Writes outside the image are dropped, so shapes may be drawn partly off the edge.
    void set(int x, int y, Rgb colour);

    // Every pixel repeated factor x factor times, for previews.
    Image scaled(int factor) const;

    friend bool operator==(const Image&, const Image&) = default;

private:
    int width_;
    int height_;
    std::vector<Rgb> pixels_;
};
