"""Scenarios for the desktops users really have, where the desktop decides
and the program must follow: a pointer faster than the program's frames, a
window manager that places windows itself or keeps them where it put them,
one that ignores minimising, one that has gone but left its mark on the
root window, a primary monitor that is not the leftmost, and screens of
other depths."""

import time

import layout
import scenarios
from image import hex_colour, quantised
from endings import busy_machine

# The movement of a drag, and where on bare skin it starts.
DRAG = (40, 30)
BUSY_LOOPS = 3


def expect_window_at(run, wanted, what):
    run.wait_until("%s: the window is at %s, expected %s" % (what, run.window_position(), wanted),
                   lambda: run.window_position() == wanted)
    run.origin = wanted


def expect_stays(run, what):
    """The pointer moved with no button held must leave the window where it is."""
    before = run.window_position()
    run.session.move_pointer(before[0] + 300, before[1] + 200)
    time.sleep(0.3)
    after = run.window_position()
    run.require(after == before, "%s: with the button up the window still follows the pointer, from %s to %s" % (
        what, before, after))


def burst_drag(run, release_in_burst):
    """A press on bare skin and the whole movement in one burst, before
    the program can have looked at the press: the window moves by exactly
    the movement (the move is anchored at the press), and lets go with the
    button."""
    start = run.screen_point(layout.BARE_SKIN)
    origin = run.origin
    run.session.move_pointer(*start)
    steps = [("press",), ("move_by", 13, 7), ("move_by", DRAG[0] - 13, DRAG[1] - 7)]
    if release_in_burst:
        steps.append(("release",))
    run.session.burst(steps)
    wanted = (origin[0] + DRAG[0], origin[1] + DRAG[1])
    how = "press, movement%s in one burst" % (" and release" if release_in_burst else "")
    expect_window_at(run, wanted, how)
    if not release_in_burst:
        run.session.release()
    expect_stays(run, how)
    run.expect_picture("the window after a drag (%s)" % how)
    run.log("%s: the window moved by exactly (%+d,%+d) and let go" % ((how,) + DRAG))


