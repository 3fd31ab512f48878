"""The page in headless Chromium, driven the way the display tests drive an
X server: a BrowserSession offers the same operations as an XSession
(windows by title, their place and stacking, screenshots, pointer and keys),
with the page's canvases and message boxes as its windows and positions in
device pixels of the page. A PageServer serves the page on 127.0.0.1 only,
and a PageProgram is the program running on it."""

import base64
import contextlib
import functools
import http.server
import io
import os
import shutil
import tempfile
import threading
import time

from image import Image

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
REQUIRED_TOOLS = [CHROMIUM, CHROMEDRIVER]

# The page and its driver reach nothing but the page's own server.
CHROMIUM_ARGUMENTS = [
    "--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run", "--no-default-browser-check",
    "--disable-background-networking", "--disable-component-update", "--disable-sync", "--disable-extensions",
    "--disable-default-apps", "--mute-audio", "--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1",
]

# Where the page's windows and boxes are, and what they are, as the tests ask.
PAGE_WINDOWS = """
const ratio = window.devicePixelRatio;
const elements = [...document.querySelectorAll(".brisko-window, .brisko-box")];
return elements.map((element) => {
  if (!element.dataset.testId) {
    window.briskoTestIds = (window.briskoTestIds || 0) + 1;
    element.dataset.testId = String(window.briskoTestIds);
  }
  const box = element.getBoundingClientRect();
  const style = getComputedStyle(element);
  return {id: Number(element.dataset.testId), title: element.dataset.title,
          shown: !element.hidden && style.display !== "none" && style.visibility !== "hidden",
          x: Math.round(box.left * ratio), y: Math.round(box.top * ratio),
          width: Math.round(box.width * ratio), height: Math.round(box.height * ratio),
          stacking: Number(style.zIndex) || 0, kind: element.classList.contains("brisko-box") ? "box" : "window"};
});
"""


class PageServer:
    """Python's own HTTP server on 127.0.0.1 and a free port, serving the
    page's folder, in a thread."""

    def __init__(self, folder):
        handler = functools.partial(Quiet, directory=folder)
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)

    @property
    def url(self):
        return "http://127.0.0.1:%d/index.html" % self.server.server_address[1]

    def __enter__(self):
        self.thread.start()
        return self

    def __exit__(self, *exc):
        self.server.shutdown()
        self.server.server_close()


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


