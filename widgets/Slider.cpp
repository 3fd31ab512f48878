#include "Slider.h"

Slider::Slider(HINSTANCE instance, int normalId, int pressedId, int32_t height, const Rect& track)
    : Widget(instance, normalId, pressedId, track) {
    thumb = track;
    thumbHeight = height;
    thumb.bottom = thumb.top + thumbHeight;
}

void Slider::draw(HDC dc) {
    HDC source = pressed ? pressedDC : normalDC;
    BitBlt(dc, thumb.left, thumb.top, thumb.width(), thumb.height(), source, 0, 0, SRCCOPY);
}

int32_t Slider::clampedTop(int32_t top) const {
    if (top < rect.top) top = rect.top;
    if (top >= rect.bottom - thumbHeight) top = rect.bottom - thumbHeight;
    return top;
}

// Only the cursor's vertical movement since the last call matters, so the
// position carried by the window message is not used.
void Slider::press() {
    POINT cursor{0, 0};
    GetCursorPos(&cursor);
    int32_t cy = cursor.y;
    if (!pressed) {
        anchorY = cy;
        pressed = true;
        return;
    }
    int32_t top = clampedTop(thumb.top + (cy - anchorY));
    thumb.top = top;
    thumb.bottom = top + thumbHeight;
    anchorY = cy;
}

int Slider::hitTest(int32_t x, int32_t y) { return thumb.contains(x, y) ? 1 : 0; }

double Slider::value() { return double(thumb.top - rect.top) / double(travel()); }

void Slider::setValue(float v) {
    double top = double(travel()) * double(v) + double(rect.top);
    int32_t clamped = clampedTop(int32_t(top));
    thumb.top = clamped;
    thumb.bottom = clamped + thumbHeight;
}
