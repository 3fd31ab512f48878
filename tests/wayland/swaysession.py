"""A private sway (wlroots), headless, for one test run: the operations of
the display tests' XSession on a Wayland desktop. sway runs as an
unprivileged user (it refuses root); the tests' own client (wayland_desk)
is the desktop under the windows and the pointer that drives them; pixels
come from grim, windows and their places from sway's IPC (swaymsg)."""

import glob
import json
import os
import pwd
import shutil
import struct
import subprocess
import tempfile
import time

from image import Image

REQUIRED_TOOLS = ["sway", "swaymsg", "grim", "setpriv"]
# Who runs the compositor when the tests run as root.
UNPRIVILEGED_USER = "nobody"
HIDDEN_CURSOR_THEME = "brisko-test-hidden"
# The names a compositor or a client asks a cursor theme for.
CURSOR_NAMES = ["left_ptr", "default", "arrow", "grabbing", "grab", "move", "fleur", "all-scroll", "pointer",
                "hand1", "hand2", "text", "xterm", "watch", "wait", "closedhand", "dnd-move", "size_all"]


def write_hidden_cursor_theme(folder):
    """A cursor theme whose every cursor is a 2 x 2 image of nothing, so that
    no arrow is drawn into a screenshot: the compositor draws the cursor into
    the frames grim reads."""
    cursors = os.path.join(folder, HIDDEN_CURSOR_THEME, "cursors")
    os.makedirs(cursors)
    image_type, nominal, width, height = 0xFFFD0002, 24, 2, 2
    header = struct.pack("<4sIII", b"Xcur", 16, 0x10000, 1) + struct.pack("<III", image_type, nominal, 28)
    image = struct.pack("<IIIIIIIII", 36, image_type, nominal, 1, width, height, 0, 0, 0) + bytes(4 * width * height)
    for name in CURSOR_NAMES:
        with open(os.path.join(cursors, name), "wb") as out:
            out.write(header + image)


