"""Direct Xlib calls, through ctypes, for what the X command-line tools do
not tell or do slowly: the stacking order of the root's children, a
window's parent, client messages sent straight to a window, the pixels of
a part of the screen, and which window takes the pointer where."""

import contextlib
import ctypes
import ctypes.util

from image import widened

CLIENT_MESSAGE = 33
NO_EVENT_MASK = 0
Z_PIXMAP = 2
ALL_PLANES = 0xFFFFFFFF
LSB_FIRST = 0


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


class XImage(ctypes.Structure):
    """The leading fields of an XImage, as far as they are read here."""
    _fields_ = [
        ("width", ctypes.c_int),
        ("height", ctypes.c_int),
        ("xoffset", ctypes.c_int),
        ("format", ctypes.c_int),
        ("data", ctypes.c_void_p),
        ("byte_order", ctypes.c_int),
        ("bitmap_unit", ctypes.c_int),
        ("bitmap_bit_order", ctypes.c_int),
        ("bitmap_pad", ctypes.c_int),
        ("depth", ctypes.c_int),
        ("bytes_per_line", ctypes.c_int),
        ("bits_per_pixel", ctypes.c_int),
        ("red_mask", ctypes.c_ulong),
        ("green_mask", ctypes.c_ulong),
        ("blue_mask", ctypes.c_ulong),
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
    x.XGetImage.restype = ctypes.POINTER(XImage)
    x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint, ctypes.c_uint,
                            ctypes.c_ulong, ctypes.c_int]
    x.XDestroyImage.argtypes = [ctypes.POINTER(XImage)]
    x.XWarpPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                               ctypes.c_uint, ctypes.c_uint, ctypes.c_int, ctypes.c_int]
    x.XQueryPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.POINTER(ctypes.c_ulong)] * 2 + [
        ctypes.POINTER(ctypes.c_int)] * 4 + [ctypes.POINTER(ctypes.c_uint)]
    x.XFlush.argtypes = [ctypes.c_void_p]
    x.XCloseDisplay.argtypes = [ctypes.c_void_p]
    x.XQueryExtension.argtypes = [ctypes.c_void_p, ctypes.c_char_p] + [ctypes.POINTER(ctypes.c_int)] * 3
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

    def pointer_targets(self, points):
        """For each screen point, the root's child the pointer is in when
        put there (0 for the root itself): X finds it through each
        window's input shape."""
        root = self.root()
        root_back, child = ctypes.c_ulong(), ctypes.c_ulong()
        coordinates = [ctypes.c_int() for _ in range(4)]
        buttons = ctypes.c_uint()
        targets = []
        for x, y in points:
            self.x.XWarpPointer(self.display, 0, root, 0, 0, 0, 0, x, y)
            self.x.XQueryPointer(self.display, root, ctypes.byref(root_back), ctypes.byref(child),
                                 *(ctypes.byref(c) for c in coordinates), ctypes.byref(buttons))
            targets.append(child.value)
        return targets

    def has_extension(self, name):
        codes = [ctypes.c_int() for _ in range(3)]
        return bool(self.x.XQueryExtension(self.display, name.encode(), *(ctypes.byref(c) for c in codes)))

    def root_pixels(self, left, top, width, height):
        """The screen's rectangle as rows of R, G, B bytes, from a
        true-colour screen of 16 or 32 bits a pixel: a channel of more than
        8 bits gives its top 8, one of fewer its bits repeated downwards."""
        image = self.x.XGetImage(self.display, self.root(), left, top, width, height, ALL_PLANES, Z_PIXMAP)
        if not image:
            raise RuntimeError("XGetImage failed for %dx%d at (%d,%d)" % (width, height, left, top))
        try:
            layout = image.contents
            masks = (layout.red_mask, layout.green_mask, layout.blue_mask)
            if layout.bits_per_pixel not in (16, 32) or layout.byte_order != LSB_FIRST:
                raise RuntimeError("the screen's pixels are %d-bit, byte order %d: not a layout read here" % (
                    layout.bits_per_pixel, layout.byte_order))
            stride = layout.bytes_per_line
            raw = ctypes.string_at(layout.data, stride * height)
            size = layout.bits_per_pixel // 8
        finally:
            self.x.XDestroyImage(image)
        if stride != width * size:
            raw = b"".join(raw[y * stride:y * stride + width * size] for y in range(height))
        rgb = bytearray(width * height * 3)
        if size == 4 and masks == (0xFF0000, 0xFF00, 0xFF):
            # Each pixel is B, G, R, unused in memory.
            rgb[0::3], rgb[1::3], rgb[2::3] = raw[2::4], raw[1::4], raw[0::4]
            return bytes(rgb)
        pixels = memoryview(raw).cast("I" if size == 4 else "H")
        for channel, mask in enumerate(masks):
            read = channel_reader(mask)
            # Each value once: a screen holds few colours.
            seen = {}
            rgb[channel::3] = bytes(seen[p] if p in seen else seen.setdefault(p, read(p)) for p in pixels)
        return bytes(rgb)


def channel_reader(mask):
    """A function from a pixel to its channel under the mask, at 8 bits."""
    shift = (mask & -mask).bit_length() - 1
    bits = bin(mask).count("1")
    if bits >= 8:
        return lambda pixel: ((pixel & mask) >> shift) >> (bits - 8)
    return lambda pixel: widened(((pixel & mask) >> shift), bits)


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


def root_pixels(display_name, left, top, width, height):
    with connect(display_name) as connection:
        return connection.root_pixels(left, top, width, height)


def pointer_targets(display_name, points):
    with connect(display_name) as connection:
        return connection.pointer_targets(points)


def has_extension(display_name, name):
    with connect(display_name) as connection:
        return connection.has_extension(name)
