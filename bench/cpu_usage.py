#!/usr/bin/env python3
"""The whole program's CPU use at its 50 frames a second, measured side by
side in one run with what it is compared with:

  reference loop   bench/reference_loop: every 20 ms two plain copies of a
                   frame, nothing else; what any program with this loop spends
  native           build/native/brisko on the desktop backend (SDL2 and X11)
  Wine 64-bit      build/windows-x64/brisko.exe under Wine
  Wine 32-bit      build/windows-x86/brisko.exe under Wine
  wayland          build/native/brisko on its Wayland backend, on a headless
                   sway of its own (the tests' compositor); sway is counted
                   with it, and the unused Xvfb beside it shows as its X server
  blank page       headless Chromium showing an empty page: what the browser
                   spends on its own
  web page         the program's web page (build/web, make web) in headless
                   Chromium, served on 127.0.0.1

Each runs on its own Xvfb of the same size for the same time, and each figure
includes that X server. CPU time is read in nanoseconds from the first field
of /proc/PID/task/TID/schedstat of every thread counted, at the start (once
the window is up and has settled) and at the end; threads that come or go in
between count for the time they ran inside the window. A Wine run counts
every process whose environment names its own fresh WINEPREFIX: the program,
wineserver and the helpers Wine starts for it. A browser run counts every
process of that browser (its renderer, GPU and utility processes); it does
not draw on the X server.

On a shared virtual machine absolute figures move from run to run: compare
the figures of one run with each other. With --rounds N every run is measured
N times, in turn, and the medians are reported.

  bench/cpu_usage.py [seconds] [--settle S] [--rounds N] [--runs reference,native,...]
"""

import argparse
import contextlib
import functools
import http.server
import os
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SCREEN = "1024x768x24"
WINDOW_TITLE = "Brisko Zerazadud"
SAMPLE_INTERVAL = 0.5

NATIVE_PROGRAM = os.path.join(ROOT, "build", "native", "brisko")
REFERENCE_LOOP = os.path.join(ROOT, "build", "native", "bench", "reference_loop")
WINDOWS_PROGRAMS = {64: os.path.join(ROOT, "build", "windows-x64", "brisko.exe"),
                    32: os.path.join(ROOT, "build", "windows-x86", "brisko.exe")}
WINE64_LOADER = "/usr/lib/wine/wine64"

WEB_PAGE = os.path.join(ROOT, "build", "web")
CHROMIUM = "/usr/bin/chromium"
CHROMIUM_ARGUMENTS = ["--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
                      "--disable-background-networking", "--disable-component-update", "--disable-sync",
                      "--window-size=1024,768", "--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1"]

RUN_NAMES = ["reference", "native", "wayland", "wine64", "wine32", "blank-page", "web-page"]
WAYLAND_TESTS = os.path.join(ROOT, "tests", "wayland")
WAYLAND_DESK = os.path.join(ROOT, "build", "native", "tests", "wayland", "wayland_desk")


class Skipped(Exception):
    """A row that cannot be measured here; the message says why."""


class Interrupted(Exception):
    pass


def log(message):
    print("cpu_usage: " + message, file=sys.stderr, flush=True)


# Signals end the run through the same clean-up as an error; a second one
# while cleaning up is ignored so that every process still gets stopped.
def install_signal_handlers():
    def interrupt(number, frame):
        for name in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
            signal.signal(name, signal.SIG_IGN)
        raise Interrupted("stopped by signal %d" % number)

    for name in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(name, interrupt)


# CPU time from /proc.

def read_text(path):
    try:
        with open(path, "rb") as f:
            return f.read().decode(errors="replace")
    except (FileNotFoundError, ProcessLookupError, PermissionError):
        return None


def thread_start_time(pid, tid):
    """The thread's start time in clock ticks since boot (field 22 of stat,
    counted after the command name, which may hold spaces): with it a reused
    thread id is a different thread."""
    stat = read_text("/proc/%d/task/%d/stat" % (pid, tid))
    if stat is None:
        return None
    return int(stat[stat.rindex(")") + 2:].split()[19])


def threads_on_cpu(pids):
    """Nanoseconds on a CPU of every thread of these processes, keyed by
    (process id, thread id, thread start time)."""
    times = {}
    for pid in pids:
        try:
            tids = [int(t) for t in os.listdir("/proc/%d/task" % pid)]
        except (FileNotFoundError, ProcessLookupError):
            continue
        for tid in tids:
            started = thread_start_time(pid, tid)
            schedstat = read_text("/proc/%d/task/%d/schedstat" % (pid, tid))
            if started is None or not schedstat:
                continue
            times[(pid, tid, started)] = int(schedstat.split()[0])
    return times


