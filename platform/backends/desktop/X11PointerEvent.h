// Pointer input read straight from the X events SDL passes on: they carry the
// pointer's screen position and the modifier keys as they were when the event
// happened, which stays right while the window itself is being moved.
#pragma once

#include "Backend.h"

union _XEvent;

namespace layer {

// The layer's pointer event for a left-button press or release or any
// pointer motion; false for everything else.
bool translateX11PointerEvent(const _XEvent& event, BackendEvent& translated);

}  // namespace layer
