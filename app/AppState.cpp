#include "AppState.h"

namespace AppState {

// The three objects built before the entry point runs, in this order.
FrameClock clock;
WidgetList widgets;  // its nodes are freed at process exit
TextStyle readoutStyle;

HINSTANCE instance = nullptr;
HWND window = nullptr;
int32_t runState = notStarted;

HBITMAP backBitmap = nullptr;
HDC backDC = nullptr;
HBITMAP backgroundBitmap = nullptr;
HDC backgroundDC = nullptr;
HBITMAP frameBitmaps[4] = {};
HDC frameDCs[4] = {};

ToggleButton* play = nullptr;
ToggleButton* pause = nullptr;
Slider* scroll = nullptr;
Slider* volume = nullptr;

}  // namespace AppState