def paced_drag(run, pause_midway=0.0):
    """A press on bare skin, then the movement in two paced steps; the
    window moves by exactly the movement. A pause midway gives a window
    manager time to show whether it takes the program's own moves."""
    start = run.screen_point(layout.BARE_SKIN)
    origin = run.origin
    run.session.move_pointer(*start)
    run.session.press()
    run.session.move_pointer(start[0] + DRAG[0] // 2, start[1] + DRAG[1] // 2)
    time.sleep(pause_midway)
    run.session.move_pointer(start[0] + DRAG[0], start[1] + DRAG[1])
    wanted = (origin[0] + DRAG[0], origin[1] + DRAG[1])
    expect_window_at(run, wanted, "a paced drag")
    run.session.release()
    expect_stays(run, "after a paced drag")
    run.expect_picture("the window after a paced drag")
    run.log("a paced drag moved the window by exactly (%+d,%+d)" % DRAG)


def controls_where_drawn(run, what):
    """Clicks where the controls are drawn reach them."""
    scenarios.toggle(run, layout.PLAY, stays_on=True)
    scenarios.held_then_released(run, layout.STOP, lambda: run.state.held.discard(layout.PLAY.normal))
    run.log("%s: play and stop take clicks where they are drawn" % what)


def burst_drags(run):
    """Burst drags, with the release outside the burst and inside it."""
    run.launch()
    scenarios.placement(run)
    burst_drag(run, release_in_burst=False)
    burst_drag(run, release_in_burst=True)
    controls_where_drawn(run, "after the burst drags")
    scenarios.close_button(run)


def burst_drags_under_load(run):
    with busy_machine(BUSY_LOOPS):
        run.log("with %d busy loops beside" % BUSY_LOOPS)
        burst_drags(run)


def launch_where_placed(run):
    """Starts the program and takes the window's place from the server:
    a window manager that places windows itself decides where it is."""
    run.launch(placed_by_desktop=True)
    info = run.session.window_info(run.window)
    size = (info["width"], info["height"])
    run.require(size == layout.WINDOW_SIZE, "window is %dx%d, expected %dx%d" % (size + layout.WINDOW_SIZE))
    asked = layout.window_origin(1)
    run.log("the window manager put the window at %s (it asked for %s)" % (run.origin, asked))
    return asked


def placed_elsewhere(run):
    """A window manager that puts the window somewhere else than asked but
    then lets the program move it (i3): the controls work where the window
    is, and drags move it by exactly the pointer's movement."""
    launch_where_placed(run)
    controls_where_drawn(run, "where the window manager placed it")
    paced_drag(run)
    burst_drag(run, release_in_burst=False)
    controls_where_drawn(run, "after the drags")
    minimise_stays_live(run)
    scenarios.close_button(run)


def kept_in_place(run):
    """A window manager that places windows itself, keeps them where it
    put them whatever the program asks, and moves them only itself when
    asked (sway's XWayland): the controls work where the window is, a drag
    moves it by exactly the pointer's movement (through the window
    manager), no move is left following a released pointer, and minimise,
    which it ignores, leaves the window live."""
    asked = launch_where_placed(run)
    run.require(run.origin != asked, "the window manager put the window where it asked: the test shows nothing")
    controls_where_drawn(run, "where the window manager keeps it")
    # The first drag shows the program that its own moves are refused.
    paced_drag(run, pause_midway=1.0)
    controls_where_drawn(run, "after a drag the window manager carried out")
    paced_drag(run)
    quick_press_on_skin(run)
    minimise_stays_live(run)
    scenarios.close_button(run)


def quick_press_on_skin(run):
    """A press on bare skin let go at once, before the window manager has
    taken the move over: no move may follow the pointer after it."""
    start = run.screen_point(layout.BARE_SKIN)
    run.session.move_pointer(*start)
    run.session.burst([("press",), ("pause", 0.05), ("release",)])
    time.sleep(0.5)
    expect_stays(run, "a quick press on bare skin")
    controls_where_drawn(run, "after a quick press on bare skin")


def minimise_stays_live(run):
    """Minimise that nothing carries out: the window stays on the screen
    and keeps taking clicks."""
    scenarios.click_minimise(run)
    time.sleep(0.5)
    run.require(run.program.running(), "the program ended after a click on minimise")
    run.expect_picture("the window after minimise, which nothing carried out")
    controls_where_drawn(run, "after minimise")


def stale_window_manager_check(run):
    """A window manager ended, its check left on the root: nothing will
    minimise the window, so it must stay live."""
    run.launch()
    scenarios.placement(run)
    minimise_stays_live(run)
    scenarios.close_button(run)


def primary_monitor(run):
    """Centred on the primary monitor, wherever it is; moved and clicked
    there."""
    run.launch()
    position = run.window_position()
    run.require(position == run.origin, "the window is at %s, expected centred on the primary monitor at %s" % (
        position, run.origin))
    run.log("the window opened centred on the primary monitor, at %s" % (position,))
    controls_where_drawn(run, "on the primary monitor")
    paced_drag(run)
    burst_drag(run, release_in_burst=True)
    scenarios.volume_drag(run)
    scenarios.close_button(run)


# The face of the desktop backend's about box.
BOX_FACE = (240, 240, 240)


def about_box_drawn(run):
    """The about box shows its face, with its text and button on it."""
    box = scenarios.open_about_box(run, check_info_pressed=False)
    area = (box["x"], box["y"], box["x"] + box["width"], box["y"] + box["height"])
    face = quantised(BOX_FACE, run.channel_bits)

    def drawn(shot):
        colours = shot.colours()
        if shot.pixel(area[0] + 2, area[1] + 2) != face:
            return "its corner is %s, not the box's face %s" % (hex_colour(shot.pixel(area[0] + 2, area[1] + 2)),
                                                                hex_colour(face))
        return None if len(colours) > 2 else "it shows only %d colours: no text or button" % len(colours)

    run.expect("the about box", drawn, area=area)
    scenarios.click_ok(run, box)
    scenarios.expect_box_closed(run, "a click on OK")
    run.log("the about box is drawn, its face, text and button")


def screen_depth(run):
    """The window on a screen of another depth: its picture to the depth's
    precision, its outline, its controls, the about box and a drag."""
    run.launch()
    scenarios.placement(run)
    scenarios.input_shape(run)
    scenarios.push_buttons(run)
    scenarios.transport(run)
    scenarios.volume_drag(run)
    about_box_drawn(run)
    scenarios.about_box(run)
    paced_drag(run)
    scenarios.close_button(run)
