#!/usr/bin/env python3
"""End-to-end test of the program's Wayland backend on a compositor the test
runs headless: the display tests' scenarios (tests/display), with a Wayland
desktop as the screen.

  run_wayland_test.py --program PATH --desk PATH --res DIR --artifacts DIR [--scenario NAME] [--scale N]

Scenarios: ui (the whole window: placement, outline and where it takes the
pointer, controls, about boxes, a drag, the close button; then a second
start for minimise and the compositor's close); drags (the whole movement
sent in one burst a moment after the press; and, only reported, press and
movement sent together); endings (SIGTERM, then the compositor killed under
the program); scaled (with --scale 2 or more: the output's scale, every
pixel an N x N block); kwin (with --compositor kwin: start-up, the
outline's input, a drag leaving nothing behind, the close button); xwayland
(with --xwayland --backend x11: the X11 program on sway's XWayland, dragged,
clicked, minimised, closed)."""

import argparse
import os
import shutil
import signal
import sys
import time

sys.dont_write_bytecode = True  # keep the source tree free of caches
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "display"))

import desktops  # noqa: E402
import layout  # noqa: E402
import scenarios  # noqa: E402
from displayrun import CheckFailed, DisplayRun, output_lines  # noqa: E402
from expected import area_pixels  # noqa: E402
from panel import PanelState  # noqa: E402
from program import Program  # noqa: E402
from skin import Skin  # noqa: E402
from kwinsession import REQUIRED_TOOLS as KWIN_TOOLS  # noqa: E402
from kwinsession import KwinSession  # noqa: E402
from swaysession import REQUIRED_TOOLS, SwaySession  # noqa: E402

# sway shows an X11 window unshaped, black outside its outline: with a black
# desktop the X11 scenario sees the window's skin and what is around it.
XWAYLAND_DESKTOP = (0, 0, 0)
# A compositor that goes away must end the program within this time.
LOSS_DEADLINE = 1.0


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True)
    parser.add_argument("--desk", required=True, help="the tests' own Wayland client (wayland_desk)")
    parser.add_argument("--res", required=True, help="the skin's files (res/)")
    parser.add_argument("--artifacts", required=True, help="where failure screenshots and logs go")
    parser.add_argument("--scenario", default="ui", choices=["ui", "drags", "endings", "scaled", "kwin", "kwin-x11", "xwayland"])
    parser.add_argument("--scale", type=int, default=1, help="the output's scale")
    parser.add_argument("--compositor", default="sway", choices=["sway", "kwin"])
    parser.add_argument("--xwayland", action="store_true", help="sway with XWayland, for --scenario xwayland")
    parser.add_argument("--screenshot", help="kwin's screenshot tool (kwin_screenshot), with --compositor kwin")
    parser.add_argument("--backend", default=None, help="BRISKO_BACKEND for the program (default: its own choice)")
    return parser.parse_args()


class CompositorUserProgram(Program):
    """The program run as the compositor's user: XWayland lets only that
    user's clients in."""

    def command(self):
        return self.session.as_compositor_user() + [self.path]


def shell_window(run):
    """The window is the program's own xdg-shell toplevel, floated (its
    size is fixed), with nothing drawn around it."""
    info = run.session.window_info(run.window)
    run.require(info["shell"] == "xdg_shell", "the window is an %s window, not the program's own Wayland one" %
                info["shell"])
    run.require(info["type"] == "floating_con", "sway did not float the window (%s)" % info["type"])
    run.log("an xdg-shell toplevel that sway floats, border %r" % info["border"])


def sway_input_shape(run):
    """The desktop under the window gets the pointer just outside its
    326 x 272 box. Inside the box sway 1.7 gives the pointer to no window
    under it, whatever the input region says (it picks a floating window by
    its box, then the window's surface by the input region, and looks no
    further): there the desk can only report what it got, and the kwin test
    checks the outline's input exactly."""
    pixels = scenarios.outline_device_pixels(run.skin.region, run.scale)
    width, height = (side * run.scale for side in layout.WINDOW_SIZE)
    around = [(x, -1) for x in range(0, width, 7)] + [(x, height) for x in range(0, width, 7)] + \
             [(-1, y) for y in range(0, height, 7)] + [(width, y) for y in range(0, height, 7)]
    points = [run.screen_point((0, 0), device) for device in around]
    targets = run.session.pointer_targets(points + [run.screen_point((0, 0), device) for device, _ in pixels])
    wrong = [(device, point) for device, point, target in zip(around, points, targets) if target != 0]
    if wrong:
        run.fail("%d of %d points just outside the window's box do not reach the desktop under it, first: %s" % (
            len(wrong), len(around), "; ".join("screen (%d,%d), device (%d,%d) of the window" % (point + device)
                                               for device, point in wrong[:5])), run.screenshot())
    outline = targets[len(around):]
    inside_taken = sum(1 for (_, inside), target in zip(pixels, outline) if inside and target != 0)
    outside_through = sum(1 for (_, inside), target in zip(pixels, outline) if not inside and target == 0)
    run.session.move_pointer(0, 0)
    run.log("the desktop gets the pointer on all %d points just outside the window's box; along the outline, sway "
            "gave the window %d of %d pixels just inside and the desktop %d of %d just outside" % (
                len(around), inside_taken, sum(1 for _, i in pixels if i), outside_through,
                sum(1 for _, i in pixels if not i)))


