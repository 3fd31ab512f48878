"""One test run on its own X server: launching the program, finding its
window, polling screenshots until they show what is expected, and leaving
the screenshot behind when they never do. On a scaled screen (the program
scaled by a whole number N) client coordinates stay the program's own and
are turned into device pixels here."""

import os
import re
import shutil
import subprocess
import time

import layout
from image import quantised
from panel import PanelState

# Colours for the root window; the first one the skin never uses is taken,
# so that a root pixel can only mean "outside the window".
ROOT_CANDIDATES = [(255, 0, 255), (0, 255, 255), (1, 254, 3), (254, 1, 253)]


class CheckFailed(Exception):
    pass


class DisplayRun:
    def __init__(self, session, program, skin, artifacts, name, log, scale=1, expected_origin=None):
        self.session = session
        self.scale = scale
        self.program = program
        self.skin = skin
        self.artifacts = artifacts
        self.name = name
        self.log = log
        self.window = None
        # Where the window should open: centred on the (primary) screen.
        self.expected_origin = expected_origin or layout.window_origin(scale)
        self.origin = self.expected_origin
        self.state = PanelState()
        # A screen of fewer than 8 bits a channel (red, green, blue) shows
        # every colour to its own precision: what is expected is held to
        # the same.
        self.channel_bits = session.channel_bits
        self.root_colour = quantised(next(c for c in ROOT_CANDIDATES if not skin.uses_colour(c)), self.channel_bits)
        self.failures = 0

    def fail(self, message, shot=None, expected=None):
        """Stops the run; the screenshot (and the picture it should have
        shown, if there is one) go into the artifacts directory."""
        self.failures += 1
        for kind, image in (("screenshot", shot), ("expected", expected)):
            if image is None:
                continue
            path = os.path.join(self.artifacts, "%s-failure-%d-%s.png" % (self.name, self.failures, kind))
            image.save_png(path)
            message += "\n  %s saved as %s" % (kind, path)
        output = self.program.errors().strip()
        if output:
            message += "\n  program output (this start):\n    " + output.replace("\n", "\n    ")
        raise CheckFailed(message)

    def require(self, condition, message):
        if not condition:
            self.fail(message)

    def window_area(self):
        """(left, top, right, bottom) of the window's box on the screen,
        in device pixels."""
        width, height = (side * self.scale for side in layout.WINDOW_SIZE)
        return (self.origin[0], self.origin[1], self.origin[0] + width, self.origin[1] + height)

    def window_area_of(self, rect):
        """A client rectangle's place on the screen, in device pixels."""
        left, top = self.screen_point(rect[:2])
        right, bottom = self.screen_point(rect[2:])
        return (left, top, right, bottom)

    def screenshot(self, area=None):
        """The area given, or what the checks look at: the whole screen
        unscaled, only the window's box on a scaled one or one of another
        depth, whose whole screen takes seconds to read."""
        if area is None and (self.scale > 1 or self.session.depth != 24):
            area = self.window_area()
        return self.session.screenshot(area)

    def expect(self, what, check, timeout=5.0, expected=None, area=None):
        """Takes screenshots until check(shot) gives None (success) or the
        time is up; then fails with the last thing check reported."""
        deadline = time.monotonic() + timeout
        while True:
            shot = self.screenshot(area)
            problem = check(shot)
            if problem is None:
                return shot
            if time.monotonic() > deadline:
                self.fail("%s: %s" % (what, problem), shot, expected)
            time.sleep(0.05)

    def expect_picture(self, what, timeout=5.0):
        picture = self.state.picture(self.skin, self.root_colour).scaled(self.scale).quantised(self.channel_bits)
        return self.expect(what, lambda shot: picture.compare(shot, self.origin), timeout, picture.image())

    def wait_until(self, what, condition, timeout=5.0):
        deadline = time.monotonic() + timeout
        while not condition():
            if time.monotonic() > deadline:
                self.fail(what, self.session.screenshot())
            time.sleep(0.05)

    # The program.

    def launch(self, placed_by_desktop=False):
        """Starts the program and waits until its window shows its first
        picture; returns the X window. Where the window should be is the
        run's expected place, or, placed by the desktop, wherever the
        window manager put it."""
        self.log("starting %s" % " ".join(self.program.command()))
        self.program.start()
        self.window = self.session.wait_for_window(layout.WINDOW_TITLE, self.program.startup_timeout,
                                                   alive=self.program.running)
        if self.window is None:
            running = self.program.running()
            message = "no window named %r appeared within %d s (program %s)" % (
                layout.WINDOW_TITLE, self.program.startup_timeout,
                "still running" if running else "exited with %s" % self.program.process.poll())
            if running:
                message += self.where_it_waits()
            self.fail(message, self.session.screenshot())
        # Wine paints the root when a program starts: the colour goes on
        # once the window is up.
        self.session.set_root_colour(self.root_colour)
        self.origin = self.expected_origin
        if placed_by_desktop:
            self.origin = self.settled_position()
        self.state = PanelState()
        self.expect_picture("the first picture", timeout=15.0)
        self.log("window 0x%x is up" % self.window)
        return self.window

    def where_it_waits(self):
        """What a program that runs without a window is doing: its threads'
        stacks (when gdb is there to read them) and the screen's windows."""
        report = ""
        if shutil.which("gdb"):
            stacks = subprocess.run(["gdb", "-p", str(self.program.process.pid), "-batch", "-ex", "thread apply all bt"],
                                    capture_output=True, timeout=60).stdout.decode(errors="replace")
            frames = [line for line in stacks.splitlines() if line.startswith(("#", "Thread"))]
            report += "\n  its stacks:\n    " + "\n    ".join(frames)
        tree = self.session.run("xwininfo", "-root", "-tree", check=False)
        report += "\n  the screen's windows:\n    " + tree.strip().replace("\n", "\n    ")
        return report

    def settled_position(self, timeout=5.0):
        """The window's place once it has stopped changing: a window
        manager may move a window just after it maps it."""
        deadline = time.monotonic() + timeout
        last = self.window_position()
        while time.monotonic() < deadline:
            time.sleep(0.3)
            now = self.window_position()
            if now == last:
                return now
            last = now
        return last

    def window_position(self):
        info = self.session.window_info(self.window)
        return (info["x"], info["y"])

    def expect_exit(self, code, timeout):
        exit_code = self.program.wait(timeout)
        if exit_code is None:
            self.fail("the program was still running %d s later" % timeout, self.session.screenshot())
        self.require(exit_code == code, "the program exited with %d, expected %d" % (exit_code, code))

    # Input, in client coordinates of the window where it is now: the
    # top-left device pixel of the client pixel, plus device pixels.

    def screen_point(self, client, device=(0, 0)):
        return (self.origin[0] + client[0] * self.scale + device[0],
                self.origin[1] + client[1] * self.scale + device[1])

    def move_to(self, client):
        self.session.move_pointer(*self.screen_point(client))

    def click(self, client):
        self.session.click(*self.screen_point(client))


def output_lines(text):
    return [line for line in re.split(r"\r?\n", text) if line.strip()]