def process_name(pid):
    return (read_text("/proc/%d/comm" % pid) or "?").strip()


def all_pids():
    return [int(name) for name in os.listdir("/proc") if name.isdigit()]


def descendants(root):
    """The process and every process below it, from the parent ids in /proc."""
    children = {}
    for pid in all_pids():
        stat = read_text("/proc/%d/stat" % pid)
        if stat:
            parent = int(stat[stat.rindex(")") + 2:].split()[1])
            children.setdefault(parent, []).append(pid)
    found, waiting = [], [root]
    while waiting:
        pid = waiting.pop()
        found.append(pid)
        waiting.extend(children.get(pid, []))
    return found


def pids_with_environment(name, value):
    """Every process whose environment holds name=value."""
    entry = ("%s=%s" % (name, value)).encode()
    found = []
    for pid in all_pids():
        try:
            with open("/proc/%d/environ" % pid, "rb") as f:
                if entry in f.read().split(b"\0"):
                    found.append(pid)
        except (FileNotFoundError, ProcessLookupError, PermissionError):
            continue
    return found


class CpuMeter:
    """CPU time of a changing set of processes over a stretch of wall time.
    Sampled now and then, so that a thread that ends before the last sample
    still counts for what it ran up to the sample before its end. The wall
    time runs from the first reading to the last, not from the (slower)
    searches for the processes that come before them."""

    def __init__(self, find_pids):
        self.find_pids = find_pids
        self.first = {}
        self.last = {}
        self.names = {}
        self.first_time = self.last_time = None

    def _read(self):
        pids = self.find_pids()
        now = time.monotonic()
        times = threads_on_cpu(pids)
        for pid in pids:
            self.names.setdefault(pid, process_name(pid))
        return now, times

    def start(self):
        self.first_time, self.first = self._read()
        self.last_time, self.last = self.first_time, dict(self.first)

    def sample(self):
        self.last_time, times = self._read()
        self.last.update(times)

    def wall(self):
        return self.last_time - self.first_time

    def seconds(self, only=None):
        """CPU seconds of all the processes, or of those in only."""
        return sum(ns - self.first.get(key, 0) for key, ns in self.last.items()
                   if only is None or key[0] in only) / 1e9


# Processes this script starts, and their ends.

def stop_process(process, name, grace=5.0):
    """Terminates one process this script started and reaps it."""
    if process is None or process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(grace)
    except subprocess.TimeoutExpired:
        log("%s did not end on SIGTERM, killing it" % name)
        process.kill()
        process.wait(grace)


