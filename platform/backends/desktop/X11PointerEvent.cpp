#include "X11PointerEvent.h"

#include <X11/Xlib.h>

namespace layer {

namespace {

WPARAM modifiersOf(unsigned int state) {
    WPARAM modifiers = 0;
    if (state & ShiftMask) modifiers |= MK_SHIFT;
    if (state & ControlMask) modifiers |= MK_CONTROL;
    return modifiers;
}

BackendEvent pointerEvent(BackendEvent::Type type, int rootX, int rootY, int x, int y, unsigned int state) {
    BackendEvent event{type, rootX, rootY, modifiersOf(state)};
    event.windowX = x;
    event.windowY = y;
    return event;
}

}  // namespace

bool translateX11PointerEvent(const XEvent& event, BackendEvent& translated) {
    switch (event.type) {
        case ButtonPress:
        case ButtonRelease: {
            const XButtonEvent& button = event.xbutton;
            if (button.button != Button1) return false;
            auto type = event.type == ButtonPress ? BackendEvent::Type::PointerDown : BackendEvent::Type::PointerUp;
            translated = pointerEvent(type, button.x_root, button.y_root, button.x, button.y, button.state);
            return true;
        }
        case MotionNotify: {
            const XMotionEvent& motion = event.xmotion;
            translated = pointerEvent(BackendEvent::Type::PointerMove, motion.x_root, motion.y_root, motion.x, motion.y,
                                      motion.state);
            return true;
        }
        default:
            return false;
    }
}

}  // namespace layer
