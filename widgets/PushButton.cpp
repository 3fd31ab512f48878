#include "PushButton.h"

void PushButton::draw(HDC dc) {
    HDC source = pressed ? pressedDC : normalDC;
    BitBlt(dc, rect.left, rect.top, rect.width(), rect.height(), source, 0, 0, SRCCOPY);
}
