"""A private X server (Xvfb) for one test run, optionally with a window
manager on it, and the X tools the test drives it with: window look-up and
state, pointer input, root colour, screenshots."""

import glob
import os
import re
import shutil
import subprocess
import tempfile
import time

import xlib
from image import Image

REQUIRED_TOOLS = ["Xvfb", "xdotool", "xsetroot", "xwininfo", "xprop", "import"]
WINDOW_MANAGER_TOOLS = ["openbox", "wmctrl"]
# Other desktops than openbox: what each needs beside.
DESKTOP_TOOLS = {"i3": ["i3"], "keeping": ["/usr/bin/python3"], "stale-check": ["openbox"], None: []}
# The window manager of the tests' own that keeps windows where it puts them.
KEEPING_WM = os.path.join(os.path.dirname(os.path.abspath(__file__)), "keeping_wm.py")
# i3 as packaged, but quiet: no bar, no config wizard, nothing started.
I3_CONFIG = """\
font pango:DejaVu Sans 8
default_border none
default_floating_border none
focus_follows_mouse no
"""
# Xorg with the dummy video driver: a screen wide enough for two monitors,
# whose outputs xrandr then lays side by side.
XORG_DUMMY_CONFIG = """\
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
  Option "DontVTSwitch" "true"
EndSection
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 65536
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0 - 1000.0
  VertRefresh 5.0 - 200.0
  Modeline "1024x768" 63.50 1024 1072 1176 1328 768 771 775 798 -hsync +vsync
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual 2048 768
  EndSubSection
EndSection
"""


class ServerDidNotStart(RuntimeError):
    pass


def why_xorg_dummy_cannot_run():
    """None when Xorg with the dummy driver can be started here."""
    if os.geteuid() != 0:
        return "Xorg with the dummy driver runs only as root here"
    if not shutil.which("Xorg"):
        return "Xorg is not installed (xserver-xorg-core)"
    if not glob.glob("/usr/lib/xorg/modules/drivers/dummy_drv.so"):
        return "the dummy video driver is not installed (xserver-xorg-video-dummy)"
    return None


# Bits a channel (red, green, blue) of each screen depth the tests use.
CHANNEL_BITS = {16: (5, 6, 5), 24: (8, 8, 8), 30: (8, 8, 8)}
# The packaged configuration, so that a user's own cannot change the test;
# but new windows that ask for no place of their own go to the top-left of
# the free area instead of its centre, so that only the program's own
# placement can centre its window.
OPENBOX_CONFIG = "/etc/xdg/openbox/rc.xml"
OPENBOX_CENTRES = "<center>yes</center>"


# Shared memory between client and server, which only a server on the same
# machine can offer; without it a client's pixels go over the connection.
SHARED_MEMORY_EXTENSION = "MIT-SHM"


