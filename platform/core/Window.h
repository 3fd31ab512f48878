// A top-level window of the layer: its class data, its place on the screen,
// the pixels it shows and the region that cuts its outline.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "Bitmap.h"
#include "ObjectTable.h"
#include "Region.h"

namespace layer {

class Window : public LayerObject {
public:
    Window(int width, int height);

    // True when a pointer at client (x, y) belongs to the window: inside its
    // rectangle and, when it has a region, inside the region.
    bool accepts(int clientX, int clientY) const;

    // Rows [top, bottom) of the surface; empty when top >= bottom.
    struct Rows {
        int top = 0;
        int bottom = 0;
        bool empty() const { return top >= bottom; }
    };
    // The surface's rows top to bottom now hold new pixels.
    void markChanged(int top, int bottom);
    // The rows changed since the last call, for a backend that shows only
    // what changed; clears them.
    Rows takeChanged();

    std::string className;
    std::string title;
    DWORD style = 0;
    int x = 0;  // where the program sees it
    int y = 0;
    // Where it is in the backend's device pixels: x and y times the scale,
    // but finer while the window follows the pointer, so that it moves by
    // exactly as many device pixels as the pointer.
    int deviceX = 0;
    int deviceY = 0;
    int width;
    int height;
    WNDPROC procedure = nullptr;
    HINSTANCE instance = nullptr;
    bool visible = false;
    bool minimized = false;
    bool needsPaint = false;
    bool destroying = false;
    Bitmap surface;                  // what the window shows, top-down
    std::unique_ptr<Region> region;  // owned since SetWindowRgn; null: the whole rectangle
    void* backendData = nullptr;     // whatever the backend keeps for this window
    Rows changed;
};

}  // namespace layer