@contextlib.contextmanager
def x_server():
    """A private Xvfb; it picks a free display number itself and writes it
    (-displayfd) once it accepts connections. Yields (process, display)."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", SCREEN, "-nolisten", "tcp"],
                              pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    try:
        ready, _, _ = select.select([read_end], [], [], 15.0)
        number = os.read(read_end, 64).decode().strip() if ready else ""
        if not number:
            raise Skipped("Xvfb did not start within 15 s")
        yield server, ":" + number
    finally:
        os.close(read_end)
        stop_process(server, "Xvfb")


def clean_environment(extra):
    env = dict(os.environ)
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY", "SDL_VIDEODRIVER", "WINEPREFIX", "WINELOADER"):
        env.pop(name, None)
    env.update(extra)
    return env


def window_is_up(display):
    try:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % re.escape(WINDOW_TITLE)],
                               env=clean_environment({"DISPLAY": display}), capture_output=True, timeout=10)
    except subprocess.TimeoutExpired:
        return False
    return bool(found.stdout.split())


def wait_for_window(display, program, timeout, output):
    deadline = time.monotonic() + timeout
    while not window_is_up(display):
        if program.poll() is not None:
            raise Skipped("the program ended before its window showed (exit %d)%s" % (
                program.returncode, tail_of(output)))
        if time.monotonic() > deadline:
            raise Skipped("no window named %r within %d s%s" % (WINDOW_TITLE, timeout, tail_of(output)))
        time.sleep(0.2)


def tail_of(output, lines=3):
    output.flush()
    output.seek(0)
    text = output.read().decode(errors="replace").strip().splitlines()[-lines:]
    return (": " + " / ".join(text)) if text else ""


# One measurement.

class Figure:
    def __init__(self, total, x_server, wall, names):
        self.total = total
        self.x_server = x_server
        self.wall = wall
        self.names = names

    def percent(self, seconds=None):
        return 100.0 * (self.total if seconds is None else seconds) / self.wall


def measure(find_pids, x_process, program, seconds, settle, output):
    """Waits out the settle time, then samples the counted processes and the
    X server for the given seconds. The program must still be running at the
    end, or the figure would be short."""
    time.sleep(settle)
    meter = CpuMeter(lambda: [x_process.pid] + find_pids())
    meter.start()
    while meter.wall() < seconds:
        time.sleep(max(0.0, min(SAMPLE_INTERVAL, seconds - meter.wall() - 0.01)))
        meter.sample()
        if program.poll() is not None:
            raise Skipped("the program ended during the measurement (exit %d)%s" % (
                program.returncode, tail_of(output)))
    names = [meter.names[pid] for pid in sorted(meter.names)]
    log("counted %d processes: %s" % (len(names), ", ".join(names)))
    return Figure(meter.seconds(), meter.seconds({x_process.pid}), meter.wall(), names)


# What is measured. Each kind of run is prepared once (a build checked, a
# Wine prefix made) and then started afresh on a new X server every round.

class ReferenceRun:
    name = "reference"
    label = "reference loop (2 frame copies every 20 ms)"
    window_timeout = None

    def prepare(self, stack):
        if not os.access(REFERENCE_LOOP, os.X_OK):
            raise Skipped("%s is not built (make build)" % os.path.relpath(REFERENCE_LOOP, ROOT))

    def start(self, stack, display, output):
        loop = subprocess.Popen([REFERENCE_LOOP], stdout=output, stderr=output, stdin=subprocess.DEVNULL,
                                env=clean_environment({}))
        stack.callback(stop_process, loop, "reference_loop")
        return loop, lambda: descendants(loop.pid)


class NativeRun:
    name = "native"
    label = "brisko, native (desktop backend)"
    window_timeout = 20

    def prepare(self, stack):
        if not os.access(NATIVE_PROGRAM, os.X_OK):
            raise Skipped("%s is not built (make build)" % os.path.relpath(NATIVE_PROGRAM, ROOT))

    def start(self, stack, display, output):
        program = subprocess.Popen([NATIVE_PROGRAM], stdout=output, stderr=output, stdin=subprocess.DEVNULL,
                                   env=clean_environment({"DISPLAY": display, "SDL_VIDEODRIVER": "x11"}))
        stack.callback(stop_process, program, "brisko")
        return program, lambda: descendants(program.pid)


class WaylandRun:
    """The program on the Wayland backend, on a headless sway started for
    the run as the Wayland tests start it (as an unprivileged user when run
    as root); sway's CPU time counts with the program's."""

    name = "wayland"
    label = "brisko, Wayland backend, on headless sway (sway counted)"
    window_timeout = None

    def prepare(self, stack):
        for needed in (NATIVE_PROGRAM, WAYLAND_DESK):
            if not os.access(needed, os.X_OK):
                raise Skipped("%s is not built (make build)" % os.path.relpath(needed, ROOT))
        if not (shutil.which("sway") and shutil.which("setpriv")):
            raise Skipped("sway is not installed (make deps)")
        for folder in (WAYLAND_TESTS, os.path.join(ROOT, "tests", "display")):
            if folder not in sys.path:
                sys.path.insert(0, folder)

    def start(self, stack, display, output):
        import layout
        from swaysession import SwaySession
        session = stack.enter_context(SwaySession(layout.SCREEN_SIZE, 1, output, WAYLAND_DESK))
        program = subprocess.Popen([NATIVE_PROGRAM], stdout=output, stderr=output, stdin=subprocess.DEVNULL,
                                   env=session.environment())
        stack.callback(stop_process, program, "brisko")
        if session.wait_for_window(layout.WINDOW_TITLE, 20, alive=lambda: program.poll() is None) is None:
            raise Skipped("the window did not appear on sway within 20 s%s" % tail_of(output))
        return program, lambda: descendants(program.pid) + [session.compositor.pid]


# Wine.

def wine_launchers():
    """The command that runs each build under Wine here, or why there is none.
    The `wine` launcher takes the 32-bit loader when it is installed, which
    hands 64-bit programs on; on a kernel that does not run 32-bit programs
    the 64-bit loader is called directly."""
    if shutil.which("wine") is None:
        reason = "Wine is not installed (make deps)"
        return {64: reason, 32: reason}
    try:
        probe = subprocess.run(["wine", "--version"], capture_output=True, timeout=30,
                               env=clean_environment({"WINEDEBUG": "-all"}))
        works = probe.returncode == 0
        detail = probe.stderr.decode(errors="replace").strip().splitlines()[-1:] or ["exit %d" % probe.returncode]
    except subprocess.TimeoutExpired:
        works, detail = False, ["no answer within 30 s"]
    if works:
        return {64: ["wine"], 32: ["wine"]}
    launchers = {32: "the wine launcher does not run here (%s): this kernel seems not to run 32-bit programs" %
                 detail[0]}
    launchers[64] = [WINE64_LOADER] if os.access(WINE64_LOADER, os.X_OK) else "neither wine nor wine64 runs here"
    return launchers


def wine_environment(launcher, prefix, display=None):
    extra = {"WINEPREFIX": prefix, "WINEDEBUG": "-all", "WINEDLLOVERRIDES": "mscoree,mshtml="}
    if launcher[0] == WINE64_LOADER:
        extra["WINELOADER"] = WINE64_LOADER
    if display:
        extra["DISPLAY"] = display
    return clean_environment(extra)


def run_step(command, env, timeout, what):
    try:
        result = subprocess.run(command, env=env, stdin=subprocess.DEVNULL, capture_output=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        raise Skipped("%s took more than %d s" % (what, timeout))
    if result.returncode != 0:
        lines = result.stderr.decode(errors="replace").strip().splitlines()[-2:]
        raise Skipped("%s failed (exit %d)%s" % (what, result.returncode, (": " + " / ".join(lines)) if lines else ""))


def end_wine(prefix, env):
    """Ends every process of this prefix: wineserver -k first, then any
    process still holding the prefix in its environment, by its id."""
    with contextlib.suppress(subprocess.TimeoutExpired, OSError):
        subprocess.run(["wineserver", "-k"], env=env, stdin=subprocess.DEVNULL, capture_output=True, timeout=15)
    deadline = time.monotonic() + 5
    while pids_with_environment("WINEPREFIX", prefix) and time.monotonic() < deadline:
        time.sleep(0.1)
    for pid in pids_with_environment("WINEPREFIX", prefix):
        log("killing Wine process %d left behind" % pid)
        with contextlib.suppress(ProcessLookupError):
            os.kill(pid, signal.SIGKILL)


class WineRun:
    """One Windows build under Wine, in a fresh prefix of its own. Every
    process whose environment names that prefix is counted."""

    window_timeout = 90

    def __init__(self, bits, launcher):
        self.bits = bits
        self.launcher = launcher
        self.name = "wine%d" % bits
        self.label = "brisko.exe %d-bit under Wine" % bits
        self.program = WINDOWS_PROGRAMS[bits]
        self.prefix = None

    def prepare(self, stack):
        if isinstance(self.launcher, str):
            raise Skipped(self.launcher)
        if not os.path.isfile(self.program):
            preset = "windows-x64" if self.bits == 64 else "windows-x86"
            raise Skipped("%s is not built (cmake --preset %s && cmake --build --preset %s)" % (
                os.path.relpath(self.program, ROOT), preset, preset))
        self.prefix = stack.enter_context(tempfile.TemporaryDirectory(prefix="brisko-%s-" % self.name,
                                                                      ignore_cleanup_errors=True))
        quiet = wine_environment(self.launcher, self.prefix)
        stack.callback(end_wine, self.prefix, quiet)
        # The prefix is made without a display, then its wineserver and
        # desktop are left to end: a program started while they still run
        # finds no display driver.
        log("Wine %d-bit: initialising a fresh prefix" % self.bits)
        run_step(self.launcher + ["wineboot", "-i"], quiet, 300, "wineboot -i")
        run_step(["wineserver", "-w"], quiet, 120, "wineserver -w")

    def start(self, stack, display, output):
        # Wine's processes end before their display does, the program first.
        stack.callback(end_wine, self.prefix, wine_environment(self.launcher, self.prefix))
        program = subprocess.Popen(self.launcher + [self.program], stdout=output, stderr=output,
                                   stdin=subprocess.DEVNULL, env=wine_environment(self.launcher, self.prefix, display),
                                   cwd=os.path.dirname(self.program))
        stack.callback(stop_process, program, "brisko.exe")
        return program, lambda: pids_with_environment("WINEPREFIX", self.prefix)


# The web page.

class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


@contextlib.contextmanager
def page_server(folder):
    """Python's HTTP server on 127.0.0.1 serving the folder, in a thread;
    yields the page's address."""
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(QuietHandler, directory=folder))
    thread = threading.Thread(target=server.serve_forever, daemon=True)
    thread.start()
    try:
        yield "http://127.0.0.1:%d/index.html" % server.server_address[1]
    finally:
        server.shutdown()
        server.server_close()


