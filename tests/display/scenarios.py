"""What the display tests do with the program, step by step. Each function
takes a DisplayRun whose program is up (unless it says otherwise)."""

import os
import subprocess
import time

import layout
import wmclose
from displayrun import output_lines
from expected import area_pixels
from image import hex_colour

# The close button ends the program through its shutdown sequence; the
# process must then exit, with 0, within this time.
EXIT_TIMEOUT = 30


def placement(run):
    info = run.session.window_info(run.window)
    run.require(info["title"] == layout.WINDOW_TITLE,
                "window title is %r, expected %r" % (info["title"], layout.WINDOW_TITLE))
    size, wanted_size = (info["width"], info["height"]), tuple(side * run.scale for side in layout.WINDOW_SIZE)
    run.require(size == wanted_size, "window is %dx%d, expected %dx%d" % (size + wanted_size))
    position, wanted = (info["x"], info["y"]), layout.window_origin(run.scale)
    run.require(position == wanted, "window is at (%d,%d), expected centred at (%d,%d)" % (position + wanted))
    undecorated(run, info)
    run.log("title, size %dx%d and centred position (%d,%d) are right, and no frame is drawn around the window" % (
        size + position))


def undecorated(run, client):
    """A window manager may put the window in a frame of its own, but that
    frame must add nothing around it."""
    extents = run.session.frame_extents(run.window)
    run.require(extents in (None, (0, 0, 0, 0)), "the window manager frames the window with borders %s "
                "(left, right, top, bottom)" % (extents,))
    frame = run.session.top_level_info(run.window)
    geometry = [(box["x"], box["y"], box["width"], box["height"]) for box in (frame, client)]
    run.require(geometry[0] == geometry[1], "the top-level window holding the client is %dx%d at (%d,%d), "
                "the client %dx%d at (%d,%d)" % (geometry[0][2:] + geometry[0][:2] + geometry[1][2:] + geometry[1][:2]))


def outline_device_pixels(region, scale):
    """The device pixels on either side of the region's outline, scaled:
    ((x, y) in device pixels of the window, inside or not)."""
    width, height = layout.WINDOW_SIZE
    inside = region.mask(width, height)

    def within(x, y):
        return 0 <= x < width and 0 <= y < height and inside[y * width + x]

    pixels = set()
    for y in range(height):
        for x in range(width):
            if not within(x, y):
                continue
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                if within(x + dx, y + dy):
                    continue
                # The blocks' rows (or columns) along the shared edge, the
                # device pixel on each side of it.
                for along in range(scale):
                    if dx:
                        edge = x * scale + (scale - 1 if dx > 0 else 0)
                        row = y * scale + along
                        pixels.add(((edge, row), True))
                        pixels.add(((edge + dx, row), False))
                    else:
                        edge = y * scale + (scale - 1 if dy > 0 else 0)
                        column = x * scale + along
                        pixels.add(((column, edge), True))
                        pixels.add(((column, edge + dy), False))
    return sorted(pixels, key=lambda item: (item[0][1], item[0][0]))


def input_shape(run):
    """The window takes the pointer on every device pixel just inside its
    outline, and not on one just outside it: its input shape is the region
    scaled block for block."""
    top_level = run.session.top_level(run.window)
    pixels = outline_device_pixels(run.skin.region, run.scale)
    points = [run.screen_point((0, 0), device) for device, _ in pixels]
    targets = run.session.pointer_targets(points)
    wrong = [(device, point, inside, target) for (device, inside), point, target in zip(pixels, points, targets)
             if (target == top_level) != inside]
    run.session.move_pointer(0, 0)
    if wrong:
        run.fail("%d of %d device pixels along the outline take the pointer wrongly, first: %s" % (
            len(wrong), len(pixels), "; ".join(
                "screen (%d,%d), device (%d,%d) of client (%d,%d), %s the region, %s" % (
                    point + device + (device[0] // run.scale, device[1] // run.scale,
                                      "inside" if inside else "outside",
                                      "is not the window's" if inside else "is the window's (0x%x)" % target))
                for device, point, inside, target in wrong[:5])), run.screenshot())
    run.log("the window takes the pointer on all %d device pixels just inside its outline, on none just outside" %
            sum(1 for _, inside in pixels if inside))


def animation_frame(run, shot):
    """Which of the animation's bitmaps the bar shows, or None."""
    shown = area_pixels(shot, run.origin, layout.ANIMATION, run.scale)
    for index, name in enumerate(layout.ANIMATION_FRAMES):
        if run.skin[name].scaled(run.scale).rgb == shown:
            return index
    return None


