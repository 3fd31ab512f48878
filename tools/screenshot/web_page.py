#!/usr/bin/env python3
"""A screenshot of the web page (build/web, make web) in headless Chromium,
as the README shows it: the page at 1024 x 768 with the program running on
it, play switched on.

  tools/screenshot/web_page.py OUTPUT.png   (with Debian's python3, which has selenium)"""

import os
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.dont_write_bytecode = True
sys.path[:0] = [os.path.join(ROOT, "tests", "web"), os.path.join(ROOT, "tests", "display")]

import layout  # noqa: E402
from browser import BrowserSession, PageServer  # noqa: E402


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip())
        return 2
    with PageServer(os.path.join(ROOT, "build", "web")) as server, BrowserSession(layout.SCREEN_SIZE, 1) as session:
        session.open(server.url)
        window = session.wait_for_window(layout.WINDOW_TITLE, 20)
        if window is None:
            print("the program's window did not show on the page")
            return 1
        origin = session.window_info(window)
        play = layout.PLAY.centre()
        session.click(origin["x"] + play[0], origin["y"] + play[1])
        time.sleep(0.5)
        session.screenshot().save_png(sys.argv[1])
    return 0


if __name__ == "__main__":
    sys.exit(main())
