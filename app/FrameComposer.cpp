#include "FrameComposer.h"

#include <windows.h>

#include <cstdio>

#include "../widgets/Slider.h"
#include "../widgets/Widget.h"
#include "AppState.h"
#include "Skin.h"

using namespace AppState;

namespace {

constexpr int animationX = 219;
constexpr int animationY = 101;
constexpr int animationWidth = 7;
constexpr int animationHeight = 61;
constexpr int readoutX = 47;
constexpr int readoutY = 196;
constexpr int32_t readoutGreen = 0x0DCC0D;

void drawReadout() {
    double v = volume ? volume->value() : 0.0;
    char text[16];
    std::snprintf(text, sizeof text, "Volume: %d", volumePercent(v));
    SetBkMode(backDC, TRANSPARENT);
    readoutStyle.set("Verdana", 7, readoutGreen, 0x000000, false, false, false, false);
    readoutStyle.draw(text, backDC, readoutX, readoutY);
}

}  // namespace

int volumePercent(double value) { return int((1.0 - value) * 100.0); }

void composeFrame(uint32_t t) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    BitBlt(backDC, 0, 0, windowWidth, windowHeight, backgroundDC, 0, 0, SRCCOPY);
    BitBlt(backDC, animationX, animationY, animationWidth, animationHeight, frameDCs[animationFrameAt(t)], 0, 0,
           SRCCOPY);
    drawReadout();
    for (WidgetList::Node* node = widgets.head; node; node = node->next) node->widget->draw(backDC);
    HDC windowDC = GetDC(window);
    BitBlt(windowDC, 0, 0, windowWidth, windowHeight, backDC, 0, 0, SRCCOPY);
    ReleaseDC(window, windowDC);
    EndPaint(window, &paint);
}
