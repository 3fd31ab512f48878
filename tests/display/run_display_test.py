#!/usr/bin/env python3
"""End-to-end test of the program on a private X server, with or without a
window manager: the window's placement, outline and pixels, its controls
driven with real pointer input, window dragging, and the ways it ends.

  run_display_test.py --program PATH --res DIR --artifacts DIR [--wine] [--window-manager] [--scenario NAME]
                      [--scale N [--scale-by variable|resource]] [--without-shared-memory]

Scenarios: ui (the whole window, ending with the close button, then a
second start for minimise); scaled (the window's placement, picture and
input shape, presses on a button's edges, a volume drag, a window drag and
the close button; with --scale); startup (the first picture where it
belongs, then the close button: what a packaged program must pass); signals
(SIGTERM and SIGINT in every state, the X server gone too, and the window
manager's close; native only);
display-loss (the X server ended under the program in every state; native
only); about-load (the about box opened and closed many times on a busy
machine); no-display (native only).

With --scale N the native program is asked to scale its window by N, by
GDK_SCALE or by the Xft.dpi resource (96 N dots per inch), on a screen N
times as big: every client pixel must show as an N x N block.

With --without-shared-memory the X server offers no shared memory
(MIT-SHM), as a display on another machine cannot: the program's pixels
then go to it over the connection.

Exits with 77 when the program cannot run on this machine (a 32-bit
Windows build where the kernel refuses 32-bit programs)."""

import argparse
import contextlib
import glob
import os
import shutil
import sys
import time

sys.dont_write_bytecode = True  # keep the source tree free of caches

import desktops
import endings
import layout
import scenarios
from displayrun import CheckFailed, DisplayRun
from program import Program, WineProgram, windows_program_bits
from skin import Skin
from xsession import (DESKTOP_TOOLS, REQUIRED_TOOLS, WINDOW_MANAGER_TOOLS, ServerDidNotStart, XSession,
                      why_xorg_dummy_cannot_run)

SKIPPED = 77
NATIVE_ONLY = ("signals", "display-loss", "no-display")
SCALED_SCENARIOS = ("ui", "scaled")
# Scenarios of desktops other than the plain one, each with what it runs.
DESKTOP_SCENARIOS = {
    "burst-drag": desktops.burst_drags,
    "burst-drag-busy": desktops.burst_drags_under_load,
    "placed-elsewhere": desktops.placed_elsewhere,
    "kept-in-place": desktops.kept_in_place,
    "stale-wm-check": desktops.stale_window_manager_check,
    "primary-monitor": desktops.primary_monitor,
    "depth": desktops.screen_depth,
}
# Two monitors side by side, the primary one on the right.
PRIMARY_ON_THE_RIGHT = [("LEFT", (1024, 768, 0, 0), False), ("RIGHT", (1024, 768, 1024, 0), True)]
DUMMY_PRIMARY_ON_THE_RIGHT = [("DUMMY1", ["--mode", "1024x768", "--right-of", "DUMMY0"]),
                              ("DUMMY1", ["--primary"])]


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True)
    parser.add_argument("--res", required=True, help="the skin's files (res/)")
    parser.add_argument("--artifacts", required=True, help="where failure screenshots and logs go")
    parser.add_argument("--wine", action="store_true", help="run the Windows build under Wine")
    parser.add_argument("--windows-version", choices=["winxp", "win7", "win10"],
                        help="the Windows version Wine's prefix reports (winecfg -v); Wine's default otherwise")
    parser.add_argument("--window-manager", action="store_true", help="run openbox on the X server")
    parser.add_argument("--scenario", default="ui",
                        choices=["ui", "scaled", "startup", "signals", "display-loss", "about-load", "no-display"] +
                        sorted(DESKTOP_SCENARIOS))
    parser.add_argument("--desktop", choices=["i3", "keeping", "stale-check"],
                        help="another window manager than openbox: i3; keeping (keeps windows where it puts them, "
                        "moves them only itself, ignores minimise); stale-check (openbox killed, its check left)")
    parser.add_argument("--depth", type=int, default=24, choices=[16, 24, 30], help="the screen's depth")
    parser.add_argument("--primary-on-the-right", choices=["monitors", "outputs"],
                        help="a screen of two monitors side by side, the right one primary: RandR monitors laid "
                        "over an Xvfb screen, or two outputs of Xorg's dummy driver")
    parser.add_argument("--scale", type=int, default=1, help="the whole number the desktop asks to scale by")
    parser.add_argument("--scale-by", default="variable", choices=["variable", "resource"],
                        help="ask by the GDK_SCALE variable or by the Xft.dpi X resource")
    parser.add_argument("--without-shared-memory", action="store_true",
                        help="an X server without the MIT-SHM extension")
    return parser.parse_args()


