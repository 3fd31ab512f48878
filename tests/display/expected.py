"""What the window should show, pixel by pixel, and the comparison of a
screenshot with it that names the first pixels that differ."""

import layout
from image import Image, hex_colour, quantised

OUTSIDE = "the root colour (outside the window region)"


class ExpectedWindow:
    """The expected picture of the whole 326 x 272 box: the root colour
    outside the region, the background inside it, bitmaps painted on top
    (clipped by the region, as the window shows them), and areas that are
    not compared at all. On a scaled screen the window shows the same
    picture with every pixel an N x N block of device pixels."""

    def __init__(self, skin, root_colour):
        self.width, self.height = layout.WINDOW_SIZE
        self.scale = 1
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

    def scaled(self, factor):
        """This picture, from now on as a window scaled by factor shows it
        (nearest neighbour): compared and saved in device pixels."""
        self.scale = factor
        return self

    def quantised(self, bits):
        """This picture as a screen of (red, green, blue) bits per channel
        shows it."""
        if min(bits) < 8:
            self.pixels = [quantised(pixel, bits) for pixel in self.pixels]
        return self

    def device_size(self):
        return (self.width * self.scale, self.height * self.scale)

    def device_row(self, y):
        """The bytes of one row of the picture, pixels scaled, not yet
        repeated for the rows of a block."""
        row = self.pixels[y * self.width:(y + 1) * self.width]
        return b"".join(bytes(pixel) * self.scale for pixel in row)

    def compared_runs(self, y):
        """(left, right) of the stretches of row y that are compared."""
        runs = []
        flags = self.compared[y * self.width:(y + 1) * self.width]
        x = 0
        while x < self.width:
            if not flags[x]:
                x += 1
                continue
            end = flags.find(b"\x00", x)
            end = self.width if end < 0 else end
            runs.append((x, end))
            x = end
        return runs

    def image(self):
        """The picture itself in device pixels, with the areas not compared
        in grey."""
        grey = b"\x80\x80\x80" * self.scale
        rows = []
        for y in range(self.height):
            row = b"".join(bytes(self.pixels[y * self.width + x]) * self.scale if self.compared[y * self.width + x]
                           else grey for x in range(self.width))
            rows.append(row * self.scale)
        return Image(self.width * self.scale, self.height * self.scale, b"".join(rows))

    def compare(self, shot, origin, limit=5):
        """None when the screenshot shows this picture with the window's
        top-left at the device pixel origin; otherwise which device pixels
        differ and how. Pixels off the screenshot are not compared. Rows
        are compared whole first, pixel by pixel only where they differ."""
        ox, oy = origin
        n = self.scale
        differences = []
        count = 0
        for y in range(self.height):
            wanted_row = self.device_row(y)
            runs = self.compared_runs(y)
            for dy in range(y * n, (y + 1) * n):
                if not shot.contains(shot.left, oy + dy):
                    continue
                for left, right in runs:
                    # The run in device pixels of the window, clipped to the shot.
                    start = max(left * n, shot.left - ox)
                    end = min(right * n, shot.left + shot.width - ox)
                    if start >= end or shot.row(oy + dy, ox + start, ox + end) == wanted_row[start * 3:end * 3]:
                        continue
                    for dx in range(start, end):
                        got = shot.pixel(ox + dx, oy + dy)
                        i = y * self.width + dx // n
                        if got == self.pixels[i]:
                            continue
                        count += 1
                        if len(differences) < limit:
                            differences.append(describe(dx, dy, n, origin, got, self.pixels[i], self.sources[i]))
        if not count:
            return None
        return "%d pixels differ, first: %s" % (count, "; ".join(differences))


def describe(x, y, scale, origin, got, wanted, source):
    if len(source) == 3:
        source = "%s pixel (%d,%d)" % source
    else:
        source = source[0]
    where = "client (%d,%d)" % (x, y)
    if scale > 1:
        where = "device (%d,%d) of client (%d,%d)" % (x, y, x // scale, y // scale)
    return "%s = screen (%d,%d) is %s, expected %s from %s" % (
        where, x + origin[0], y + origin[1], hex_colour(got), hex_colour(wanted), source)


def area_pixels(shot, origin, rect, scale=1):
    """The screenshot's bytes of a client rectangle, row after row, in
    device pixels."""
    left, top, right, bottom = (edge * scale for edge in rect)
    return b"".join(shot.row(origin[1] + y, origin[0] + left, origin[0] + right) for y in range(top, bottom))