class BrowserRun:
    """Headless Chromium with a fresh profile showing one page: the
    program's, or an empty one for what the browser costs by itself."""

    window_timeout = None
    # A browser is busy for some seconds after it starts, page or not.
    settle_at_least = 6.0

    def __init__(self, with_program):
        self.with_program = with_program
        self.name = "web-page" if with_program else "blank-page"
        self.label = "brisko, web page in headless Chromium" if with_program else "headless Chromium, blank page"
        self.url = "about:blank"

    def prepare(self, stack):
        if not os.access(CHROMIUM, os.X_OK):
            raise Skipped("Chromium is not installed (make deps)")
        if self.with_program:
            if not os.path.isfile(os.path.join(WEB_PAGE, "index.html")):
                raise Skipped("the page is not built (make web)")
            self.url = stack.enter_context(page_server(WEB_PAGE))

    def start(self, stack, display, output):
        profile = stack.enter_context(tempfile.TemporaryDirectory(prefix="brisko-chromium-",
                                                                  ignore_cleanup_errors=True))
        browser = subprocess.Popen([CHROMIUM] + CHROMIUM_ARGUMENTS + ["--user-data-dir=" + profile, self.url],
                                   stdout=output, stderr=output, stdin=subprocess.DEVNULL, env=clean_environment({}))
        stack.callback(stop_process, browser, "chromium")
        return browser, lambda: descendants(browser.pid)