def animation(run):
    """The bar must always show one of its frames, and cycle through them."""
    seen = set()
    # Frames change every 100 ms; the time allowed is only a bound for a
    # program that never changes them.
    deadline = time.monotonic() + 10.0
    while time.monotonic() < deadline and len(seen) < len(layout.ANIMATION_FRAMES):
        shot = run.screenshot()
        frame = animation_frame(run, shot)
        if frame is None:
            run.fail("the animated bar %s shows none of %s" % (layout.ANIMATION, ", ".join(layout.ANIMATION_FRAMES)),
                     shot)
        seen.add(frame)
        time.sleep(0.03)
    run.require(len(seen) >= 3, "the animated bar showed only frames %s in 10 s" % sorted(seen))
    run.log("the animated bar cycles (frames %s seen)" % sorted(seen))


def held_then_released(run, button, after_release=None):
    """While the button is held it shows its pressed image; once released,
    whatever after_release says (by default its normal image again)."""
    run.move_to(button.centre())
    run.session.press()
    run.state.held.add(button.normal)
    run.expect_picture("%s held" % button.name)
    run.session.release()
    run.state.held.discard(button.normal)
    if after_release:
        after_release()
    run.expect_picture("%s released" % button.name)


def push_buttons(run):
    for button in (layout.RECORD, layout.UP):
        held_then_released(run, button)
    run.log("record and the up arrow (at the top already) show pressed while held, normal after")


def scroll_arrows(run):
    tops = layout.SCROLL_TOPS_AFTER_DOWNS

    def moved(top):
        run.state.scroll_top = top

    held_then_released(run, layout.DOWN, lambda: moved(tops[0]))
    for top in tops[1:]:
        run.click(layout.DOWN.centre())
        moved(top)
        run.expect_picture("the scroll thumb after a click on the down arrow")
    run.log("three clicks on the down arrow moved the scroll thumb to %s" % tops)


def scroll_thumb(run):
    left, top = run.state.scroll_thumb()[:2]
    run.move_to((left + 3, top + 12))
    run.session.press()
    run.state.scroll_pressed = True
    run.expect_picture("the scroll thumb held")
    run.session.release()
    run.state.scroll_pressed = False
    run.expect_picture("the scroll thumb released")
    run.log("the scroll thumb shows pressed while held")


def volume_drag(run):
    """The thumb follows the pointer pixel for pixel; on a scaled screen,
    a client pixel for every N device pixels, so one device pixel short of
    30 client pixels moves it by 29."""
    before = area_pixels(run.screenshot(), run.origin, layout.READOUT, run.scale)
    start = run.screen_point((layout.VOLUME_THUMB_X + 4, layout.VOLUME_THUMB_TOP + 3))
    run.session.move_pointer(*start)
    run.session.press()
    if run.scale > 1:
        run.session.move_pointer(start[0], start[1] + 30 * run.scale - 1)
        run.state.volume_top = layout.VOLUME_THUMB_TOP + 29
        run.expect_picture("the volume thumb dragged down %d device pixels" % (30 * run.scale - 1))
    run.session.move_pointer(start[0], start[1] + 30 * run.scale)
    run.session.release()
    run.state.volume_top = layout.VOLUME_THUMB_TOP + 30
    run.expect_picture("the volume thumb dragged down %d device pixels" % (30 * run.scale))
    run.expect("the volume read-out after the drag",
               lambda shot: None if area_pixels(shot, run.origin, layout.READOUT, run.scale) != before else
               "the read-out box %s still shows what it showed before" % (layout.READOUT,))
    run.log("dragging the volume thumb by %d device pixels moved it by 30 (by 29 one device pixel short) and "
            "changed the read-out" % (30 * run.scale))


def control_edges(run):
    """On a scaled screen a device pixel belongs to the client pixel it
    lies in (rounded down): a press on a button's first or last device
    pixel presses it, one on the device pixel just outside does not."""
    button = layout.RECORD
    left, top, right, bottom = button.rect
    middle_x, middle_y = button.centre()
    cases = [
        ("its first device pixel from the left", run.screen_point((left, middle_y)), True),
        ("the device pixel left of it", run.screen_point((left, middle_y), (-1, 0)), False),
        ("its last device pixel on the right", run.screen_point((right, middle_y), (-1, 0)), True),
        ("the device pixel right of it", run.screen_point((right, middle_y)), False),
        ("its first device pixel from the top", run.screen_point((middle_x, top)), True),
        ("the device pixel above it", run.screen_point((middle_x, top), (0, -1)), False),
        ("its last device pixel at the bottom", run.screen_point((middle_x, bottom), (0, -1)), True),
        ("the device pixel below it", run.screen_point((middle_x, bottom)), False),
    ]
    for where, point, presses in cases:
        what = "a press at screen (%d,%d), %s (%s, client %s at scale %d)," % (
            point + (where, button.name, button.rect, run.scale))
        run.session.move_pointer(*point)
        run.session.press()
        if presses:
            run.state.held.add(button.normal)
            run.expect_picture(what + " held")
        else:
            # Several frames' time for a press that wrongly took.
            time.sleep(0.3)
            run.expect_picture(what + " held", timeout=0)
        run.session.release()
        run.state.held.discard(button.normal)
        run.expect_picture(what + " released")
        run.require(run.window_position() == run.origin, "%s released, moved the window to (%d,%d)" % (
            (what,) + run.window_position()))
    run.log("%s takes presses on its first and last device pixels on each side, and not on those just outside" %
            button.name)


