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
// Tells the backend that rows [top, bottom) of a window's surface (by default
// all of them) hold new pixels.
void surfaceChanged(DeviceContext& dc, int top = 0, int bottom = 0x7FFFFFFF);
// Lets go of everything the DC holds, before it is deleted or released.
void releaseSelections(DeviceContext& dc);

}  // namespace layer
