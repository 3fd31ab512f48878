"""What the window should show, pixel by pixel, and the comparison of a
screenshot with it that names the first pixels that differ."""

import layout
from image import Image, hex_colour

OUTSIDE = "the root colour (outside the window region)"


class ExpectedWindow:
    """The expected picture of the whole 326 x 272 box: the root colour
    outside the region, the background inside it, bitmaps painted on top
    (clipped by the region, as the window shows them), and areas that are
    not compared at all."""

    def __init__(self, skin, root_colour):
        self.width, self.height = layout.WINDOW_SIZE
        self.inside = skin.region.mask(self.width, self.height)
        background = skin["background"]
        self.pixels = [background.pixel(i % self.width, i // self.width) if self.inside[i] else root_colour
                       for i in range(self.width * self.height)]
        self.sources = [("background.bmp", i % self.width, i // self.width) if self.inside[i] else (OUTSIDE,)
                        for i in range(self.width * self.height)]
        self.compared = bytearray(b"\x01" * (self.width * self.height))

    def paint(self, image, name, at):
        left, top = at
        for y in range(image.height):
            for x in range(image.width):
                cx, cy = left + x, top + y
                if 0 <= cx < self.width and 0 <= cy < self.height and self.inside[cy * self.width + cx]:
                    self.pixels[cy * self.width + cx] = image.pixel(x, y)
                    self.sources[cy * self.width + cx] = (name + ".bmp", x, y)

    def ignore(self, rect):
        left, top, right, bottom = rect
        for y in range(max(top, 0), min(bottom, self.height)):
            for x in range(max(left, 0), min(right, self.width)):
                self.compared[y * self.width + x] = 0

    def image(self):
        """The picture itself, with the areas not compared in grey."""
        rgb = bytearray()
        for i, pixel in enumerate(self.pixels):
            rgb += bytes(pixel) if self.compared[i] else b"\x80\x80\x80"
        return Image(self.width, self.height, bytes(rgb))

    def compare(self, shot, origin, limit=5):
        """None when the screenshot shows this picture with the window's
        top-left at origin; otherwise which pixels differ and how. Pixels
        off the screen are not compared."""
        ox, oy = origin
        differences = []
        count = 0
        for y in range(self.height):
            for x in range(self.width):
                i = y * self.width + x
                if not self.compared[i] or not shot.contains(ox + x, oy + y):
                    continue
                got = shot.pixel(ox + x, oy + y)
                if got == self.pixels[i]:
                    continue
                count += 1
                if len(differences) < limit:
                    differences.append(describe(x, y, origin, got, self.pixels[i], self.sources[i]))
        if not count:
            return None
        return "%d pixels differ, first: %s" % (count, "; ".join(differences))


def describe(x, y, origin, got, wanted, source):
    if len(source) == 3:
        source = "%s pixel (%d,%d)" % source
    else:
        source = source[0]
    return "client (%d,%d) = screen (%d,%d) is %s, expected %s from %s" % (
        x, y, x + origin[0], y + origin[1], hex_colour(got), hex_colour(wanted), source)


def area_pixels(shot, origin, rect):
    """The screenshot's bytes of a client rectangle, row after row."""
    left, top, right, bottom = rect
    rows = []
    for y in range(top, bottom):
        start = ((origin[1] + y) * shot.width + origin[0] + left) * 3
        rows.append(shot.rgb[start:start + (right - left) * 3])
    return b"".join(rows)