class SwaySession:
    """sway on an output of size (logical pixels) times scale device pixels;
    positions and screenshots are in device pixels, as the X sessions'."""

    with_window_manager = False  # sway keeps no minimised windows: minimise leaves the window where it is
    compositor_name = "sway"

    def __init__(self, size, scale, log, desk_program, xwayland=False):
        self.logical = size
        self.scale = scale
        self.width = size[0] * scale
        self.height = size[1] * scale
        self.log = log
        self.desk_program = desk_program
        self.xwayland = xwayland
        self.folder = None
        self.compositor = None
        self.desk = None
        self.socket = None
        self.ipc = None
        self.display = None  # the X display of its XWayland, if any

    def __enter__(self):
        # A start that fails half-way leaves nothing running.
        try:
            self.start()
        except BaseException:
            self.stop()
            raise
        return self

    def __exit__(self, *exc):
        self.stop()

    # Starting and ending.

    def as_compositor_user(self):
        """The command prefix that runs something as the compositor's user."""
        if os.geteuid() != 0:
            return []
        return ["setpriv", "--reuid=%s" % UNPRIVILEGED_USER, "--regid=%d" % pwd.getpwnam(UNPRIVILEGED_USER).pw_gid,
                "--clear-groups", "--"]

    def start(self):
        self.folder = tempfile.mkdtemp(prefix="brisko-sway-")
        os.chmod(self.folder, 0o700)
        write_hidden_cursor_theme(os.path.join(self.folder, "icons"))
        config = os.path.join(self.folder, "config")
        with open(config, "w") as out:
            out.write(self.config())
        if os.geteuid() == 0:
            user = pwd.getpwnam(UNPRIVILEGED_USER)
            for root, dirs, files in os.walk(self.folder):
                for name in [root] + [os.path.join(root, n) for n in dirs + files]:
                    os.chown(name, user.pw_uid, user.pw_gid)
        self.compositor = subprocess.Popen(self.as_compositor_user() + ["sway", "-c", config],
                                           env=self.compositor_environment(), stdout=self.log, stderr=self.log,
                                           stdin=subprocess.DEVNULL)
        deadline = time.monotonic() + 20
        while not (self.socket and self.ipc):
            if self.compositor.poll() is not None:
                raise RuntimeError("sway exited with %d (see the log)" % self.compositor.returncode)
            if time.monotonic() > deadline:
                raise RuntimeError("sway offered no sockets within 20 s")
            names = os.listdir(self.folder)
            self.socket = next((n for n in names if n.startswith("wayland-") and not n.endswith(".lock")), None)
            self.ipc = next((os.path.join(self.folder, n) for n in names if n.startswith("sway-ipc.")), None)
            time.sleep(0.05)
        self.wait_for_ipc()
        if self.xwayland:
            self.wait_for_xwayland()
        self.start_desk()

    def config(self):
        width, height = self.width, self.height
        lines = [
            "output HEADLESS-1 resolution %dx%d position 0 0 scale %d" % (width, height, self.scale),
            "seat seat0 xcursor_theme %s 24" % HIDDEN_CURSOR_THEME,
            # The desk fills the output, its colour where no window is.
            'for_window [app_id="brisko-test-desk"] border none',
            "focus_follows_mouse no",
            "xwayland %s" % ("enable" if self.xwayland else "disable"),
        ]
        return "\n".join(lines) + "\n"

    def compositor_environment(self):
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "SWAYSOCK", "XAUTHORITY", "GDK_SCALE")}
        env.update(XDG_RUNTIME_DIR=self.folder, HOME=self.folder, WLR_BACKENDS="headless", WLR_RENDERER="pixman",
                   WLR_LIBINPUT_NO_DEVICES="1", XCURSOR_PATH=os.path.join(self.folder, "icons"),
                   XCURSOR_THEME=HIDDEN_CURSOR_THEME, XCURSOR_SIZE="24")
        return env

    def wait_for_ipc(self):
        deadline = time.monotonic() + 20
        while self.swaymsg("-t", "get_version", check=False) is None:
            if time.monotonic() > deadline:
                raise RuntimeError("sway's IPC did not answer within 20 s")
            time.sleep(0.1)

    def wait_for_xwayland(self):
        """sway takes the lowest free X display for its XWayland and says
        which only to its own children; the lock file it writes, holding its
        process id, tells."""
        deadline = time.monotonic() + 20
        while self.display is None:
            for name in glob.glob("/tmp/.X*-lock"):
                try:
                    with open(name) as lock:
                        owner = int(lock.read().strip(" \n\0") or 0)
                except (OSError, ValueError):
                    continue
                if owner == self.compositor.pid:
                    self.display = ":" + os.path.basename(name)[2:-5]
            if time.monotonic() > deadline:
                raise RuntimeError("sway took no X display for XWayland within 20 s")
            time.sleep(0.05)

    def start_desk(self):
        self.desk = subprocess.Popen([self.desk_program, str(self.logical[0]), str(self.logical[1]), str(self.scale)],
                                     env=self.environment(), stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=self.log, text=True)
        ready = self.desk.stdout.readline().strip()
        if ready != "ready":
            raise RuntimeError("the test desk did not start (%r; see the log)" % ready)

    def stop(self):
        if self.desk and self.desk.poll() is None:
            try:
                self.desk.stdin.write("quit\n")
                self.desk.stdin.flush()
                self.desk.wait(5)
            except (OSError, subprocess.TimeoutExpired):
                self.desk.kill()
                self.desk.wait()
        if self.compositor and self.compositor.poll() is None:
            self.compositor.terminate()
            try:
                self.compositor.wait(10)
            except subprocess.TimeoutExpired:
                self.compositor.kill()
                self.compositor.wait()
        if self.folder:
            shutil.rmtree(self.folder, ignore_errors=True)

    def kill_server(self, number):
        """Ends the compositor with this signal, under whatever runs on it."""
        self.compositor.send_signal(number)
        self.compositor.wait(10)

    def environment(self, extra=None):
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "XAUTHORITY", "SDL_VIDEODRIVER", "GDK_SCALE")}
        env.update(XDG_RUNTIME_DIR=self.folder, HOME=self.folder, WAYLAND_DISPLAY=self.socket or "",
                   SWAYSOCK=self.ipc or "",
                   XCURSOR_PATH=os.path.join(self.folder, "icons"), XCURSOR_THEME=HIDDEN_CURSOR_THEME)
        if self.display:
            env["DISPLAY"] = self.display
        env.update(extra or {})
        return env

    def swaymsg(self, *arguments, check=True):
        result = subprocess.run(["swaymsg", "-s", self.ipc, "-r"] + list(arguments), capture_output=True, timeout=30)
        if result.returncode != 0:
            if check:
                raise RuntimeError("swaymsg %s failed (%d): %s" % (" ".join(arguments), result.returncode,
                                                                  result.stderr.decode(errors="replace").strip()))
            return None
        return json.loads(result.stdout.decode(errors="replace") or "null")

    def run(self, *command, check=True):
        result = subprocess.run(list(command), env=self.environment(), capture_output=True, timeout=30)
        if check and result.returncode != 0:
            raise RuntimeError("%s failed (%d): %s" % (" ".join(command), result.returncode,
                                                       result.stderr.decode(errors="replace").strip()))
        return result.stdout.decode(errors="replace")

    # Windows: sway's views, by container id; geometry in device pixels.

    def views(self):
        """Every window sway shows, bottom of the stack first, each with its
        place in the stack."""
        found = []

        def walk(node):
            if node.get("pid") is not None and node.get("app_id") != "brisko-test-desk" and \
                    node.get("name") != "brisko test desk":
                found.append(node)
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                walk(child)

        walk(self.swaymsg("-t", "get_tree"))
        return found

    def view(self, window):
        for node in self.views():
            if node["id"] == window:
                return node
        raise RuntimeError("window %d is no longer on the desktop" % window)

    def find_windows(self, name):
        return [node["id"] for node in self.views() if node.get("name") == name and node.get("visible", True)]

    def wait_for_window(self, name, timeout, alive=lambda: True):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline and alive():
            windows = self.find_windows(name)
            if windows:
                return windows[0]
            time.sleep(0.1)
        return None

    def wait_for_window_count(self, name, count, timeout):
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
        """The window's own place and size (inside any border sway draws)."""
        node = self.view(window)
        rect, inner = node["rect"], node["window_rect"]
        s = self.scale
        return {"title": node.get("name"), "x": (rect["x"] + inner["x"]) * s, "y": (rect["y"] + inner["y"]) * s,
                "width": inner["width"] * s, "height": inner["height"] * s, "shell": node.get("shell"),
                "border": node.get("border"), "type": node.get("type")}

    def frame_extents(self, window):
        """(left, right, top, bottom) of what sway draws around the window."""
        node = self.view(window)
        rect, inner = node["rect"], node["window_rect"]
        left, top = inner["x"], inner["y"]
        return (left, rect["width"] - left - inner["width"], top, rect["height"] - top - inner["height"])

    def top_level(self, window):
        return window

    def top_level_info(self, window):
        node = self.view(window)
        rect, s = node["rect"], self.scale
        return {"title": node.get("name"), "x": rect["x"] * s, "y": rect["y"] * s, "width": rect["width"] * s,
                "height": rect["height"] * s}

    def stacking_order(self, windows):
        order = [node["id"] for node in self.views()]
        return [order.index(window) for window in windows]

    def wm_state(self, window):
        return "Normal"

    def activate(self, window):
        self.swaymsg("[con_id=%d] focus" % window)

    def bring_to_front(self, window):
        self.activate(window)
        time.sleep(0.1)

    def close(self, window):
        """As the compositor's close (xdg_toplevel.close)."""
        self.swaymsg("[con_id=%d] kill" % window)

    def pointer_targets(self, points):
        """For each device pixel, the window that takes the pointer there:
        0 where the desk under the windows gets it, otherwise the first
        program window on the desktop."""
        windows = self.views()
        owner = windows[-1]["id"] if windows else -1
        answer = self.desk_command("targets " + " ".join("%d %d" % point for point in points))
        return [0 if mark == "1" else owner for mark in answer]

    # The desk and the pointer.

    def desk_command(self, line):
        self.desk.stdin.write(line + "\n")
        self.desk.stdin.flush()
        answer = self.desk.stdout.readline().strip()
        if not answer and self.desk.poll() is not None:
            raise RuntimeError("the test desk ended with %d" % self.desk.returncode)
        return answer

    def set_root_colour(self, rgb):
        self.desk_command("colour %02X%02X%02X" % rgb)
        time.sleep(0.1)

    def screenshot(self, area=None):
        """The output in device pixels; with an area, only that part of it."""
        data = subprocess.run(["grim", "-t", "ppm", "-"], env=self.environment(), capture_output=True, timeout=30,
                              check=True).stdout
        width, height, pixels = parse_ppm(data)
        if area is None:
            return Image(width, height, pixels)
        left, top = max(area[0], 0), max(area[1], 0)
        right, bottom = min(area[2], width), min(area[3], height)
        if right <= left or bottom <= top:
            return Image(0, 0, b"", left, top)
        rows = [pixels[(y * width + left) * 3:(y * width + right) * 3] for y in range(top, bottom)]
        return Image(right - left, bottom - top, b"".join(rows), left, top)

    def move_pointer(self, x, y):
        self.desk_command("move %d %d" % (x, y))
        time.sleep(0.1)

    def move_pointer_at_once(self, points):
        """Every move sent in one burst, as a fast mouse does."""
        self.desk_command("moves " + " ".join("%d %d" % point for point in points))

    def press(self):
        self.desk_command("press")
        time.sleep(0.1)

    def release(self):
        self.desk_command("release")
        time.sleep(0.1)

    def click(self, x, y):
        self.move_pointer(x, y)
        self.press()
        self.release()

    # evdev key codes
    KEYS = {"Return": 28, "KP_Enter": 96, "Escape": 1, "space": 57}

    def key(self, name):
        answer = self.desk_command("key %d" % self.KEYS[name])
        if answer != "ok":
            raise RuntimeError("%s cannot send keys" % self.compositor_name)
        time.sleep(0.1)

    def can_send_keys(self):
        return True


def parse_ppm(data):
    """Width, height and RGB bytes of a binary (P6) PPM of 8-bit samples."""
    fields, position = [], 0
    while len(fields) < 4:
        while data[position:position + 1].isspace():
            position += 1
        if data[position:position + 1] == b"#":
            position = data.index(b"\n", position)
            continue
        end = position
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[position:end])
        position = end
    if fields[0] != b"P6" or int(fields[3]) != 255:
        raise ValueError("not an 8-bit binary PPM")
    width, height = int(fields[1]), int(fields[2])
    position += 1
    return width, height, data[position:position + width * height * 3]
