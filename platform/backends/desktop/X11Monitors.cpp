#include "X11Monitors.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

namespace layer {

namespace {

RECT wholeRoot(Display* display) {
    int screen = DefaultScreen(display);
    return RECT{0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)};
}

bool hasMonitors(Display* display) {
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    return XRRQueryExtension(display, &eventBase, &errorBase) && XRRQueryVersion(display, &major, &minor) &&
           (major > 1 || (major == 1 && minor >= 5));
}

}  // namespace

RECT X11Monitors::primary(Display* display) {
    if (!display) return RECT{};
    if (!hasMonitors(display)) return wholeRoot(display);
    int count = 0;
    XRRMonitorInfo* monitors = XRRGetMonitors(display, DefaultRootWindow(display), True, &count);
    if (!monitors || count <= 0) {
        if (monitors) XRRFreeMonitors(monitors);
        return wholeRoot(display);
    }
    const XRRMonitorInfo* chosen = &monitors[0];
    for (int i = 0; i < count; ++i)
        if (monitors[i].primary) chosen = &monitors[i];
    RECT result{chosen->x, chosen->y, chosen->x + chosen->width, chosen->y + chosen->height};
    XRRFreeMonitors(monitors);
    return result;
}

RECT X11Monitors::primaryOf(const char* displayName) {
    Display* display = XOpenDisplay(displayName);
    if (!display) return RECT{};
    RECT result = primary(display);
    XCloseDisplay(display);
    return result;
}

}  // namespace layer
