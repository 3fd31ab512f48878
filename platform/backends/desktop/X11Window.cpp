#include "X11Window.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/shape.h>

#include "RectArithmetic.h"

namespace layer {

namespace {

std::vector<XRectangle> toXRectangles(const std::vector<RECT>& rects) {
    std::vector<XRectangle> result;
    result.reserve(rects.size());
    for (const RECT& r : rects) {
        Span16 across = toSpan16(r.left, r.right);
        Span16 down = toSpan16(r.top, r.bottom);
        result.push_back(XRectangle{across.origin, down.origin, across.extent, down.extent});
    }
    return result;
}

// Whether a request failed. Set only while one is awaited with errors
// trapped, when nothing else can report an error.
bool requestFailed = false;
int noteRequestFailed(Display*, XErrorEvent*) {
    requestFailed = true;
    return 0;
}

// The window that a window's property names, or 0 (also when the window
// itself does not exist, which is no error here: it is what is asked).
::Window windowProperty(Display* display, ::Window window, Atom property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    XSync(display, False);
    requestFailed = false;
    XErrorHandler previous = XSetErrorHandler(noteRequestFailed);
    int status = XGetWindowProperty(display, window, property, 0, 1, False, XA_WINDOW, &type, &format, &count,
                                    &remaining, &data);
    XSync(display, False);
    XSetErrorHandler(previous);
    ::Window named = 0;
    if (!requestFailed && status == Success && type == XA_WINDOW && format == 32 && count == 1 && data)
        named = *reinterpret_cast<::Window*>(data);
    if (data) XFree(data);
    return named;
}

// EWMH's check: the root names a window, and that window names itself. A
// window manager that has ended may leave the root's property behind, but
// not its window.
bool supportingWmCheck(Display* display) {
    Atom property = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (property == None) return false;
    ::Window check = windowProperty(display, DefaultRootWindow(display), property);
    return check != 0 && windowProperty(display, check, property) == check;
}

// _NET_WM_MOVERESIZE's directions, and its source for a normal program.
constexpr long moveResizeMove = 8;
constexpr long moveResizeCancel = 11;
constexpr long sourceApplication = 1;

void sendMoveResize(Display* display, ::Window window, POINT root, long direction) {
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = window;
    message.xclient.message_type = XInternAtom(display, "_NET_WM_MOVERESIZE", False);
    message.xclient.format = 32;
    message.xclient.data.l[0] = root.x;
    message.xclient.data.l[1] = root.y;
    message.xclient.data.l[2] = direction;
    message.xclient.data.l[3] = Button1;
    message.xclient.data.l[4] = sourceApplication;
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask, &message);
    XFlush(display);
}

}  // namespace

X11Window X11Window::of(SDL_Window* window) {
    X11Window result;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window && SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11) {
        result.display_ = info.info.x11.display;
        result.window_ = info.info.x11.window;
    }
    return result;
}

// The input shape is set along with the bounding one: input already follows
// the bounding shape, but a compositor or toolkit may have set an input
// shape of its own that must not let clicks through to a different outline.
void X11Window::setShape(const std::vector<RECT>* rects) const {
    if (!valid()) return;
    int eventBase = 0;
    int errorBase = 0;
    if (!XShapeQueryExtension(display_, &eventBase, &errorBase)) return;
    for (int kind : {ShapeBounding, ShapeInput}) {
        if (!rects) {
            XShapeCombineMask(display_, window_, kind, 0, 0, None, ShapeSet);
            continue;
        }
        std::vector<XRectangle> shape = toXRectangles(*rects);
        XShapeCombineRectangles(display_, window_, kind, 0, 0, shape.data(), int(shape.size()), ShapeSet, Unsorted);
    }
    XFlush(display_);
}

bool X11Window::pointer(POINT& position, bool* leftButtonHeld) const {
    if (!valid()) return false;
    ::Window root = 0;
    ::Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned int mask = 0;
    if (!XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &rootX, &rootY, &windowX, &windowY, &mask))
        return false;
    position = POINT{rootX, rootY};
    if (leftButtonHeld) *leftButtonHeld = (mask & Button1Mask) != 0;
    return true;
}

// Asked of the server: whatever the window manager did with the window (a
// frame around it, a place of its own), this is where it is.
bool X11Window::rootPosition(POINT& position) const {
    if (!valid()) return false;
    int x = 0;
    int y = 0;
    ::Window child = 0;
    if (!XTranslateCoordinates(display_, window_, DefaultRootWindow(display_), 0, 0, &x, &y, &child)) return false;
    position = POINT{x, y};
    return true;
}

void X11Window::moveTo(POINT root) const {
    if (!valid()) return;
    XMoveWindow(display_, window_, int(root.x), int(root.y));
    XFlush(display_);
}

// The window manager needs the pointer for itself: the hold a press gave
// the window is let go first.
void X11Window::askWindowManagerToMove(POINT rootPress) const {
    if (!valid()) return;
    XUngrabPointer(display_, CurrentTime);
    sendMoveResize(display_, window_, rootPress, moveResizeMove);
}

void X11Window::cancelWindowManagerMove(POINT rootPointer) const {
    if (valid()) sendMoveResize(display_, window_, rootPointer, moveResizeCancel);
}

void X11Window::takeFocus() const {
    if (!valid()) return;
    XSetInputFocus(display_, window_, RevertToPointerRoot, CurrentTime);
    XFlush(display_);
}

void X11Window::holdPointer(const XEvent& press) const {
    if (!valid()) return;
    constexpr unsigned int events = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
    XGrabPointer(display_, window_, False, events, GrabModeAsync, GrabModeAsync, None, None, press.xbutton.time);
    XFlush(display_);
}

void X11Window::releasePointer(const XEvent& release) const {
    if (!valid()) return;
    XUngrabPointer(display_, release.xbutton.time);
    XFlush(display_);
}

int X11Window::depth() const {
    XWindowAttributes attributes;
    if (!valid() || !XGetWindowAttributes(display_, window_, &attributes)) return 0;
    return attributes.depth;
}

bool X11Window::owns(const XEvent& event) const { return valid() && event.xany.window == window_; }

bool X11Window::windowManagerRunning() const { return valid() && supportingWmCheck(display_); }

}  // namespace layer
