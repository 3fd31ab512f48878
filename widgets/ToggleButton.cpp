#include "ToggleButton.h"

ToggleButton::ToggleButton(HINSTANCE instance, int normalId, int pressedId, const Rect& area)
    : PushButton(instance, normalId, pressedId, area) {
    pending = false;
}

// Switching off drops an action still pending from switching on.
void ToggleButton::press() {
    pressed = !pressed;
    pending = pressed;
}

void ToggleButton::release() {
    if (!pending) return;
    pending = false;
    action();
}