def composes_while_minimised(run):
    """Frames cost CPU time: after minimise the count must go on growing."""
    start = run.program.cpu_seconds()
    run.require(start is not None, "the program ended when minimised")
    run.wait_until("the program used no CPU time in 5 s after minimise: it stopped composing",
                   lambda: (run.program.cpu_seconds() or 0) > start, timeout=5.0)
    run.log("after minimise the program goes on composing (CPU time %.2f s, then %.2f s)" % (
        start, run.program.cpu_seconds() or 0))


def minimise(run):
    """sway keeps no minimised windows: the window stays, keeps composing
    and taking clicks."""
    scenarios.click_minimise(run)
    composes_while_minimised(run)
    run.expect_picture("minimise released")
    scenarios.toggle(run, layout.PLAY, stays_on=True)
    run.log("after minimise the window is still there and takes clicks")


def compositor_close(run):
    run.session.close(run.window)
    run.expect_exit(0, scenarios.EXIT_TIMEOUT)
    run.require(not run.session.find_windows(layout.WINDOW_TITLE), "the window is still there after the close")
    run.log("the compositor's close ended the program with exit code 0")


def about_boxes(run):
    """The box is a toplevel of its own over the window; while it is up no
    frame runs and the window still takes presses; OK closes it. A second
    box opens over the first, and each closes on its own OK. Keys close
    it where the compositor can send them."""
    box = scenarios.open_about_box(run)
    below, above = run.session.stacking_order([run.window, box["window"]])
    run.require(above > below, "the about box is below the window (stacking positions %d and %d)" % (above, below))
    run.log("the about box is up over the window (%dx%d at %d,%d)" % (box["width"], box["height"], box["x"], box["y"]))
    run.click(layout.PLAY.centre())
    scenarios.no_frame_while_box_open(run, box, layout.PLAY)
    run.state.held.add("play")
    run.click(layout.UP.centre())
    run.state.scroll_top = max(layout.SCROLL_THUMB_TOP, run.state.scroll_top - layout.SCROLL_STEP_UP)
    # A click on a window brings it to the front, over the box.
    run.session.bring_to_front(box["window"])
    scenarios.click_ok(run, box)
    scenarios.expect_box_closed(run, "a click on OK")
    run.expect_picture("the window after the about box closed: a click on play and one on the up arrow made while it"
                       " was up")
    run.log("with the about box up, play and the up arrow took presses; a click on OK closed it")
    first = scenarios.open_about_box(run, check_info_pressed=False)
    run.click(layout.INFO.centre())
    found = run.session.wait_for_window_count(layout.ABOUT_BOX_TITLE, 2, 10)
    if found is None:
        run.fail("a click on info with the about box up did not open a second box", run.session.screenshot())
    second = run.session.window_info(next(w for w in found if w != first["window"]))
    run.session.click(second["x"] + 4, second["y"] + 4)
    time.sleep(0.3)
    run.require(len(run.session.find_windows(layout.ABOUT_BOX_TITLE)) == 2, "a click beside OK closed an about box")
    scenarios.click_ok(run, second)
    if run.session.wait_for_window_count(layout.ABOUT_BOX_TITLE, 1, 10) is None:
        run.fail("OK did not close just the top about box", run.session.screenshot())
    if run.session.can_send_keys():
        run.session.bring_to_front(first["window"])
        run.session.key("Return")
    else:
        run.session.bring_to_front(first["window"])
        scenarios.click_ok(run, first)
    how = "Return" if run.session.can_send_keys() else "a click on OK"
    scenarios.expect_box_closed(run, how)
    run.expect_picture("the window after the about boxes closed")
    run.log("a second about box opened over the first; OK closed the top one, %s the other" % how)


