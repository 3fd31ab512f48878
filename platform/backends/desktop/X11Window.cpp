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

// The window named by the root's _NET_SUPPORTING_WM_CHECK property, or 0.
::Window supportingWmCheck(Display* display) {
    Atom property = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (property == None) return 0;
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    int status = XGetWindowProperty(display, DefaultRootWindow(display), property, 0, 1, False, XA_WINDOW, &type,
                                    &format, &count, &remaining, &data);
    ::Window check = 0;
    if (status == Success && type == XA_WINDOW && format == 32 && count == 1 && data)
        check = *reinterpret_cast<::Window*>(data);
    if (data) XFree(data);
    return check;
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

bool X11Window::pointer(POINT& position) const {
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
    return true;
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

bool X11Window::owns(const XEvent& event) const { return valid() && event.xany.window == window_; }

bool X11Window::windowManagerRunning() const { return valid() && supportingWmCheck(display_) != 0; }

}  // namespace layer
