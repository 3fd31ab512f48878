#pragma once

#include <windows.h>

#include "Action.h"
#include "Rect.h"

// The base of every control on the skin: a rectangle, a bitmap for each of
// the normal and the pressed state, a pressed flag and an action. Its table
// of virtual operations is the one way the rest of the program handles any
// control; subclasses keep these slots in this order and append their own.
// There is no virtual destructor: controls live until the process ends, and
// so do their bitmaps and memory contexts.
class Widget {
public:
    Widget(HINSTANCE instance, int normalId, int pressedId, const Rect& rect);

    virtual void setRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
    virtual const Rect& getRect();
    virtual void draw(HDC dc) = 0;
    virtual void press();
    virtual void release();
    virtual int hitTest(int32_t x, int32_t y);
    virtual bool isPressed();
    virtual void setAction(Action newAction);

protected:
    bool pressed = false;
    HBITMAP pressedImage = nullptr;
    HBITMAP normalImage = nullptr;
    HDC pressedDC = nullptr;
    HDC normalDC = nullptr;
    Rect rect;
    Action action = noAction;
};