def about_box_keys(run):
    """Enter, Escape and Space close the box too, while it has the keyboard."""
    for name in ("KP_Enter", "Escape", "space"):
        box = scenarios.open_about_box(run, check_info_pressed=False)
        run.session.bring_to_front(box["window"])
        run.session.key(name)
        scenarios.expect_box_closed(run, name)
    run.expect_picture("the window after the about boxes closed on keys")
    run.log("the about box closed on Enter, Escape and Space too")


def burst_drag(run):
    """The press, then a moment later the whole movement at once, as a fast
    mouse sends it: the window ends exactly where the pointer took it."""
    start = run.screen_point(layout.BARE_SKIN)
    steps = [(start[0] + 4 * i * run.scale, start[1] + 3 * i * run.scale) for i in range(1, 11)]
    run.session.move_pointer(*start)
    run.session.press()
    time.sleep(0.3)
    run.session.move_pointer_at_once(steps)
    time.sleep(0.3)
    run.session.release()
    wanted = (run.origin[0] + steps[-1][0] - start[0], run.origin[1] + steps[-1][1] - start[1])
    run.wait_until("after the burst the window is at %s, expected (%d,%d)" % (run.window_position(), *wanted),
                   lambda: run.window_position() == wanted)
    run.origin = wanted
    run.expect_picture("the window after the burst drag")
    run.log("the whole movement sent at once 0.3 s after the press moved the window by exactly (%+d,%+d)" % (
        steps[-1][0] - start[0], steps[-1][1] - start[1]))


def press_and_burst_together(run, tries=5):
    """Press and movement sent together: sway anchors the move where the
    pointer is when the program's move request arrives, so what it handled
    before is lost. Only reported: no client can correct it."""
    exact = 0
    for _ in range(tries):
        start = run.screen_point(layout.BARE_SKIN)
        steps = [(start[0] + 4 * i, start[1] + 3 * i) for i in range(1, 11)]
        before = run.window_position()
        run.session.move_pointer(*start)
        run.session.desk_command("press")
        run.session.move_pointer_at_once(steps)
        time.sleep(0.3)
        run.session.release()
        time.sleep(0.2)
        after = run.window_position()
        run.origin = after
        moved = (after[0] - before[0], after[1] - before[1])
        exact += moved == (40, 30)
        run.log("press and movement together: moved by (%+d,%+d) for a movement of (+40,+30)" % moved)
    run.log("press and movement sent together: exact in %d of %d tries (sway's, not the program's)" % (exact, tries))


def scaled_drag(run):
    """On a scaled output sway moves a window in whole logical pixels: a
    movement of an odd number of device pixels puts it on the logical pixel
    the pointer's movement reached, rounded down (sway's, no client can do
    better). The pixels on the screen must show it there, each skin pixel a
    whole block."""
    start = run.screen_point(layout.BARE_SKIN)
    away, back = (-400 * run.scale, 0), (2 * run.scale * 10 + 1, 25)
    origin = run.origin
    run.session.move_pointer(*start)
    run.session.press()
    run.session.move_pointer(start[0] + away[0], start[1] + away[1])
    run.session.move_pointer(start[0] + back[0], start[1] + back[1])
    run.session.release()
    wanted = (origin[0] + back[0], origin[1] + back[1])
    reported = run.window_position()
    whole = tuple(w - w % run.scale for w in wanted)
    run.require(reported == whole, "after the drag sway has the window at (%d,%d), expected (%d,%d): (%d,%d) rounded "
                "down to whole logical pixels" % (reported + whole + wanted))
    run.origin = whole
    run.expect_picture("the window after a drag by (%+d,%+d) device pixels" % back)
    uncovered = (origin[0], origin[1], whole[0], origin[1] + layout.WINDOW_SIZE[1] * run.scale)
    run.expect("the screen where the window was", lambda shot: scenarios.root_only(shot, uncovered, run.root_colour),
               area=uncovered)
    run.log("a press on bare skin dragged the window by (%+d,%+d) device pixels, partly off the output and back; "
            "sway put it at (%d,%d)" % (back + whole))


def sigterm(run):
    run.program.send_signal(signal.SIGTERM)
    run.expect_exit(0, scenarios.EXIT_TIMEOUT)
    run.log("SIGTERM ended the program through its shutdown, exit code 0")