def measure_once(run, seconds, settle):
    """One round of one run: its own X server, the program started on it,
    its window awaited, then the measurement; everything stopped after."""
    with contextlib.ExitStack() as stack:
        x_process, display = stack.enter_context(x_server())
        output = stack.enter_context(tempfile.TemporaryFile())
        program, find_pids = run.start(stack, display, output)
        if run.window_timeout:
            wait_for_window(display, program, run.window_timeout, output)
        return measure(find_pids, x_process, program, seconds, max(settle, getattr(run, "settle_at_least", 0.0)),
                       output)


# The report.

def machine():
    model, mhz = "unknown CPU", None
    for line in (read_text("/proc/cpuinfo") or "").splitlines():
        key, _, value = line.partition(":")
        if key.strip() == "model name" and model == "unknown CPU":
            model = value.strip()
        elif key.strip() == "cpu MHz" and mhz is None:
            mhz = float(value)
    system = "Linux"
    for line in (read_text("/etc/os-release") or "").splitlines():
        if line.startswith("PRETTY_NAME="):
            system = line.split("=", 1)[1].strip('"')
    speed = " at %.1f GHz" % (mhz / 1000) if mhz else ""
    return "%s%s, %d cores, kernel %s, %s" % (model, speed, os.cpu_count() or 0, os.uname().release, system)


def median(values):
    ordered = sorted(values)
    middle = len(ordered) // 2
    return ordered[middle] if len(ordered) % 2 else (ordered[middle - 1] + ordered[middle]) / 2


def ratio_line(what, numerator, denominator, figures, note):
    """The median over the rounds of the ratio within each round: rounds are
    taken one after the other, so each round's runs met the same load."""
    ratios = [top.percent() / bottom.percent() for top, bottom in zip(figures.get(numerator, []),
                                                                     figures.get(denominator, []))
              if bottom.total > 0]
    if not ratios:
        return "%-24s not measured" % (what + ":")
    each = "" if len(ratios) == 1 else "; rounds: " + ", ".join("%.2f" % r for r in ratios)
    return "%-24s %6.2f   (%s%s)" % (what + ":", median(ratios), note, each)


