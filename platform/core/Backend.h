// The seam between the layer and where pixels go and input comes from: the
// desktop backend (a real window on SDL2) or the headless backend (no display,
// a virtual clock and scripted input, used by the tests).
#pragma once

#include <windows.h>

#include <memory>
#include <string>

namespace layer {

class Window;

struct BackendEvent {
    // DisplayLost: the screen the windows were on is gone (its server ended);
    // nothing will be shown or come in any more. WindowMoved: the desktop put
    // `window` at (screenX, screenY), whoever asked for it.
    enum class Type { PointerMove, PointerDown, PointerUp, CloseRequest, DismissBox, Restore, DisplayLost, WindowMoved };
    Type type = Type::PointerMove;
    int screenX = 0;  // pointer position in screen coordinates
    int screenY = 0;
    WPARAM modifiers = 0;  // MK_SHIFT and MK_CONTROL as held during the event
    // The window the desktop reported a pointer event to, with the pointer's
    // place relative to that window's top-left corner: the desktop knows
    // where its windows are better than the layer does. Null: the layer
    // finds the window under (screenX, screenY) itself.
    Window* window = nullptr;
    int windowX = 0;
    int windowY = 0;
};

// Positions the backend reports (events, the cursor, the screen's size) are
// in device pixels. A backend with a scale of N shows each of the program's
// pixels as an N x N block; the program, like a Windows program that knows
// nothing of the screen's density, sees only its own pixels, and the layer
// divides for it.

class Backend {
public:
    virtual ~Backend() = default;

    virtual SIZE screenSize() = 0;
    // Device pixels per pixel of the program, along each axis; at least 1.
    virtual int scale() { return 1; }
    virtual LONGLONG counterFrequency() = 0;
    virtual LONGLONG counter() = 0;
    virtual void sleep(DWORD milliseconds) = 0;
    virtual POINT cursorPosition() = 0;

    // Puts the window on the screen; false (with the reason) when there is
    // no display to put it on.
    virtual bool showWindow(Window& window, std::string& whyNot) = 0;
    virtual void hideWindow(Window& window) = 0;
    // The window's surface holds a new complete frame.
    virtual void present(Window& window) = 0;
    // The window's region changed.
    virtual void reshape(Window& window) = 0;
    // The window's position changed (see Window::deviceX).
    virtual void place(Window& window) = 0;
    virtual void minimize(Window& window) = 0;

    // Hands the move that a press on the window's caption starts to the
    // desktop, anchored at the press (in screen coordinates), where only the
    // desktop can move windows. True once the desktop has taken the move and
    // it is over (the button is up, its release not reported); false leaves
    // the move to the layer's own loop.
    virtual bool moveByDesktop(Window& window, POINT press) {
        (void)window;
        (void)press;
        return false;
    }

    // The next input or system event. With wait false, only one that is due
    // now; with wait true, blocks (or, headless, lets virtual time pass) until
    // one arrives. False when there is none (wait false), or none will ever
    // come (wait true).
    virtual bool nextEvent(BackendEvent& event, bool wait) = 0;

    // Shows a modal message box and returns the button that closed it.
    virtual int messageBox(HWND owner, const char* text, const char* caption, UINT type) = 0;

    // The program polled and found nothing to do.
    virtual void idle() {}
};

// What a program ends with once its display has gone: it is asked to close,
// and whatever it then posts as its exit code, it did not end as it wished.
constexpr int displayLostExitCode = 2;

// The backend a process starts with, chosen at link time: the program links
// the desktop one, the tests the headless one.
std::unique_ptr<Backend> makeDefaultBackend();

}  // namespace layer