def compositor_killed(run):
    """One line, exit code 2, within a second, without spinning."""
    started = time.monotonic()
    run.session.kill_server(signal.SIGKILL)
    code = run.program.wait(10)
    took = time.monotonic() - started
    run.require(code is not None, "the program was still running 10 s after the compositor ended")
    lines = output_lines(run.program.errors())
    run.require(code == 2, "the program exited with %d after the compositor ended, expected 2" % code)
    run.require(took <= LOSS_DEADLINE + 0.5, "the program took %.2f s to end after the compositor" % took)
    run.require(len(lines) == 1 and "lost its display" in lines[0],
                "stderr should be one line saying the display was lost, was %r" % lines)
    run.log("the compositor killed: %r, exit code 2, %.2f s later" % (lines[0], took))


def no_stale_pixels(run, area):
    """Everywhere in the area outside the window's outline at its place now,
    the desktop's colour: nothing left of where the window was."""
    inside = run.skin.region.mask(*layout.WINDOW_SIZE)
    width = layout.WINDOW_SIZE[0]

    def check(shot):
        stale = []
        for y in range(max(area[1], 0), min(area[3], run.session.height)):
            for x in range(max(area[0], 0), min(area[2], run.session.width)):
                cx, cy = x - run.origin[0], y - run.origin[1]
                if 0 <= cx < width and 0 <= cy < layout.WINDOW_SIZE[1] and inside[cy * width + cx]:
                    continue
                if shot.pixel(x, y) != run.root_colour:
                    stale.append((x, y))
        if stale:
            return "%d pixels outside the window show something else than the desktop, first at %s" % (
                len(stale), stale[:5])
        return None

    run.expect("the desktop around the window after the drag", check, area=area)


def kwin_drag(run):
    """A press on bare skin moves the window by exactly the pointer's
    movement, and leaves nothing behind: the desktop shows everywhere
    outside the outline, in the old box as in the new."""
    start = run.screen_point(layout.BARE_SKIN)
    old = run.window_area()
    run.session.move_pointer(*start)
    run.session.press()
    for step in range(1, 11):
        run.session.move_pointer(start[0] + 4 * step, start[1] + 3 * step)
    run.session.release()
    run.origin = (run.origin[0] + 40, run.origin[1] + 30)
    run.expect_picture("the window after a drag by (+40,+30)")
    new = run.window_area()
    no_stale_pixels(run, (min(old[0], new[0]), min(old[1], new[1]), max(old[2], new[2]), max(old[3], new[3])))
    time.sleep(3)
    no_stale_pixels(run, (min(old[0], new[0]), min(old[1], new[1]), max(old[2], new[2]), max(old[3], new[3])))
    run.log("a press on bare skin dragged the window by exactly (+40,+30), and the desktop shows everywhere around "
            "its outline, in the old box and the new, then and 3 s later")


def kwin_launch(run):
    """kwin tells no one where windows are: the first picture, centred, is
    how the test finds the window."""
    run.log("starting %s" % " ".join(run.program.command()))
    run.program.start()
    run.window = 1
    run.session.set_root_colour(run.root_colour)
    run.origin = layout.window_origin(1)
    run.state = PanelState()
    run.expect_picture("the first picture, centred by kwin", timeout=20.0)
    run.log("the window is up, centred at %s" % (run.origin,))


def kwin(run):
    kwin_launch(run)
    scenarios.input_shape(run)
    scenarios.animation(run)
    scenarios.transport(run)
    kwin_drag(run)
    scenarios.close_button(run)


def xwayland(run):
    """The X11 program (BRISKO_BACKEND=x11) on sway's XWayland: shaped,
    movable by a drag on bare skin, its clicks landing where the window is
    after the move, and minimise leaving it live. sway ignores the X11
    shape (a black box around the skin), which the desktop's black hides."""
    run.root_colour = XWAYLAND_DESKTOP
    run.launch()
    info = run.session.window_info(run.window)
    run.log("the window is an %s window at (%d,%d)" % (info["shell"], info["x"], info["y"]))
    run.require(info["shell"] == "xwayland", "the window is an %s window, not an X11 one" % info["shell"])
    first_drag_on_sway(run)
    desktops.paced_drag(run)
    desktops.controls_where_drawn(run, "after the drags")
    scenarios.transport(run)
    minimise(run)
    scenarios.close_button(run)


