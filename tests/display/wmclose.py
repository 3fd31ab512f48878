"""The close request a window manager sends: a WM_PROTOCOLS client message
carrying WM_DELETE_WINDOW, sent straight to the window through Xlib, since
the test's X server runs no window manager."""

import ctypes
import ctypes.util

CLIENT_MESSAGE = 33
NO_EVENT_MASK = 0


class XClientMessageEvent(ctypes.Structure):
    _fields_ = [
        ("type", ctypes.c_int),
        ("serial", ctypes.c_ulong),
        ("send_event", ctypes.c_int),
        ("display", ctypes.c_void_p),
        ("window", ctypes.c_ulong),
        ("message_type", ctypes.c_ulong),
        ("format", ctypes.c_int),
        ("data", ctypes.c_long * 5),
    ]


class XEvent(ctypes.Union):
    _fields_ = [("xclient", XClientMessageEvent), ("pad", ctypes.c_long * 24)]


def _xlib():
    name = ctypes.util.find_library("X11")
    if name is None:
        raise RuntimeError("libX11 is not installed")
    x = ctypes.CDLL(name)
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XInternAtom.restype = ctypes.c_ulong
    x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.POINTER(XEvent)]
    x.XFlush.argtypes = [ctypes.c_void_p]
    x.XCloseDisplay.argtypes = [ctypes.c_void_p]
    return x


def request_close(display_name, window):
    x = _xlib()
    display = x.XOpenDisplay(display_name.encode())
    if not display:
        raise RuntimeError("cannot open display %s" % display_name)
    try:
        event = XEvent()
        event.xclient.type = CLIENT_MESSAGE
        event.xclient.window = window
        event.xclient.message_type = x.XInternAtom(display, b"WM_PROTOCOLS", False)
        event.xclient.format = 32
        event.xclient.data[0] = x.XInternAtom(display, b"WM_DELETE_WINDOW", False)
        event.xclient.data[1] = 0  # CurrentTime
        if not x.XSendEvent(display, window, False, NO_EVENT_MASK, ctypes.byref(event)):
            raise RuntimeError("XSendEvent refused the close request")
        x.XFlush(display)
    finally:
        x.XCloseDisplay(display)
