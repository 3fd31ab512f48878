// Which part of the X screen Windows would call the screen: the primary
// monitor. On Windows the primary monitor's size is the screen's size
// (GetSystemMetrics(SM_CXSCREEN)), and screen coordinates have their origin
// at its top-left corner, wherever it sits in the desktop.
#pragma once

#include <windows.h>

struct _XDisplay;

namespace layer {

class X11Monitors {
public:
    // The primary monitor in root coordinates: RandR's primary one, the
    // first monitor when none is primary, the whole root window without
    // RandR's monitors. Empty when nothing could be asked.
    static RECT primary(_XDisplay* display);
    // The same, asked over a connection of its own to the named display.
    static RECT primaryOf(const char* displayName);
};

}  // namespace layer
