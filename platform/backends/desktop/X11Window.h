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
    // The window's depth in bits, or 0 when unknown.
    int depth() const;

    // Shows (and takes pointer input on) only these rectangles, in client
    // coordinates; null gives the whole rectangle back. Without the X shape
    // extension the window stays rectangular.
    void setShape(const std::vector<RECT>* rects) const;

    // The pointer in root coordinates, asked of the X server just now, and
    // whether the left button is held.
    bool pointer(POINT& position, bool* leftButtonHeld = nullptr) const;

    // Where the window's top-left corner really is, in root coordinates,
    // asked of the X server just now.
    bool rootPosition(POINT& position) const;
    // Asks for the window's top-left corner to go to a place in root
    // coordinates; a window manager may refuse.
    void moveTo(POINT root) const;

    // Whether something manages the screen's windows (EWMH's supporting-WM
    // check, which a window manager that has ended cannot pass). Without
    // one, nothing ever minimises a window.
    bool windowManagerRunning() const;

    // Hands a move to the window manager (EWMH's _NET_WM_MOVERESIZE),
    // anchored at a press in root coordinates, and takes it back: a window
    // manager that has not yet begun the move must not begin it once the
    // button is up.
    void askWindowManagerToMove(POINT rootPress) const;
    void cancelWindowManagerMove(POINT rootPointer) const;

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
