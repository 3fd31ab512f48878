// Converting the backend's device pixels into the program's own pixels.
#pragma once

#include <windows.h>

namespace layer {

// Rounds toward minus infinity, so that every device pixel of a block (on
// either side of the screen's origin) belongs to the same pixel.
constexpr int toProgramPixels(int device, int scale) {
    return device >= 0 ? device / scale : -((-device + scale - 1) / scale);
}

constexpr POINT toProgramPixels(POINT device, int scale) {
    return POINT{toProgramPixels(device.x, scale), toProgramPixels(device.y, scale)};
}

}  // namespace layer
