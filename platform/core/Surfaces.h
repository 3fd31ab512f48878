// Where a device context's drawing lands.
#pragma once

#include <windows.h>

namespace layer {

class Bitmap;
class DeviceContext;
class Window;

// The pixels a DC draws into: its selected bitmap, or its window's surface.
Bitmap* drawingSurface(DeviceContext& dc);
// The window whose surface a DC draws into, if it is a window's DC.
Window* windowOf(DeviceContext& dc);
// Tells the backend that a window's surface holds a new frame.
void surfaceChanged(DeviceContext& dc);

}  // namespace layer