def toggle(run, button, stays_on):
    held_then_released(run, button, lambda: (run.state.held.add(button.normal) if stays_on else None))


def transport(run):
    toggle(run, layout.PLAY, stays_on=True)
    toggle(run, layout.PAUSE, stays_on=True)
    # Stop ends both play and pause.
    held_then_released(run, layout.STOP, lambda: (run.state.held.discard("play"), run.state.held.discard("pause")))
    # Pause only holds while playing.
    toggle(run, layout.PAUSE, stays_on=False)
    run.log("play, pause and stop interlock")


def open_about_box(run, check_info_pressed=True):
    """Clicks info (checking its pressed image on the way unless told not
    to); returns the box's window and where it is."""
    run.move_to(layout.INFO.centre())
    run.session.press()
    if check_info_pressed:
        run.state.held.add("info")
        run.expect_picture("info held")
        run.state.held.discard("info")
    run.session.release()
    box = run.session.wait_for_window(layout.ABOUT_BOX_TITLE, 15, alive=run.program.running)
    if box is None:
        run.fail("no box titled %r appeared after a click on info (program %s)" % (
            layout.ABOUT_BOX_TITLE, run.program.state()), run.session.screenshot())
    info = run.session.window_info(box)
    info["window"] = box
    return info


def click_ok(run, box):
    run.session.click(box["x"] + box["width"] // 2,
                      box["y"] + box["height"] - run.program.about_box_ok_above_bottom * run.scale)


def expect_box_closed(run, how):
    if not run.session.wait_for_no_window(layout.ABOUT_BOX_TITLE, 10):
        run.fail("the about box did not close on %s" % how, run.session.screenshot())


def about_box(run):
    """Info opens the about box over the window. The box is modal, but has
    no owner: while it is up the window still takes presses, and what they
    did shows once the box is gone (no frame is drawn meanwhile). A click
    on OK closes it, and so does Return."""
    box = open_about_box(run)
    below, above = run.session.stacking_order([run.window, box["window"]])
    run.require(above > below, "the about box is below the window (stacking positions %d and %d)" % (above, below))
    run.log("the about box is up over the window (%dx%d at %d,%d)" % (box["width"], box["height"], box["x"], box["y"]))
    run.click(layout.PLAY.centre())
    no_frame_while_box_open(run, box, layout.PLAY)
    run.state.held.add("play")
    run.click(layout.UP.centre())
    run.state.scroll_top = max(layout.SCROLL_THUMB_TOP, run.state.scroll_top - layout.SCROLL_STEP_UP)
    thumb = run.state.volume_thumb()
    grip = (thumb[0] + 4, thumb[1] + 3)
    run.move_to(grip)
    run.session.press()
    run.session.move_pointer(*run.screen_point(grip, (0, -10 * run.scale)))
    run.session.release()
    run.state.volume_top -= 10
    # A click on a window brings it to the front, over the box.
    run.session.bring_to_front(box["window"])
    click_ok(run, box)
    expect_box_closed(run, "a click on OK")
    run.expect_picture("the window after the about box closed: a click on play, one on the up arrow and a volume drag"
                       " made while it was up")
    run.log("with the about box up, play, the up arrow and the volume thumb took presses; a click on OK closed it")
    held_then_released(run, layout.STOP, lambda: run.state.held.discard("play"))
    box = open_about_box(run, check_info_pressed=False)
    # The click on info may have taken the keyboard (Wine activates the
    # window clicked); a click on the box's face gives it back.
    run.session.bring_to_front(box["window"])
    run.session.click(box["x"] + 4, box["y"] + 4)
    run.session.key("Return")
    expect_box_closed(run, "Return")
    run.expect_picture("the window after the about box closed on Return")
    run.log("the about box closed on Return too")


