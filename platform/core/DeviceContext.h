// A device context: a memory DC drawing into its selected bitmap, a DC of a
// window drawing into the window's surface, or the screen's DC (GetDC(NULL)),
// which measures and holds fonts but draws nowhere.
#pragma once

#include <windows.h>

#include "ObjectTable.h"

namespace layer {

class DeviceContext : public LayerObject {
public:
    enum class Kind { Memory, Window, Screen };
    explicit DeviceContext(Kind k) : LayerObject(ObjectKind::DeviceContext), kind(k) {}

    // A DC from GetDC (and BeginPaint) goes back through ReleaseDC; a memory
    // DC through DeleteDC.
    bool fromGetDC() const { return kind != Kind::Memory; }

    const Kind kind;
    HWND window = nullptr;            // set for a DC of a window
    HBITMAP bitmap = nullptr;         // memory DC: the selected bitmap
    HBITMAP defaultBitmap = nullptr;  // the 1x1 monochrome bitmap a new memory DC starts with
    HFONT font = nullptr;             // null: the stock font
    HGDIOBJ brush = nullptr;          // null: the white stock brush
    int backgroundMode = OPAQUE;
    COLORREF backgroundColour = RGB(255, 255, 255);
    COLORREF textColour = RGB(0, 0, 0);
};

}  // namespace layer