def missing_tools(args):
    needed = REQUIRED_TOOLS + (["wine", "wineserver"] if args.wine else []) + (
        WINDOW_MANAGER_TOOLS if args.window_manager else []) + DESKTOP_TOOLS[args.desktop] + (
        ["xrandr"] if args.primary_on_the_right else [])
    return [tool for tool in needed if shutil.which(tool) is None]


def ui(run, native):
    run.launch()
    scenarios.whole_window(run, native)
    run.launch()
    scenarios.minimise_button(run, stays_on_screen=native)


def scaled(run):
    run.launch()
    scenarios.scaled_window(run)


def startup(run):
    run.launch()
    scenarios.placement(run)
    scenarios.close_button(run)


class Skip(Exception):
    """The program cannot run on this machine."""


class Bench:
    """What every run of one test shares: the program, the skin, where the
    logs go. Each run gets an X server (and Wine prefix) of its own."""

    def __init__(self, args, name, log):
        self.args = args
        self.name = name
        self.log = log
        self.skin = Skin(args.res)
        self.scale = args.scale
        self.screen_size = layout.screen_size(args.scale)
        self.monitors = PRIMARY_ON_THE_RIGHT if args.primary_on_the_right == "monitors" else None
        self.outputs = DUMMY_PRIMARY_ON_THE_RIGHT if args.primary_on_the_right == "outputs" else None
        self.expected_origin = None
        if args.primary_on_the_right:
            self.screen_size = (2048, 768)
            self.expected_origin = (1024 + layout.WINDOW_ORIGIN[0], layout.WINDOW_ORIGIN[1])
        self.log_path = os.path.join(args.artifacts, name + ".log")
        self.server_log_path = os.path.join(args.artifacts, name + "-xvfb.log")
        for path in (self.log_path, self.log_path + ".stdout", self.server_log_path):
            with open(path, "wb"):
                pass  # each test's output starts afresh

    def program(self, session):
        variables = self.ask_to_scale(session)
        if self.args.wine:
            return WineProgram(self.args.program, session, self.log_path, variables, self.args.windows_version)
        return Program(self.args.program, session, self.log_path, variables)

    def ask_to_scale(self, session):
        """Asks for the scale as a desktop would, before the program
        starts: returns the variables the program gets for it."""
        if self.scale == 1:
            return {}
        if self.args.scale_by == "variable":
            return {"GDK_SCALE": str(self.scale)}
        session.merge_resources("Xft.dpi: %d\n" % (96 * self.scale))
        return {}

    def describe_scale(self):
        if self.scale == 1:
            return ""
        how = "GDK_SCALE=%d" % self.scale if self.args.scale_by == "variable" else "Xft.dpi %d" % (96 * self.scale)
        return ", %dx%d, scale %d by %s" % (self.screen_size + (self.scale, how))

    @contextlib.contextmanager
    def run(self, before_start=None):
        with open(self.server_log_path, "ab") as server_log, \
                XSession(*self.screen_size, server_log, window_manager=self.args.window_manager,
                         shared_memory=not self.args.without_shared_memory, desktop=self.args.desktop,
                         depth=self.args.depth, monitors=self.monitors, dummy_outputs=self.outputs) as session:
            program = self.program(session)
            try:
                if before_start:
                    before_start(program)
                run = DisplayRun(session, program, self.skin, self.args.artifacts, self.name, self.log, self.scale,
                                 self.expected_origin)
                self.log("X server %s%s%s%s%s%s%s" % (
                    session.display, " with openbox" if self.args.window_manager else "",
                    " with the desktop %s" % self.args.desktop if self.args.desktop else "",
                    " at depth %d" % self.args.depth if self.args.depth != 24 else "",
                    ", two %s, the right one primary" % self.args.primary_on_the_right
                    if self.args.primary_on_the_right else "",
                    " without shared memory" if self.args.without_shared_memory else "", self.describe_scale()))
                yield run
            finally:
                program.cleanup()


