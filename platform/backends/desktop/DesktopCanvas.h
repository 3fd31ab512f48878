// A picture drawn with the layer's own GDI (its fonts above all), for what
// the desktop backend shows besides the program's windows.
#pragma once

#include <windows.h>

#include <string>

namespace layer {

class Bitmap;

class DesktopCanvas {
public:
    // A context with the UI font selected; no surface until makeSurface.
    DesktopCanvas();
    ~DesktopCanvas();
    DesktopCanvas(const DesktopCanvas&) = delete;
    DesktopCanvas& operator=(const DesktopCanvas&) = delete;

    // The size the text takes in the UI font; false when there is no font.
    bool measure(const std::string& text, SIZE& size) const;

    // A top-down 24-bit surface to draw on, as a window's is; null when it
    // cannot be had. It lives as long as the canvas.
    Bitmap* makeSurface(int width, int height);

    void fill(const RECT& area, COLORREF colour);
    // Black text with its top-left at (x, y), over what is there.
    void write(const std::string& text, int x, int y);

private:
    HDC dc_;
    HFONT font_ = nullptr;
    HBITMAP bitmap_ = nullptr;
};

}  // namespace layer
