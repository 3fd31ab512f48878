// A device context: a memory DC drawing into its selected bitmap, or a DC of
// a window drawing into the window's surface.
#pragma once

#include <windows.h>

#include "ObjectTable.h"

namespace layer {

class DeviceContext : public LayerObject {
public:
    DeviceContext() : LayerObject(ObjectKind::DeviceContext) {}

    HWND window = nullptr;            // set for a DC of a window
    HBITMAP bitmap = nullptr;         // memory DC: the selected bitmap
    HBITMAP defaultBitmap = nullptr;  // the 1x1 monochrome bitmap a new memory DC starts with
    HFONT font = nullptr;
    int backgroundMode = OPAQUE;
    COLORREF backgroundColour = RGB(255, 255, 255);
    COLORREF textColour = RGB(0, 0, 0);
};

}  // namespace layer
