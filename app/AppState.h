#pragma once

#include <windows.h>

#include <cstdint>

#include "../text/TextStyle.h"
#include "../widgets/WidgetList.h"
#include "FrameClock.h"

class ToggleButton;
class Slider;

// The program's state: plain globals, set by start-up. They live in a
// namespace of their own because some of their names (clock, pause) are also
// C library functions.
namespace AppState {

enum RunState : int32_t { notStarted = 0, running = 1, closing = 2 };

extern HINSTANCE instance;
extern HWND window;
extern int32_t runState;
extern FrameClock clock;
extern WidgetList widgets;

extern HBITMAP backBitmap;
extern HDC backDC;
extern HBITMAP backgroundBitmap;
extern HDC backgroundDC;
extern HBITMAP frameBitmaps[4];
extern HDC frameDCs[4];

extern ToggleButton* play;
extern ToggleButton* pause;
extern Slider* scroll;
extern Slider* volume;

extern TextStyle readoutStyle;

}  // namespace AppState
