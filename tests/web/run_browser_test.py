#!/usr/bin/env python3
"""End-to-end test of the program on its web page, in headless Chromium:
the same scenarios as the display tests (tests/display), with the page as
the screen. The page is served on 127.0.0.1 from the folder the web build
gathers.

  run_browser_test.py --page DIR --res DIR --artifacts DIR [--scenario ui|scaled] [--scale N]

Scenarios: ui (the whole window: placement, outline, controls, about box,
window drag, the close button and the page's notice, a second start,
minimise and the taskbar button); scaled (with --scale 2 or more: the page
at that devicePixelRatio, every client pixel an N x N block: placement,
outline, a button's edges, a volume drag, a window drag, the close
button)."""

import argparse
import os
import shutil
import sys
import time

sys.dont_write_bytecode = True  # keep the source tree free of caches
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "display"))

import layout  # noqa: E402
import desktops  # noqa: E402
import scenarios  # noqa: E402
from browser import REQUIRED_TOOLS, BrowserSession, PageProgram, PageServer  # noqa: E402
from displayrun import CheckFailed, DisplayRun  # noqa: E402
from panel import PanelState  # noqa: E402
from skin import Skin  # noqa: E402


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--page", required=True, help="the web build's page folder (build/web)")
    parser.add_argument("--res", required=True, help="the skin's files (res/)")
    parser.add_argument("--artifacts", required=True, help="where failure screenshots and logs go")
    parser.add_argument("--scenario", default="ui", choices=["ui", "scaled"])
    parser.add_argument("--scale", type=int, default=1, help="the page's devicePixelRatio")
    return parser.parse_args()


def page_size(scale):
    """The page in CSS pixels. Scaled, it is the display tests' screen:
    (1025, 769) program pixels, whose differences from the window's size
    are odd, so that centring in device pixels would put it elsewhere (and
    at a ratio of 3 the window's place is no whole number of CSS pixels)."""
    return layout.SCREEN_SIZE if scale == 1 else (1025, 769)


class BrowserRun(DisplayRun):
    """A display test run whose screen is the page."""

    def launch(self):
        self.log("loading %s" % self.program.url if not self.program.loaded else "starting the program again")
        self.program.start()
        self.window = self.session.wait_for_window(layout.WINDOW_TITLE, self.program.startup_timeout)
        if self.window is None:
            self.fail("no window titled %r appeared on the page within %d s (program %s)" % (
                layout.WINDOW_TITLE, self.program.startup_timeout, self.program.state()), self.session.screenshot())
        self.session.set_root_colour(self.root_colour)
        width, height = self.session.width // self.scale, self.session.height // self.scale
        self.origin = (((width - layout.WINDOW_SIZE[0]) >> 1) * self.scale,
                       ((height - layout.WINDOW_SIZE[1]) >> 1) * self.scale)
        self.state = PanelState()
        self.expect_picture("the first picture", timeout=15.0)
        self.log("the window is up")
        return self.window


def ended_notice(run):
    """Once the program has ended, the page says so and offers to start it
    again; nothing of the window is left on it."""
    notice = run.program.ended_notice()
    run.require(notice is not None and "ended" in notice and "again" in notice.lower(),
                "after the program ended the page shows %r, not that it has ended with a way to start it again" % notice)
    run.require(not run.session.find_windows(layout.WINDOW_TITLE), "the window is still on the page")
    run.log("the page says %r" % " / ".join(line for line in notice.splitlines() if line.strip()))


def ui(run):
    """The display tests' whole window, with the outline's input checked
    unscaled too (elementFromPoint makes it cheap); then the page's notice,
    a second start, and minimising to the taskbar button and back."""
    run.launch()
    scenarios.input_shape(run)
    scenarios.whole_window(run, native=True)
    ended_notice(run)
    run.launch()
    scenarios.minimise_and_restore(run, stays_on_screen=True)
    scenarios.close_button(run)


def scaled(run):
    run.launch()
    scenarios.scaled_window(run)


def main():
    args = parse_arguments()
    if (args.scenario == "scaled") != (args.scale > 1):
        print("FAIL: the scaled scenario, and only it, runs with --scale 2 or more")
        return 1
    missing = [tool for tool in REQUIRED_TOOLS if not shutil.which(tool)]
    if missing:
        print("FAIL: the browser test needs %s" % ", ".join(missing))
        return 1
    if not os.path.exists(os.path.join(args.page, "index.html")):
        print("FAIL: no page at %s (make web builds it)" % args.page)
        return 1
    started = time.monotonic()
    name = "browser%s_%s" % ("_scale%d" % args.scale if args.scale > 1 else "", args.scenario)
    os.makedirs(args.artifacts, exist_ok=True)

    def log(message):
        print("[%6.2fs] %s" % (time.monotonic() - started, message), flush=True)

    try:
        with PageServer(args.page) as server, BrowserSession(page_size(args.scale), args.scale) as session:
            log("page served at %s, shown at %dx%d device pixels (devicePixelRatio %d)" % (
                server.url, session.width, session.height, args.scale))
            run = BrowserRun(session, PageProgram(session, server.url), Skin(args.res), args.artifacts, name, log,
                             args.scale)
            (ui if args.scenario == "ui" else scaled)(run)
    except CheckFailed as failure:
        print("FAIL: %s" % failure)
        return 1
    log("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
