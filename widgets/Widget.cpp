#include "Widget.h"

namespace {

HBITMAP loadSkinBitmap(HINSTANCE instance, int id) {
    return static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

}  // namespace

Widget::Widget(HINSTANCE instance, int normalId, int pressedId, const Rect& area) {
    pressed = false;
    pressedImage = loadSkinBitmap(instance, pressedId);
    normalImage = loadSkinBitmap(instance, normalId);
    pressedDC = CreateCompatibleDC(nullptr);
    normalDC = CreateCompatibleDC(nullptr);
    SelectObject(pressedDC, pressedImage);
    SelectObject(normalDC, normalImage);
    action = noAction;
    rect = area;
}

void Widget::setRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    rect = Rect{left, top, right, bottom};
}

const Rect& Widget::getRect() { return rect; }

void Widget::press() {
    if (!pressed) pressed = true;
}

// Runs the action whether or not the pointer is still over the control: the
// routing releases every control, so only the pressed one acts.
void Widget::release() {
    if (!pressed) return;
    pressed = false;
    action();
}

int Widget::hitTest(int32_t x, int32_t y) { return rect.contains(x, y) ? 1 : 0; }

bool Widget::isPressed() { return pressed; }

void Widget::setAction(Action newAction) { action = newAction; }