def first_drag_on_sway(run):
    """The first drag shows the program that sway keeps X11 windows where
    it put them; the program then hands the move to sway, which takes it up
    where the pointer is by then (the movement before is lost: sway's), so
    the window moves by the movement after the hand-over. From then on every
    drag is sway's from the press."""
    start = run.screen_point(layout.BARE_SKIN)
    origin = run.origin
    run.session.move_pointer(*start)
    run.session.press()
    run.session.move_pointer(start[0] + 20, start[1] + 15)
    time.sleep(1.0)
    run.session.move_pointer(start[0] + 60, start[1] + 45)
    wanted = (origin[0] + 40, origin[1] + 30)
    run.wait_until("the first drag: the window is at %s, expected %s, moved by what the pointer did after sway "
                   "took the move over" % (run.window_position(), wanted), lambda: run.window_position() == wanted)
    run.session.release()
    run.origin = wanted
    run.expect_picture("the window after the first drag")
    run.log("the first drag moved the window by (+40,+30), what the pointer did once sway had the move")


def kwin_x11(run):
    """The X11 program on kwin's XWayland: the drag, and the desktop around
    the outline afterwards."""
    kwin_launch(run)
    kwin_drag(run)
    scenarios.close_button(run)


def ui(run):
    run.launch()
    shell_window(run)
    sway_input_shape(run)
    scenarios.placement(run)
    scenarios.animation(run)
    scenarios.push_buttons(run)
    scenarios.scroll_arrows(run)
    scenarios.scroll_thumb(run)
    scenarios.volume_drag(run)
    scenarios.transport(run)
    about_boxes(run)
    about_box_keys(run)
    scenarios.caption_drag(run, repaints_while_dragged=True)
    scenarios.close_button(run)
    run.launch()
    minimise(run)
    compositor_close(run)


def drags(run):
    run.launch()
    burst_drag(run)
    press_and_burst_together(run)
    scenarios.close_button(run)


def endings(run):
    run.launch()
    sigterm(run)
    run.launch()
    compositor_killed(run)


def scaled(run):
    """The display tests' scaled window, with sway's input check."""
    run.launch()
    shell_window(run)
    scenarios.placement(run)
    sway_input_shape(run)
    scenarios.control_edges(run)
    scenarios.animation(run)
    scenarios.push_buttons(run)
    scenarios.volume_drag(run)
    scaled_drag(run)
    scenarios.close_button(run)


def main():
    args = parse_arguments()
    if (args.scenario == "scaled") != (args.scale > 1):
        print("FAIL: the scaled scenario, and only it, runs with --scale 2 or more")
        return 1
    if (args.scenario in ("kwin", "kwin-x11")) != (args.compositor == "kwin"):
        print("FAIL: the kwin scenario, and only it, runs on kwin")
        return 1
    missing = [tool for tool in (KWIN_TOOLS if args.compositor == "kwin" else REQUIRED_TOOLS) if not shutil.which(tool)]
    if missing:
        print("FAIL: the Wayland test needs %s (make deps installs them)" % ", ".join(missing))
        return 1
    started = time.monotonic()
    name = "wayland_%s%s_%s" % (args.compositor, "_scale%d" % args.scale if args.scale > 1 else "", args.scenario)
    os.makedirs(args.artifacts, exist_ok=True)
    log_path = os.path.join(args.artifacts, name + ".log")

    def log(message):
        print("[%6.2fs] %s" % (time.monotonic() - started, message), flush=True)

    variables = {"BRISKO_BACKEND": args.backend} if args.backend else {}
    with open(log_path + ".compositor", "wb") as compositor_log:
        try:
            if args.compositor == "kwin":
                session = KwinSession(layout.SCREEN_SIZE, compositor_log, args.desk, args.screenshot,
                                      xwayland=args.xwayland)
            else:
                session = SwaySession(layout.SCREEN_SIZE, args.scale, compositor_log, args.desk,
                                      xwayland=args.xwayland)
            with session:
                log("%s on %s, %dx%d device pixels at scale %d" % (
                    session.compositor_name, session.socket, session.width, session.height, args.scale))
                kind = CompositorUserProgram if args.xwayland and args.compositor == "sway" else Program
                program = kind(args.program, session, log_path, variables)
                run = DisplayRun(session, program, Skin(args.res), args.artifacts, name, log, args.scale)
                try:
                    {"ui": ui, "drags": drags, "endings": endings, "scaled": scaled, "kwin": kwin, "kwin-x11": kwin_x11, "xwayland": xwayland}[args.scenario](run)
                finally:
                    program.cleanup()
        except CheckFailed as failure:
            print("FAIL: %s" % failure)
            return 1
    log("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
