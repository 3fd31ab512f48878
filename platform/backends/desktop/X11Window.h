// The X11 side of an SDL window, for what SDL itself does not offer: cutting
// the window's outline (and where it takes input) to a set of rectangles,
// asking where the pointer is, and whether a window manager is running.
#pragma once

#include <windows.h>

#include <vector>

#include "X11Connection.h"

struct SDL_Window;
struct _XDisplay;
union _XEvent;

namespace layer {

class X11Window {
public:
    // The X11 window behind an SDL window; invalid when SDL runs on another
    // video driver.
    static X11Window of(SDL_Window* window);

    bool valid() const { return display_ != nullptr; }
    X11Connection connection() const { return X11Connection(display_); }
    // The X server's name for the window.
    unsigned long id() const { return window_; }

    // Shows (and takes pointer input on) only these rectangles, in client
    // coordinates; null gives the whole rectangle back. Without the X shape
    // extension the window stays rectangular.
    void setShape(const std::vector<RECT>* rects) const;

    // The pointer in screen coordinates, asked of the X server just now.
    bool pointer(POINT& position) const;

    // Whether something manages the screen's windows (EWMH's supporting-WM
    // check on the root window). Without one, nothing ever minimises a window.
    bool windowManagerRunning() const;

    // Sends keyboard input to this window, as a window manager would on
    // activating it.
    void takeFocus() const;

    // Reports every pointer motion and button to this window, wherever the
    // pointer is, from this button press until releasePointer. Crossings are
    // not reported meanwhile.
    void holdPointer(const _XEvent& press) const;
    void releasePointer(const _XEvent& release) const;

    // Whether an X event was reported for this window.
    bool owns(const _XEvent& event) const;

private:
    _XDisplay* display_ = nullptr;
    unsigned long window_ = 0;
};

}  // namespace layer