def no_frame_while_box_open(run, box, button):
    """The box's modal loop runs no frame: a click on the button while the
    box is up changes what the button shows only once the box has gone.
    (Where the box covers the button, nothing can be seen of it.)"""
    left, top, right, bottom = run.window_area_of(button.rect)
    if left < box["x"] + box["width"] and box["x"] < right and top < box["y"] + box["height"] and box["y"] < bottom:
        run.log("the about box covers %s: whether frames ran while it was up cannot be seen" % button.name)
        return
    time.sleep(0.3)
    shot = run.screenshot()
    normal = run.skin[button.normal].scaled(run.scale).quantised(run.channel_bits)
    if area_pixels(shot, run.origin, button.rect, run.scale) != normal.rgb:
        run.fail("with the about box up, %s shows something else than its normal image: a frame ran" % button.name,
                 shot)
    run.log("with the about box up no frame ran: %s, clicked, still shows its normal image" % button.name)


def about_boxes_stacked(run):
    """The desktop backend's own box. The window under it still takes
    clicks, so info can open a second box over the first; each closes on its
    own, the top one first on Return, the other on a click on its OK button
    (and not on a click beside it)."""
    first = open_about_box(run)
    run.click(layout.INFO.centre())
    if run.session.wait_for_window_count(layout.ABOUT_BOX_TITLE, 2, 10) is None:
        run.fail("a click on info with the about box up did not open a second box", run.session.screenshot())
    run.session.key("Return")
    if run.session.wait_for_window_count(layout.ABOUT_BOX_TITLE, 1, 10) is None:
        run.fail("Return did not close just the top about box", run.session.screenshot())
    run.session.bring_to_front(first["window"])
    run.session.click(first["x"] + 4, first["y"] + 4)
    time.sleep(0.3)
    run.require(run.session.find_windows(layout.ABOUT_BOX_TITLE), "a click beside OK closed the about box")
    click_ok(run, first)
    expect_box_closed(run, "a click on OK")
    run.expect_picture("the window after the about boxes closed")
    run.log("a second about box opened over the first; Return closed the top one, a click on OK the other")


def caption_drag(run, repaints_while_dragged):
    """A press on bare skin moves the window with the pointer until the
    release, by exactly the pointer's movement in device pixels. On the way
    it goes partly off the screen and back. The native layer redraws what
    comes back on the screen at once, though no frame is drawn during a
    drag; under Wine it stays as it is until the next frame, as on Windows
    for a program that paints only in its frames. On a scaled screen the
    last movement is no multiple of the scale, so a window moved in client
    pixels would end elsewhere."""
    away, back = (-400 * run.scale, 0), ((40, 25) if run.scale == 1 else (41, 25))
    start = run.screen_point(layout.BARE_SKIN)
    origin = run.origin
    run.session.move_pointer(*start)
    run.session.press()
    run.session.move_pointer(start[0] + away[0], start[1] + away[1])
    wanted = (origin[0] + away[0], origin[1] + away[1])
    run.wait_until("the window did not follow the pointer to (%d,%d)" % wanted,
                   lambda: run.window_position() == wanted)
    run.session.move_pointer(start[0] + back[0], start[1] + back[1])
    wanted = (origin[0] + back[0], origin[1] + back[1])
    run.wait_until("the window did not follow the pointer to (%d,%d)" % wanted,
                   lambda: run.window_position() == wanted)
    run.origin = wanted
    if repaints_while_dragged:
        run.expect_picture("the window while dragged, back from partly off the screen")
    run.session.release()
    position = run.window_position()
    run.require(position == wanted, "after the drag the window is at (%d,%d), expected (%d,%d)" % (position + wanted))
    run.expect_picture("the window after the drag")
    uncovered = (origin[0], origin[1], wanted[0], origin[1] + layout.WINDOW_SIZE[1] * run.scale)
    run.expect("the screen where the window was", lambda shot: root_only(shot, uncovered, run.root_colour),
               area=uncovered)
    run.log("a press on bare skin dragged the window by (%+d,%+d)%s" % (back + (
        ", repainting at once what came back on the screen" if repaints_while_dragged else "",)))


def root_only(shot, rect, colour):
    left, top, right, bottom = rect
    for y in range(top, bottom):
        for x in range(left, right):
            if shot.pixel(x, y) != colour:
                return "screen (%d,%d) is %s, expected the root colour %s" % (
                    x, y, hex_colour(shot.pixel(x, y)), hex_colour(colour))
    return None


def close_button(run):
    run.move_to(layout.CLOSE.centre())
    run.session.press()
    run.state.held.add("close")
    run.expect_picture("close held")
    run.session.release()
    run.expect_exit(0, EXIT_TIMEOUT)
    run.log("the close button ended the program with exit code 0")


