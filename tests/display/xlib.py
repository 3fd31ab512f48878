"""Direct Xlib calls, through ctypes, for what the X command-line tools do
not tell: the stacking order of the root's children, a window's parent, and
client messages sent straight to a window."""

import contextlib
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


def _library():
    name = ctypes.util.find_library("X11")
    if name is None:
        raise RuntimeError("libX11 is not installed")
    x = ctypes.CDLL(name)
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XInternAtom.restype = ctypes.c_ulong
    x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.POINTER(XEvent)]
    x.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                             ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                             ctypes.POINTER(ctypes.c_uint)]
    x.XDefaultRootWindow.restype = ctypes.c_ulong
    x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x.XFree.argtypes = [ctypes.c_void_p]
    x.XFlush.argtypes = [ctypes.c_void_p]
    x.XCloseDisplay.argtypes = [ctypes.c_void_p]
    return x


class Connection:
    def __init__(self, x, display):
        self.x = x
        self.display = display

    def atom(self, name):
        return self.x.XInternAtom(self.display, name.encode(), False)

    def tree(self, window):
        """(parent, children bottom to top) of a window."""
        root, parent = ctypes.c_ulong(), ctypes.c_ulong()
        children = ctypes.POINTER(ctypes.c_ulong)()
        count = ctypes.c_uint()
        if not self.x.XQueryTree(self.display, window, ctypes.byref(root), ctypes.byref(parent),
                                 ctypes.byref(children), ctypes.byref(count)):
            raise RuntimeError("XQueryTree failed for window 0x%x" % window)
        listed = [children[i] for i in range(count.value)]
        if children:
            self.x.XFree(children)
        return parent.value, listed

    def root(self):
        return self.x.XDefaultRootWindow(self.display)

    def top_level(self, window):
        """The root's child that holds the window: the window itself with no
        window manager, its frame under a reparenting one."""
        root = self.root()
        while True:
            parent, _ = self.tree(window)
            if parent in (root, 0):
                return window
            window = parent

    def send_client_message(self, window, message_type, data):
        event = XEvent()
        event.xclient.type = CLIENT_MESSAGE
        event.xclient.window = window
        event.xclient.message_type = self.atom(message_type)
        event.xclient.format = 32
        for i, value in enumerate(data):
            event.xclient.data[i] = value
        if not self.x.XSendEvent(self.display, window, False, NO_EVENT_MASK, ctypes.byref(event)):
            raise RuntimeError("XSendEvent refused the %s message" % message_type)
        self.x.XFlush(self.display)


@contextlib.contextmanager
def connect(display_name):
    x = _library()
    display = x.XOpenDisplay(display_name.encode())
    if not display:
        raise RuntimeError("cannot open display %s" % display_name)
    try:
        yield Connection(x, display)
    finally:
        x.XCloseDisplay(display)


def stacking_order(display_name, windows):
    """Where each window's top-level window stands among the root's
    children, 0 at the bottom."""
    with connect(display_name) as connection:
        _, stack = connection.tree(connection.root())
        return [stack.index(connection.top_level(window)) for window in windows]


def top_level(display_name, window):
    with connect(display_name) as connection:
        return connection.top_level(window)
