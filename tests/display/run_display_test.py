#!/usr/bin/env python3
"""End-to-end test of the program on a private X server: the window's
placement, outline and pixels, its controls driven with real pointer input,
window dragging, and the ways it ends.

  run_display_test.py --program PATH --res DIR --artifacts DIR [--wine] [--scenario NAME]

Scenarios: ui (the whole window, ending with the close button, then a
second start for minimise); startup (the first picture where it belongs,
then the close button: what a packaged program must pass); signals
(SIGTERM and SIGINT end it through its shutdown: when idle, during a window
drag, with the about box open; native only); no-display (native only)."""

import argparse
import glob
import os
import shutil
import signal
import sys
import time

sys.dont_write_bytecode = True  # keep the source tree free of caches

import layout
import scenarios
from displayrun import CheckFailed, DisplayRun
from program import Program, WineProgram
from skin import Skin
from xsession import REQUIRED_TOOLS, XSession


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True)
    parser.add_argument("--res", required=True, help="the skin's files (res/)")
    parser.add_argument("--artifacts", required=True, help="where failure screenshots and logs go")
    parser.add_argument("--wine", action="store_true", help="run the Windows build under Wine")
    parser.add_argument("--scenario", default="ui", choices=["ui", "startup", "signals", "no-display"])
    return parser.parse_args()


def missing_tools(wine):
    needed = REQUIRED_TOOLS + (["wine", "wineserver"] if wine else [])
    return [tool for tool in needed if shutil.which(tool) is None]


def ui(run, native):
    run.launch()
    scenarios.placement(run)
    scenarios.animation(run)
    scenarios.push_buttons(run)
    scenarios.scroll_arrows(run)
    scenarios.scroll_thumb(run)
    scenarios.volume_drag(run)
    scenarios.transport(run)
    scenarios.about_box(run)
    if native:
        scenarios.about_boxes_stacked(run)
    scenarios.caption_drag(run, repaints_while_dragged=native)
    scenarios.close_button(run)
    run.launch()
    scenarios.minimise_button(run, stays_on_screen=native)


def startup(run):
    run.launch()
    scenarios.placement(run)
    scenarios.close_button(run)


def signals(run):
    for name, number in (("SIGTERM", signal.SIGTERM), ("SIGINT", signal.SIGINT)):
        run.launch()
        scenarios.interrupt_when_idle(run, name, number)
    run.launch()
    scenarios.interrupt_during_drag(run, "SIGTERM", signal.SIGTERM)
    run.launch()
    scenarios.interrupt_with_box_open(run, "SIGINT", signal.SIGINT)
    run.launch()
    scenarios.window_manager_close(run)


def main():
    args = parse_arguments()
    if args.wine and args.scenario != "ui":
        print("FAIL: under Wine only the ui scenario runs")
        return 1
    started = time.monotonic()
    name = "display_%s_%s" % ("wine" if args.wine else "native", args.scenario.replace("-", "_"))
    os.makedirs(args.artifacts, exist_ok=True)
    for stale in glob.glob(os.path.join(args.artifacts, name + "-failure-*.png")):
        os.remove(stale)

    def log(message):
        print("[%6.2fs] %s" % (time.monotonic() - started, message), flush=True)

    if not os.path.exists(args.program):
        print("FAIL: no program at %s" % args.program)
        return 1
    if args.scenario == "no-display":
        problems = scenarios.no_display(args.program, log)
        for problem in problems:
            print("FAIL: " + problem)
        return 1 if problems else 0
    missing = missing_tools(args.wine)
    if missing:
        print("FAIL: the display test needs %s on the PATH" % ", ".join(missing))
        return 1

    skin = Skin(args.res)
    log_path = os.path.join(args.artifacts, name + ".log")
    with open(log_path, "wb"):
        pass  # each run's program output starts afresh
    server_log_path = os.path.join(args.artifacts, name + "-xvfb.log")
    with open(server_log_path, "wb") as server_log, XSession(*layout.SCREEN_SIZE, server_log) as session:
        program = (WineProgram if args.wine else Program)(args.program, session, log_path)
        run = DisplayRun(session, program, skin, args.artifacts, name, log)
        log("X server %s" % session.display)
        try:
            if args.wine:
                log("preparing a Wine prefix")
                program.prepare()
            if args.scenario == "ui":
                ui(run, native=not args.wine)
            elif args.scenario == "startup":
                startup(run)
            else:
                signals(run)
        except CheckFailed as failure:
            print("FAIL: %s" % failure)
            return 1
        finally:
            program.cleanup()
    log("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