class XSession:
    def __init__(self, width, height, log, window_manager=False, shared_memory=True, desktop=None, depth=24,
                 monitors=None, dummy_outputs=None):
        """desktop: another window manager than openbox (i3; keeping, the
        tests' own that keeps windows where it puts them; stale-check,
        openbox killed, its check left on the root). monitors: (name,
        geometry, primary) for RandR monitors laid over the screen.
        dummy_outputs: instead of Xvfb, Xorg with the dummy driver, its
        outputs given as xrandr arguments after --output NAME."""
        self.width = width
        self.height = height
        self.log = log
        # A window manager that makes windows iconic.
        self.with_window_manager = window_manager
        self.desktop = desktop
        self.depth = depth
        self.channel_bits = CHANNEL_BITS[depth]
        self.monitors = monitors or []
        self.dummy_outputs = dummy_outputs
        self.xorg_folder = None
        self.desktop_process = None
        self.shared_memory = shared_memory
        self.server = None
        self.window_manager = None
        self.config = None
        self.display = None

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, *exc):
        self.stop()

    def server_command(self, displayfd):
        without = [] if self.shared_memory else ["-extension", SHARED_MEMORY_EXTENSION]
        if not self.dummy_outputs:
            return ["Xvfb", "-displayfd", str(displayfd), "-screen", "0",
                    "%dx%dx%d" % (self.width, self.height, self.depth), "-nolisten", "tcp", "-noreset"] + without
        self.xorg_folder = tempfile.TemporaryDirectory(prefix="brisko-xorg-")
        config = os.path.join(self.xorg_folder.name, "xorg.conf")
        with open(config, "w") as f:
            f.write(XORG_DUMMY_CONFIG)
        os.mkdir(os.path.join(self.xorg_folder.name, "conf.d"))
        return ["Xorg", "-displayfd", str(displayfd), "-config", config, "-configdir",
                os.path.join(self.xorg_folder.name, "conf.d"), "-logfile", os.path.join(self.xorg_folder.name, "log"),
                "-noreset", "-nolisten", "tcp", "-novtswitch", "-sharevts"] + without

    def lay_outputs(self):
        for name, arguments in self.dummy_outputs or []:
            if "--mode" in arguments:
                self.run("xrandr", "--addmode", name, arguments[arguments.index("--mode") + 1], check=False)
            self.run("xrandr", "--output", name, *arguments)

    def start(self):
        # -displayfd lets the server pick a free display number itself and
        # write it once it accepts connections.
        read_end, write_end = os.pipe()
        self.server = subprocess.Popen(self.server_command(write_end), pass_fds=[write_end],
                                       stdout=subprocess.DEVNULL, stderr=self.log)
        os.close(write_end)
        with os.fdopen(read_end) as numbers:
            number = numbers.readline().strip()
        if not number:
            raise ServerDidNotStart("%s did not start (see the log)" % ("Xorg" if self.dummy_outputs else "Xvfb"))
        self.display = ":" + number
        if xlib.has_extension(self.display, SHARED_MEMORY_EXTENSION) != self.shared_memory:
            raise RuntimeError("Xvfb %s %s despite being asked" % (
                "offers" if not self.shared_memory else "does not offer", SHARED_MEMORY_EXTENSION))
        self.lay_outputs()
        self.lay_monitors()
        if self.with_window_manager:
            self.start_window_manager()
        if self.desktop:
            self.start_desktop()

    def lay_monitors(self):
        """RandR monitors over the screen, as a desktop of several
        monitors has; a name marked primary is given with a star."""
        for name, (width, height, x, y), primary in self.monitors:
            self.run("xrandr", "--setmonitor", ("*" if primary else "") + name,
                     "%d/%dx%d/%d+%d+%d" % (width, width // 4, height, height // 4, x, y), "none")

    def start_desktop(self):
        if self.desktop == "i3":
            self.config = tempfile.NamedTemporaryFile("w", prefix="brisko-i3-", suffix=".conf")
            self.config.write(I3_CONFIG)
            self.config.flush()
            command = ["i3", "-c", self.config.name]
        elif self.desktop == "keeping":
            command = ["/usr/bin/python3", "-B", KEEPING_WM]
        else:
            command = ["openbox", "--sm-disable"]
        self.desktop_process = subprocess.Popen(command, env=self.environment(), stdout=subprocess.DEVNULL,
                                                stderr=self.log, stdin=subprocess.DEVNULL)
        self.wait_for_wm_check(self.desktop_process, self.desktop)
        if self.desktop == "stale-check":
            # Killed, a window manager cannot take its property with it.
            self.desktop_process.kill()
            self.desktop_process.wait()
            if "window id #" not in self.run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False):
                raise RuntimeError("the killed window manager's check did not stay on the root")

    def wait_for_wm_check(self, process, name):
        deadline = time.monotonic() + 15
        while "window id #" not in self.run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False):
            if process.poll() is not None:
                raise RuntimeError("%s exited with %d (see the log)" % (name, process.returncode))
            if time.monotonic() > deadline:
                raise RuntimeError("%s did not take the screen within 15 s" % name)
            time.sleep(0.05)

    def start_window_manager(self):
        """Openbox, once it manages the screen: it names its check window
        on the root."""
        with open(OPENBOX_CONFIG) as packaged:
            config = packaged.read()
        if OPENBOX_CENTRES not in config:
            raise RuntimeError("%s no longer says %s" % (OPENBOX_CONFIG, OPENBOX_CENTRES))
        self.config = tempfile.NamedTemporaryFile("w", prefix="brisko-openbox-", suffix=".xml")
        self.config.write(config.replace(OPENBOX_CENTRES, "<center>no</center>"))
        self.config.flush()
        self.window_manager = subprocess.Popen(["openbox", "--sm-disable", "--config-file", self.config.name],
                                               env=self.environment(), stdout=subprocess.DEVNULL, stderr=self.log,
                                               stdin=subprocess.DEVNULL)
        self.wait_for_wm_check(self.window_manager, "openbox")

    def stop(self):
        for process in (self.window_manager, self.desktop_process, self.server):
            if process and process.poll() is None:
                process.terminate()
                try:
                    process.wait(10)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        if self.config:
            self.config.close()
        if self.xorg_folder:
            self.xorg_folder.cleanup()

    def kill_server(self, number):
        """Ends the X server with this signal, under whatever runs on it."""
        self.server.send_signal(number)
        self.server.wait(10)

    def environment(self, extra=None):
        env = dict(os.environ)
        for name in ("WAYLAND_DISPLAY", "XAUTHORITY", "SDL_VIDEODRIVER", "GDK_SCALE"):
            env.pop(name, None)
        env["DISPLAY"] = self.display
        env.update(extra or {})
        return env

    def run(self, *command, check=True):
        result = subprocess.run(list(command), env=self.environment(), capture_output=True, timeout=30)
        if check and result.returncode != 0:
            raise RuntimeError("%s failed (%d): %s" % (" ".join(command), result.returncode,
                                                       result.stderr.decode(errors="replace").strip()))
        return result.stdout.decode(errors="replace")

    # Windows.

    def find_windows(self, name):
        """Viewable windows whose name is exactly this."""
        found = self.run("xdotool", "search", "--onlyvisible", "--name", "^%s$" % re.escape(name), check=False)
        return [int(line) for line in found.split()]

    def wait_for_window(self, name, timeout, alive=lambda: True):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline and alive():
            windows = self.find_windows(name)
            if windows:
                return windows[0]
            time.sleep(0.1)
        return None

    def wait_for_window_count(self, name, count, timeout):
        """The windows of that name once there are exactly count of them, or
        None if that does not happen in time."""
        deadline = time.monotonic() + timeout
        while True:
            windows = self.find_windows(name)
            if len(windows) == count:
                return windows
            if time.monotonic() > deadline:
                return None
            time.sleep(0.1)

    def wait_for_no_window(self, name, timeout):
        return self.wait_for_window_count(name, 0, timeout) is not None

    def window_info(self, window):
        """Title, absolute position and size as xwininfo reports them."""
        text = self.run("xwininfo", "-id", str(window))
        title = re.search(r'Window id: \S+ "(.*)"', text)

        def number(label):
            return int(re.search(label + r":\s+(-?\d+)", text).group(1))

        return {"title": title.group(1) if title else None, "x": number("Absolute upper-left X"),
                "y": number("Absolute upper-left Y"), "width": number("Width"), "height": number("Height")}

    def property(self, window, name):
        """xprop's line for the property, or "" when the window has none
        (or is gone)."""
        text = self.run("xprop", "-id", str(window), name, check=False)
        return "" if "not found" in text or "no such" in text else text

    def wm_state(self, window):
        """Normal, Iconic or Withdrawn, as the window manager set WM_STATE;
        None without one."""
        found = re.search(r"window state: (\w+)", self.property(window, "WM_STATE"))
        return found.group(1) if found else None

    def frame_extents(self, window):
        """(left, right, top, bottom) of the window manager's frame, or None
        when it set none."""
        found = re.search(r"=\s*(\d+), (\d+), (\d+), (\d+)", self.property(window, "_NET_FRAME_EXTENTS"))
        return tuple(int(n) for n in found.groups()) if found else None

    def top_level_info(self, window):
        """Position and size of the root's child that holds the window: its
        frame, under a reparenting window manager."""
        return self.window_info(xlib.top_level(self.display, window))

    def stacking_order(self, windows):
        return xlib.stacking_order(self.display, windows)

    def top_level(self, window):
        return xlib.top_level(self.display, window)

    def pointer_targets(self, points):
        return xlib.pointer_targets(self.display, points)

    # Asking the window manager.

    def activate(self, window):
        self.run("wmctrl", "-i", "-a", "0x%x" % window)

    def bring_to_front(self, window):
        """As a user would: through the window manager, or else straight."""
        if self.with_window_manager:
            self.activate(window)
        else:
            self.run("xdotool", "windowraise", str(window))
        time.sleep(0.1)

    def close(self, window):
        self.run("wmctrl", "-i", "-c", "0x%x" % window)

    # The root window and the screen.

    def set_root_colour(self, rgb):
        self.run("xsetroot", "-solid", "#%02X%02X%02X" % rgb)

    def merge_resources(self, text):
        """Adds X resources to the screen's RESOURCE_MANAGER, as a desktop
        session sets them."""
        result = subprocess.run(["xrdb", "-merge"], input=text.encode(), env=self.environment(), capture_output=True,
                                timeout=30)
        if result.returncode != 0:
            raise RuntimeError("xrdb -merge failed (%d): %s" % (result.returncode,
                                                               result.stderr.decode(errors="replace").strip()))

    def screenshot(self, area=None):
        """The whole screen; or, much faster on a big screen, the part of
        the area (left, top, right, bottom) that is on it."""
        if area is None and self.depth != 24:
            # import reads other depths by its own rounding.
            area = (0, 0, self.width, self.height)
        if area is None:
            data = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"], env=self.environment(),
                                  capture_output=True, timeout=30, check=True).stdout
            return Image(self.width, self.height, data)
        left, top = max(area[0], 0), max(area[1], 0)
        right, bottom = min(area[2], self.width), min(area[3], self.height)
        width, height = max(right - left, 0), max(bottom - top, 0)
        data = xlib.root_pixels(self.display, left, top, width, height) if width and height else b""
        return Image(width, height, data, left, top)

    # The pointer. Each step is paced: X input sent faster than a client
    # takes it may be merged or arrive in another order than meant.

    def move_pointer(self, x, y):
        self.run("xdotool", "mousemove", str(x), str(y))
        time.sleep(0.1)

    def press(self):
        self.run("xdotool", "mousedown", "1")
        time.sleep(0.1)

    def release(self):
        self.run("xdotool", "mouseup", "1")
        time.sleep(0.1)

    def click(self, x, y):
        self.move_pointer(x, y)
        self.press()
        self.release()

    def burst(self, steps):
        """Pointer steps sent in one go, as fast as X takes them: ("press",),
        ("release",), ("move_by", dx, dy), ("pause", seconds)."""
        words = {"press": ["mousedown", "1"], "release": ["mouseup", "1"]}
        command = ["xdotool"]
        for step in steps:
            if step[0] == "move_by":
                command += ["mousemove_relative", "--", str(step[1]), str(step[2])]
            elif step[0] == "pause":
                command += ["sleep", str(step[1])]
            else:
                command += words[step[0]]
        self.run(*command)

    def key(self, name):
        self.run("xdotool", "key", name)
        time.sleep(0.1)
