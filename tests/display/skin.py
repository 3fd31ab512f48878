"""The skin as the program is built from it: the BMP files and the window
region in res/, read the way the program's resources hold them."""

import os
import struct

from image import Image


def load_bmp(path):
    """A 24-bit uncompressed BMP file (bottom-up or top-down)."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"BM":
        raise ValueError("%s is not a BMP file" % path)
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, planes, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    if bits != 24 or compression != 0:
        raise ValueError("%s: %d bits per pixel, compression %d; expected 24-bit BI_RGB" % (path, bits, compression))
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(abs(height)):
        stored = abs(height) - 1 - y if height > 0 else y
        start = offset + stored * stride
        bgr = data[start:start + width * 3]
        rgb = bytearray(len(bgr))
        rgb[0::3], rgb[1::3], rgb[2::3] = bgr[2::3], bgr[1::3], bgr[0::3]
        rows.append(bytes(rgb))
    return Image(width, abs(height), b"".join(rows))


class Region:
    """The window's outline: the rectangles of an RGNDATA block."""

    def __init__(self, rects):
        self.rects = rects

    @staticmethod
    def load(path):
        with open(path, "rb") as f:
            data = f.read()
        size, kind, count = struct.unpack_from("<III", data, 0)
        if size != 32 or kind != 1 or len(data) < 32 + 16 * count:
            raise ValueError("%s: not an RDH_RECTANGLES region with %d rectangles" % (path, count))
        return Region([struct.unpack_from("<4i", data, 32 + 16 * i) for i in range(count)])

    def contains(self, x, y):
        return any(left <= x < right and top <= y < bottom for left, top, right, bottom in self.rects)

    def mask(self, width, height):
        """A bytearray, 1 where (x, y) is inside, row by row."""
        inside = bytearray(width * height)
        for left, top, right, bottom in self.rects:
            left, right = max(left, 0), min(right, width)
            if left >= right:
                continue
            for y in range(max(top, 0), min(bottom, height)):
                inside[y * width + left:y * width + right] = b"\x01" * (right - left)
        return inside


class Skin:
    """Every bitmap of res/ by file name without .bmp, and the region."""

    def __init__(self, res_dir):
        self.bitmaps = {}
        for name in sorted(os.listdir(res_dir)):
            if name.endswith(".bmp"):
                self.bitmaps[name[:-4]] = load_bmp(os.path.join(res_dir, name))
        self.region = Region.load(os.path.join(res_dir, "region.bin"))

    def __getitem__(self, name):
        return self.bitmaps[name]

    def uses_colour(self, rgb):
        wanted = bytes(rgb)
        return any(wanted in image.colours() for image in self.bitmaps.values())