def test_name(args):
    if args.wine:
        kind = "wine%d" % windows_program_bits(args.program)
    else:
        kind = "native"
    if args.scale > 1:
        kind += "_scale%d_%s" % (args.scale, args.scale_by)
    if args.without_shared_memory:
        kind += "_no_shm"
    if args.depth != 24:
        kind += "_depth%d" % args.depth
    if args.desktop:
        kind += "_" + args.desktop.replace("-", "_")
    if args.primary_on_the_right:
        kind += "_" + args.primary_on_the_right
    return "display_%s%s_%s" % (kind, "_openbox" if args.window_manager else "", args.scenario.replace("-", "_"))


def scale_problem(args):
    if args.scale < 1:
        return "--scale takes a whole number from 1"
    if args.scale > 1 and args.wine:
        return "the Windows build under Wine does not scale"
    if args.scale > 1 and args.scenario not in SCALED_SCENARIOS:
        return "the %s scenario does not run scaled" % args.scenario
    if args.scale == 1 and args.scenario == "scaled":
        return "the scaled scenario needs --scale 2 or more"
    return None


def main():
    args = parse_arguments()
    if args.wine and args.scenario in NATIVE_ONLY:
        print("FAIL: under Wine the %s scenario does not run" % args.scenario)
        return 1
    problem = scale_problem(args)
    if problem:
        print("FAIL: " + problem)
        return 1
    if not os.path.exists(args.program):
        print("FAIL: no program at %s" % args.program)
        return 1
    started = time.monotonic()
    name = test_name(args)
    os.makedirs(args.artifacts, exist_ok=True)
    for stale in glob.glob(os.path.join(args.artifacts, name + "-failure-*.png")):
        os.remove(stale)

    def log(message):
        print("[%6.2fs] %s" % (time.monotonic() - started, message), flush=True)

    if args.scenario == "no-display":
        problems = scenarios.no_display(args.program, log)
        for problem in problems:
            print("FAIL: " + problem)
        return 1 if problems else 0
    missing = missing_tools(args)
    if missing:
        print("FAIL: the display test needs %s on the PATH" % ", ".join(missing))
        return 1

    if args.primary_on_the_right == "outputs":
        why_not = why_xorg_dummy_cannot_run()
        if why_not:
            print("SKIP: %s" % why_not)
            return SKIPPED
    bench = Bench(args, name, log)
    if args.scenario in ("signals", "display-loss"):
        failures = (endings.signals if args.scenario == "signals" else endings.display_loss)(bench, log)
        if failures:
            print("FAIL: %d cases (see above): %s" % (len(failures), "; ".join(failures)))
            return 1
        log("passed")
        return 0

    def prepare(program):
        if not args.wine:
            return
        why_not = program.choose_loader()
        if why_not:
            raise Skip(why_not)
        log("preparing a Wine prefix (%s%s)" % (" ".join(program.launcher), ", reporting Windows version %s" % (
            args.windows_version) if args.windows_version else ""))
        program.prepare()

    try:
        with bench.run(before_start=prepare) as run:
            if args.scenario == "ui":
                ui(run, native=not args.wine)
            elif args.scenario == "scaled":
                scaled(run)
            elif args.scenario == "startup":
                startup(run)
            elif args.scenario in DESKTOP_SCENARIOS:
                DESKTOP_SCENARIOS[args.scenario](run)
            else:
                endings.about_box_under_load(run)
    except Skip as skip:
        print("SKIP: %s" % skip)
        return SKIPPED
    except ServerDidNotStart as failure:
        if args.primary_on_the_right != "outputs":
            raise
        print("SKIP: Xorg with the dummy driver cannot start here: %s" % failure)
        return SKIPPED
    except CheckFailed as failure:
        print("FAIL: %s" % failure)
        return 1
    log("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
