#!/usr/bin/env python3
"""The web page's size and how soon it shows its window: the page served on
127.0.0.1 from build/web (make web), loaded afresh in headless Chromium
several times, each time with a new profile and so an empty cache. For each
load: milliseconds from the start of navigation to the response's end, to
the document's load, and to the first frame of the program on the screen
(the paint after the program first put pixels on its canvas).

  bench/web_page.py [--loads N] [--page DIR]

Its CPU use at 50 frames a second is measured beside the native program's
by bench/cpu_usage.py (make cpu-usage)."""

import argparse
import gzip
import os
import statistics
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # keep the source tree free of caches
from cpu_usage import CHROMIUM, CHROMIUM_ARGUMENTS, ROOT, page_server  # noqa: E402

CHROMEDRIVER = "/usr/bin/chromedriver"

TIMINGS = """
const navigation = performance.getEntriesByType("navigation")[0];
const run = window.brisko;
return {response: navigation.responseEnd, load: navigation.loadEventEnd, started: run && run.startedMs,
        ready: run && run.readyMs, frame: run && run.desktop.firstFrameMs};
"""


def page_sizes(folder):
    for name in sorted(os.listdir(folder)):
        with open(os.path.join(folder, name), "rb") as f:
            data = f.read()
        yield name, len(data), len(gzip.compress(data, 9))


def one_load(url):
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    with tempfile.TemporaryDirectory(prefix="brisko-chromium-") as profile:
        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        for argument in CHROMIUM_ARGUMENTS + ["--user-data-dir=" + profile]:
            options.add_argument(argument)
        driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
        try:
            driver.get(url)
            deadline = time.monotonic() + 10
            while True:
                timings = driver.execute_script(TIMINGS)
                if timings["frame"] is not None and timings["load"] > 0:
                    return timings
                if time.monotonic() > deadline:
                    raise RuntimeError("no frame within 10 s of loading the page")
                time.sleep(0.05)
        finally:
            driver.quit()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--loads", type=int, default=5)
    parser.add_argument("--page", default=os.path.join(ROOT, "build", "web"))
    args = parser.parse_args()
    if not os.path.exists(os.path.join(args.page, "index.html")):
        print("no page at %s: make web builds it" % args.page)
        return 1

    print("The page's files, as a web server sends them gzip-compressed:")
    total = plain_total = 0
    for name, plain, packed in page_sizes(args.page):
        print("  %-12s %8d bytes, %7d compressed" % (name, plain, packed))
        total += packed
        plain_total += plain
    print("  %-12s %8d bytes, %7d compressed (%.1f KiB)" % ("all", plain_total, total, total / 1024))

    print()
    frames = []
    with page_server(args.page) as url:
        print("Loads of %s in headless Chromium, each with an empty cache (ms from the start of navigation):" % url)
        for number in range(1, args.loads + 1):
            timings = one_load(url)
            frames.append(timings["frame"])
            print("  load %d: response %6.1f, program started %6.1f, compiled %6.1f, document loaded %6.1f, "
                  "first frame on screen %6.1f" % (number, timings["response"], timings["started"], timings["ready"],
                                                   timings["load"], timings["frame"]))
    print("First frame on screen: median %.1f ms, slowest %.1f ms, of %d loads" % (
        statistics.median(frames), max(frames), len(frames)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