def click_minimise(run):
    run.move_to(layout.MINIMISE.centre())
    run.session.press()
    run.state.held.add(layout.MINIMISE.normal)
    run.expect_picture("minimise held")
    run.session.release()
    run.state.held.discard(layout.MINIMISE.normal)


def expect_iconic(run):
    run.wait_until("the window manager did not make the window iconic (WM_STATE %s)" % run.session.wm_state(run.window),
                   lambda: run.session.wm_state(run.window) == "Iconic")


def minimise_button(run, stays_on_screen):
    """Minimising must not end the program; the window manager's close then
    ends it."""
    minimise_and_restore(run, stays_on_screen)
    window_manager_close(run)


def minimise_and_restore(run, stays_on_screen):
    """A window manager makes the window iconic; the program keeps
    composing meanwhile, and once restored the window is whole and working.
    Without a window manager the native window stays on the screen and
    keeps working; Wine leaves it there too, but minimised: it shows its
    last picture and takes no input."""
    click_minimise(run)
    if run.session.with_window_manager:
        expect_iconic(run)
        composes_while_iconic(run)
        run.session.activate(run.window)
        run.wait_until("after activation the window is still %s" % run.session.wm_state(run.window),
                       lambda: run.session.wm_state(run.window) == "Normal")
        run.expect_picture("the window restored")
        animation(run)
        toggle(run, layout.PLAY, stays_on=True)
        run.log("activated by the window manager, the window came back whole and takes clicks")
    else:
        time.sleep(0.5)
        run.require(run.program.running(), "the program ended after a click on minimise")
        if stays_on_screen:
            run.expect_picture("minimise released")
            toggle(run, layout.PLAY, stays_on=True)
            run.log("after minimise (no window manager) the window is still there and takes clicks")
        else:
            run.log("the program keeps running after minimise")


def window_manager_close(run):
    """The window manager's close reaches the program as WM_CLOSE, so it
    ends through its own shutdown. With no window manager on the server,
    the test sends the WM_DELETE_WINDOW message one would."""
    if run.session.with_window_manager:
        run.session.close(run.window)
    else:
        wmclose.request_close(run.session.display, run.window)
    run.expect_exit(0, EXIT_TIMEOUT)
    run.require(not run.session.find_windows(layout.WINDOW_TITLE), "the window is still there after the close request")
    run.log("the window manager's close ended the program with exit code 0")


def composes_while_iconic(run):
    """Frames cost CPU time: the count must go on growing."""
    start = run.program.cpu_seconds()
    run.require(start is not None, "the program ended when minimised")
    run.wait_until("the program used no CPU time in 5 s while iconic: it stopped composing (%s)" % run.program.state(),
                   lambda: (run.program.cpu_seconds() or 0) > start, timeout=5.0)
    run.require(run.session.wm_state(run.window) == "Iconic", "the window did not stay iconic")
    run.log("iconic, and the program goes on composing (CPU time %.2f s, then %.2f s)" % (
        start, run.program.cpu_seconds() or 0))


def no_display(program_path, log):
    """Without a display the program says so on one line and fails."""
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER")}
    result = subprocess.run([program_path], env=env, capture_output=True, timeout=EXIT_TIMEOUT,
                            stdin=subprocess.DEVNULL)
    errors = output_lines(result.stderr.decode(errors="replace"))
    log("exit code %d, stderr %r" % (result.returncode, errors))
    problems = []
    if result.returncode == 0:
        problems.append("exit code 0 with no display")
    if len(errors) != 1 or "no display" not in errors[0]:
        problems.append("stderr should be one line naming the missing display, was %r" % errors)
    return problems


# The scenario lists every kind of screen runs.

def whole_window(run, native):
    """Everything the window does, from its first picture up to the close
    button that ends it. Only the layer's own box (native) opens a second
    box over the first and repaints the window while it is dragged."""
    placement(run)
    if run.scale > 1:
        input_shape(run)
        control_edges(run)
    animation(run)
    push_buttons(run)
    scroll_arrows(run)
    scroll_thumb(run)
    volume_drag(run)
    transport(run)
    about_box(run)
    if native:
        about_boxes_stacked(run)
    caption_drag(run, repaints_while_dragged=native)
    close_button(run)


def scaled_window(run):
    """What scaling can get wrong, in less time than the whole window."""
    placement(run)
    input_shape(run)
    control_edges(run)
    animation(run)
    push_buttons(run)
    volume_drag(run)
    caption_drag(run, repaints_while_dragged=True)
    close_button(run)
