// The page the web backend draws on, as the C++ side sees it: thin calls into
// the page's desktop (page/desktop.js), which owns the canvases, the message
// boxes, the taskbar and the queue of input the page has seen. Positions and
// sizes are in device pixels of the screen (CSS pixels times the page's
// devicePixelRatio).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace layer {

class WebPage {
public:
    // What takeEvent reports; the same numbers as in desktop.js.
    enum class EventKind { None = -1, PointerMove = 0, PointerDown = 1, PointerUp = 2, DismissBox = 4, Restore = 5 };
    struct Event {
        EventKind kind = EventKind::None;
        int x = 0;
        int y = 0;
        int modifiers = 0;  // MK_SHIFT, MK_CONTROL
    };

    static SIZE screenSize();
    static double devicePixelRatio();
    static POINT cursor();

    static void showWindow(int id, const std::string& title, int x, int y, int width, int height);
    static void hideWindow(int id);
    static void placeWindow(int id, int x, int y);
    // The outline as rectangles (left, top, right, bottom) in device pixels
    // of the window; count < 0 for no outline but the window's box.
    static void shapeWindow(int id, const int* rects, int count);
    static void showRows(int id, const uint8_t* rgba, int width, int top, int bottom);
    static void minimizeWindow(int id);

    static int openBox(const std::string& caption, const std::string& text);
    static bool boxOpen(int id);
    static void closeBox(int id);

    static Event takeEvent();
    static void programEnded(int exitCode);
};

}  // namespace layer