def report(runs, figures, skipped, seconds, settle, rounds):
    print()
    print("Machine: %s" % machine())
    print("Each run on its own Xvfb %s, its X server included; CPU time from schedstat over %g s, "
          "after %g s of settling%s." % (SCREEN, seconds, settle,
                                         "" if rounds == 1 else "; median of %d rounds" % rounds))
    print()
    print("| Run | CPU, %% of one core | of which X server | processes | measured |%s" % (
        "" if rounds == 1 else " rounds |"))
    print("|---|---|---|---|---|%s" % ("" if rounds == 1 else "---|"))
    for run in runs:
        taken = figures.get(run.name)
        if taken:
            each = "" if rounds == 1 else " %s |" % ", ".join("%.3f" % f.percent() for f in taken)
            print("| %s | %.3f %% | %.3f %% | %d | %.1f s |%s" % (
                run.label, median(f.percent() for f in taken), median(f.percent(f.x_server) for f in taken),
                max(len(f.names) for f in taken), median(f.wall for f in taken), each))
        elif run.name in skipped:
            print("| %s | skipped | | | |%s" % (run.label, "" if rounds == 1 else " |"))
    print()
    print(ratio_line("native / reference", "native", "reference", figures, "target: at most 1.5"))
    print(ratio_line("Wayland / native", "wayland", "native", figures, "the compositor included"))
    print(ratio_line("Wine 32-bit / native", "wine32", "native", figures, "target: at least 15"))
    print(ratio_line("Wine 64-bit / native", "wine64", "native", figures, "for comparison"))
    print(ratio_line("web page / native", "web-page", "native", figures, "for comparison"))
    print(ratio_line("web page / blank page", "web-page", "blank-page", figures, "the browser's own share"))
    for run in runs:
        if run.name in skipped:
            print("skipped %s: %s" % (run.label, skipped[run.name]))


def make_runs(names):
    launchers = wine_launchers() if any(name.startswith("wine") for name in names) else {}
    made = {"reference": ReferenceRun, "native": NativeRun, "wayland": WaylandRun,
            "wine64": lambda: WineRun(64, launchers[64]), "wine32": lambda: WineRun(32, launchers[32]),
            "blank-page": lambda: BrowserRun(False), "web-page": lambda: BrowserRun(True)}
    return [made[name]() for name in names]


def measure_all(runs, seconds, settle, rounds, figures, skipped):
    """Every run prepared, then measured round after round in turn."""
    with contextlib.ExitStack() as prepared:
        ready = []
        for run in runs:
            try:
                if not (shutil.which("Xvfb") and shutil.which("xdotool")):
                    raise Skipped("Xvfb or xdotool is not installed (make deps)")
                run.prepare(prepared)
                ready.append(run)
            except Skipped as reason:
                skipped[run.name] = str(reason)
                log("skipped %s: %s" % (run.label, reason))
        for round_number in range(1, rounds + 1):
            for run in [run for run in ready if run.name not in skipped]:
                log("round %d of %d: measuring %s for %g s" % (round_number, rounds, run.label, seconds))
                try:
                    figures.setdefault(run.name, []).append(measure_once(run, seconds, settle))
                except Skipped as reason:
                    skipped[run.name] = str(reason)
                    figures.pop(run.name, None)
                    log("skipped %s: %s" % (run.label, reason))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("seconds", nargs="?", type=float, default=15.0, help="how long each run is measured")
    parser.add_argument("--settle", type=float, default=2.0, help="seconds between the window showing and the start")
    parser.add_argument("--rounds", type=int, default=1, help="measure every run this many times, in turn")
    parser.add_argument("--runs", default=",".join(RUN_NAMES), help="which runs, of: " + ", ".join(RUN_NAMES))
    args = parser.parse_args()
    names = [name.strip() for name in args.runs.split(",") if name.strip()]
    unknown = [name for name in names if name not in RUN_NAMES]
    if unknown:
        parser.error("unknown runs: %s" % ", ".join(unknown))
    if args.seconds <= 0 or args.settle < 0 or args.rounds < 1:
        parser.error("seconds must be positive, settle not negative, rounds at least 1")

    install_signal_handlers()
    figures, skipped = {}, {}
    try:
        runs = make_runs(names)
        measure_all(runs, args.seconds, args.settle, args.rounds, figures, skipped)
    except Interrupted as reason:
        log("%s; every process it started has been stopped" % reason)
        return 130
    report(runs, figures, skipped, args.seconds, args.settle, args.rounds)
    return 0


if __name__ == "__main__":
    sys.exit(main())
