"""kwin 5.27 on its virtual backend, for one test run: the pointer and the
desk as on sway (kwin's fake input instead of wlroots' virtual pointer),
pixels through kwin's ScreenShot2 D-Bus interface (kwin_screenshot). kwin
has no IPC that tells where windows are: the tests find the window by its
pixels."""

import glob
import os
import shutil
import subprocess
import tempfile
import time

from image import Image
from swaysession import HIDDEN_CURSOR_THEME, SwaySession, parse_ppm, write_hidden_cursor_theme

REQUIRED_TOOLS = ["kwin_wayland", "dbus-daemon"]
KWIN = "/usr/bin/kwin_wayland"


class KwinSession(SwaySession):
    compositor_name = "kwin"

    def __init__(self, size, log, desk_program, screenshot_program, xwayland=False):
        super().__init__(size, 1, log, desk_program, xwayland)
        self.screenshot_program = screenshot_program
        self.bus_pid = None
        self.bus = None

    def start(self):
        self.folder = tempfile.mkdtemp(prefix="brisko-kwin-")
        os.chmod(self.folder, 0o700)
        write_hidden_cursor_theme(os.path.join(self.folder, "icons"))
        # Debian gives kwin_wayland file capabilities, which a container may
        # refuse to grant ("Operation not permitted"); a plain copy has none.
        kwin = os.path.join(self.folder, "kwin_wayland")
        shutil.copy(KWIN, kwin)
        self.bus = "unix:path=" + os.path.join(self.folder, "bus")
        started = subprocess.run(["dbus-daemon", "--session", "--address=" + self.bus, "--fork", "--print-pid"],
                                 capture_output=True, timeout=30, check=True)
        self.bus_pid = int(started.stdout.split()[0])
        self.socket = "brisko-kwin"
        locks = set(glob.glob("/tmp/.X*-lock"))
        self.compositor = subprocess.Popen(
            [kwin, "--virtual", "--no-lockscreen", "--width", str(self.width), "--height", str(self.height), "-s",
             self.socket] + (["--xwayland"] if self.xwayland else []), env=self.compositor_environment(),
            stdout=self.log, stderr=self.log, stdin=subprocess.DEVNULL)
        deadline = time.monotonic() + 30
        while not os.path.exists(os.path.join(self.folder, self.socket)):
            if self.compositor.poll() is not None:
                raise RuntimeError("kwin exited with %d (see the log)" % self.compositor.returncode)
            if time.monotonic() > deadline:
                raise RuntimeError("kwin offered no socket within 30 s")
            time.sleep(0.05)
        if self.xwayland:
            self.wait_for_kwin_xwayland(locks)
        self.start_desk()

    def wait_for_kwin_xwayland(self, locks_before):
        """kwin's XWayland takes a free display and writes its lock file."""
        deadline = time.monotonic() + 30
        while self.display is None:
            for name in set(glob.glob("/tmp/.X*-lock")) - locks_before:
                self.display = ":" + os.path.basename(name)[2:-5]
            if time.monotonic() > deadline:
                raise RuntimeError("kwin's XWayland took no display within 30 s")
            time.sleep(0.05)
        time.sleep(1)  # XWayland answering

    def compositor_environment(self):
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY", "GDK_SCALE", "QT_QPA_PLATFORM")}
        env.update(XDG_RUNTIME_DIR=self.folder, HOME=self.folder, DBUS_SESSION_BUS_ADDRESS=self.bus,
                   KWIN_WAYLAND_NO_PERMISSION_CHECKS="1", KWIN_SCREENSHOT_NO_PERMISSION_CHECKS="1",
                   XCURSOR_PATH=os.path.join(self.folder, "icons"), XCURSOR_THEME=HIDDEN_CURSOR_THEME)
        return env

    def environment(self, extra=None):
        env = super().environment(extra)
        env.pop("SWAYSOCK", None)
        # kwin's XWayland asks for the cookie kwin wrote into the runtime folder.
        cookies = glob.glob(os.path.join(self.folder or "", "xauth_*"))
        if self.display and cookies:
            env["XAUTHORITY"] = cookies[0]
        env["DBUS_SESSION_BUS_ADDRESS"] = self.bus
        return env

    def stop(self):
        super().stop()
        if self.bus_pid:
            try:
                os.kill(self.bus_pid, 15)
            except ProcessLookupError:
                pass

    def screenshot(self, area=None):
        left, top, right, bottom = area if area else (0, 0, self.width, self.height)
        left, top = max(left, 0), max(top, 0)
        right, bottom = min(right, self.width), min(bottom, self.height)
        if right <= left or bottom <= top:
            return Image(0, 0, b"", left, top)
        data = subprocess.run([self.screenshot_program, str(left), str(top), str(right - left), str(bottom - top)],
                              env=self.environment(), capture_output=True, timeout=30, check=True).stdout
        width, height, pixels = parse_ppm(data)
        return Image(width, height, pixels, left, top)

    def can_send_keys(self):
        return True

    def pointer_targets(self, points):
        """0 where the desk under the window gets the pointer, 1 elsewhere."""
        answer = self.desk_command("targets " + " ".join("%d %d" % point for point in points))
        return [0 if mark == "1" else 1 for mark in answer]
