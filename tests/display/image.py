"""RGB images: screenshots of the X screen and the skin's bitmaps, pixel
access, and PNG output for the pictures a failed check leaves behind."""

import struct
import zlib


def hex_colour(rgb):
    return "#%02X%02X%02X" % rgb


def quantised(rgb, bits):
    """A colour as a screen of (red, green, blue) bits per channel shows
    it, read back at 8 bits: each channel's top bits, repeated downwards."""
    return tuple(channel if width >= 8 else widened(channel >> (8 - width), width)
                 for channel, width in zip(rgb, bits))


def widened(value, bits):
    """A channel of that many bits at 8 bits, its bits repeated downwards
    (as X reads back a 5-bit channel: 0x1F gives 0xFF)."""
    result, filled = 0, 0
    while filled < 8:
        result = (result << bits) | value
        filled += bits
    return result >> (filled - 8)


class Image:
    """Rows of 8-bit R, G, B, top row first. A screenshot of part of the
    screen keeps where that part is: its pixels are addressed in screen
    coordinates."""

    def __init__(self, width, height, rgb, left=0, top=0):
        if len(rgb) != width * height * 3:
            raise ValueError("%dx%d image needs %d bytes, got %d" % (width, height, width * height * 3, len(rgb)))
        self.width = width
        self.height = height
        self.rgb = bytes(rgb)
        self.left = left
        self.top = top

    def contains(self, x, y):
        return 0 <= x - self.left < self.width and 0 <= y - self.top < self.height

    def pixel(self, x, y):
        i = ((y - self.top) * self.width + x - self.left) * 3
        return (self.rgb[i], self.rgb[i + 1], self.rgb[i + 2])

    def row(self, y, left, right):
        """The bytes of pixels left to right (exclusive) of row y."""
        start = ((y - self.top) * self.width + left - self.left) * 3
        return self.rgb[start:start + (right - left) * 3]

    def scaled(self, factor):
        """Every pixel a factor x factor block of its colour."""
        rows = []
        for y in range(self.height):
            row = self.rgb[y * self.width * 3:(y + 1) * self.width * 3]
            wide = b"".join(row[x:x + 3] * factor for x in range(0, len(row), 3))
            rows.append(wide * factor)
        return Image(self.width * factor, self.height * factor, b"".join(rows))

    def quantised(self, bits):
        """This image as a screen of (red, green, blue) bits per channel
        shows it."""
        if min(bits) >= 8:
            return self
        rgb = bytearray(self.rgb)
        for i in range(0, len(rgb), 3):
            rgb[i:i + 3] = bytes(quantised(tuple(rgb[i:i + 3]), bits))
        return Image(self.width, self.height, bytes(rgb), self.left, self.top)

    def colours(self):
        """Every colour the image uses."""
        return {self.rgb[i:i + 3] for i in range(0, len(self.rgb), 3)}

    def save_png(self, path):
        raw = b"".join(b"\x00" + self.rgb[y * self.width * 3:(y + 1) * self.width * 3] for y in range(self.height))

        def chunk(kind, data):
            return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(path, "wb") as out:
            out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 6)) +
                      chunk(b"IEND", b""))