class BrowserSession:
    """Headless Chromium showing a page of css_size CSS pixels at the given
    devicePixelRatio; the screen is that page, in device pixels."""

    with_window_manager = True  # minimising leaves a taskbar button that brings the window back
    channel_bits = (8, 8, 8)
    depth = 24

    def __init__(self, css_size, ratio):
        self.css_size = css_size
        self.ratio = ratio
        self.width = css_size[0] * ratio
        self.height = css_size[1] * ratio
        self.driver = None
        self.profile = None
        self.button_held = False
        self.pointer = (0, 0)

    def __enter__(self):
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
        self.profile = tempfile.TemporaryDirectory(prefix="brisko-chromium-")
        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        for argument in CHROMIUM_ARGUMENTS + ["--user-data-dir=" + self.profile.name]:
            options.add_argument(argument)
        self.driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
        self.cdp("Emulation.setDeviceMetricsOverride", width=self.css_size[0], height=self.css_size[1],
                 deviceScaleFactor=self.ratio, mobile=False)
        return self

    def __exit__(self, *exc):
        if self.driver:
            self.driver.quit()
        if self.profile:
            self.profile.cleanup()

    def cdp(self, command, **parameters):
        return self.driver.execute_cdp_cmd(command, parameters)

    def script(self, source, *arguments):
        return self.driver.execute_script(source, *arguments)

    def open(self, url):
        self.driver.get(url)

    # Windows: the page's canvases and boxes, by a number the test gives them.

    def windows(self):
        return self.script(PAGE_WINDOWS)

    def find_windows(self, name):
        return [w["id"] for w in self.windows() if w["title"] == name and w["shown"]]

    def wait_for_window(self, name, timeout, alive=lambda: True):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline and alive():
            found = self.find_windows(name)
            if found:
                return found[0]
            time.sleep(0.05)
        return None

    def wait_for_window_count(self, name, count, timeout):
        deadline = time.monotonic() + timeout
        while True:
            found = self.find_windows(name)
            if len(found) == count:
                return found
            if time.monotonic() > deadline:
                return None
            time.sleep(0.05)

    def wait_for_no_window(self, name, timeout):
        return self.wait_for_window_count(name, 0, timeout) is not None

    def window(self, number):
        for window in self.windows():
            if window["id"] == number:
                return window
        raise RuntimeError("window %d is no longer on the page" % number)

    def window_info(self, number):
        window = self.window(number)
        return {key: window[key] for key in ("title", "x", "y", "width", "height")}

    def frame_extents(self, number):
        return None  # the page draws no frame around a window

    def top_level(self, number):
        return number

    def top_level_info(self, number):
        return self.window_info(number)

    def stacking_order(self, numbers):
        return [self.window(number)["stacking"] for number in numbers]

    def wm_state(self, number):
        return "Normal" if self.window(number)["shown"] else "Iconic"

    def activate(self, number):
        """Brings a minimised window back with its button at the foot of the page."""
        title = self.window(number)["title"]
        buttons = self.script("""return [...document.querySelectorAll(".brisko-task")].map((b) => {
            const box = b.getBoundingClientRect();
            return [b.textContent, box.left + box.width / 2, box.top + box.height / 2];});""")
        for text, x, y in buttons:
            if text == title:
                self.click(round(x * self.ratio), round(y * self.ratio))
                return
        raise RuntimeError("no button at the foot of the page for %r" % title)

    def bring_to_front(self, number):
        time.sleep(0.1)  # boxes stay above the windows; nothing to do

    def pointer_targets(self, points):
        """The window (or 0) each device pixel's centre belongs to for the pointer."""
        return self.script("""
            const ratio = window.devicePixelRatio;
            return arguments[0].map(([x, y]) => {
              const element = document.elementFromPoint((x + 0.5) / ratio, (y + 0.5) / ratio);
              return element && element.dataset.testId ? Number(element.dataset.testId) : 0;
            });""", [list(point) for point in points])

    # The screen.

    def set_root_colour(self, rgb):
        self.script("document.getElementById('desktop').style.background = arguments[0];", "#%02X%02X%02X" % rgb)

    def screenshot(self, area=None):
        """The page in device pixels; with an area, only that part of it."""
        from PIL import Image as PilImage
        data = base64.b64decode(self.cdp("Page.captureScreenshot", format="png")["data"])
        picture = PilImage.open(io.BytesIO(data)).convert("RGB")
        if area is None:
            return Image(picture.width, picture.height, picture.tobytes())
        left, top = max(area[0], 0), max(area[1], 0)
        right, bottom = min(area[2], picture.width), min(area[3], picture.height)
        part = picture.crop((left, top, max(right, left), max(bottom, top)))
        return Image(part.width, part.height, part.tobytes(), left, top)

    # The pointer and keys, in device pixels; each step is paced like the
    # X sessions', so that frames run in between.

    def mouse(self, kind, paced=True, **extra):
        x, y = self.pointer
        self.cdp("Input.dispatchMouseEvent", type=kind, x=x / self.ratio, y=y / self.ratio,
                 buttons=1 if self.button_held else 0, **extra)
        if paced:
            time.sleep(0.1)

    def burst(self, steps):
        """Pointer steps sent one after the other without a pause, as the
        X sessions' burst: ("press",), ("release",), ("move_by", dx, dy),
        ("pause", seconds)."""
        for step in steps:
            if step[0] == "press":
                self.button_held = True
                self.mouse("mousePressed", paced=False, button="left", clickCount=1)
            elif step[0] == "release":
                self.button_held = False
                self.mouse("mouseReleased", paced=False, button="left", clickCount=1)
            elif step[0] == "move_by":
                self.pointer = (self.pointer[0] + step[1], self.pointer[1] + step[2])
                self.mouse("mouseMoved", paced=False, button="left" if self.button_held else "none")
            else:
                time.sleep(step[1])

    def move_pointer(self, x, y):
        self.pointer = (x, y)
        self.mouse("mouseMoved", button="left" if self.button_held else "none")

    def press(self):
        self.button_held = True
        self.mouse("mousePressed", button="left", clickCount=1)

    def release(self):
        self.button_held = False
        self.mouse("mouseReleased", button="left", clickCount=1)

    def click(self, x, y):
        self.move_pointer(x, y)
        self.press()
        self.release()

    KEYS = {"Return": ("Enter", "Enter", 13)}

    def key(self, name):
        key, code, number = self.KEYS[name]
        for kind in ("keyDown", "keyUp"):
            self.cdp("Input.dispatchKeyEvent", type=kind, key=key, code=code, windowsVirtualKeyCode=number,
                     nativeVirtualKeyCode=number)
        time.sleep(0.1)


class PageProgram:
    """The program on the page: started by loading the page, and again by
    the page's own button once it has ended."""

    startup_timeout = 20
    # The page's box centres its OK button this far above its bottom edge.
    about_box_ok_above_bottom = 26

    def __init__(self, session, url):
        self.session = session
        self.url = url
        self.loaded = False
        self.output_seen = 0

    def command(self):
        return [CHROMIUM, self.url]

    def start(self):
        if not self.loaded:
            self.session.open(self.url)
            self.loaded = True
        else:
            self.start_again()
        self.output_seen = 0

    def start_again(self):
        if not self.ended_notice():
            raise RuntimeError("the page offers no way to start the program again")
        self.session.script("document.getElementById('start-again').click();")

    def ended_notice(self):
        """The page's words once the program has ended, or None."""
        return self.session.script("""const ended = document.getElementById("ended");
            return ended && !ended.hidden ? ended.innerText : null;""")

    def run_state(self):
        return self.session.script("""const run = window.brisko;
            return run ? {exitCode: run.exitCode, aborted: run.aborted || null, output: run.output,
                          frames: run.desktop.framesShown} : null;""")

    def running(self):
        state = self.run_state()
        return state is not None and state["exitCode"] is None and state["aborted"] is None

    def state(self):
        state = self.run_state()
        if state is None:
            return "not started"
        if state["aborted"]:
            return "stopped on an error: %s" % state["aborted"]
        return "still running" if state["exitCode"] is None else "exited with %d" % state["exitCode"]

    def wait(self, timeout):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            state = self.run_state()
            if state and state["exitCode"] is not None:
                return state["exitCode"]
            time.sleep(0.05)
        return None

    def cpu_seconds(self):
        """How long the program has been composing, counted in frames shown
        at 50 a second: it grows only while frames run."""
        state = self.run_state()
        return None if state is None or not self.running() else state["frames"] / 50.0

    def errors(self):
        state = self.run_state()
        return "\n".join(state["output"]) if state else ""

    def cleanup(self):
        pass
