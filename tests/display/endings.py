"""How the program ends, case by case, each case on an X server of its own:
signals and the window manager's close in every state the program can be
in, the X server going away under it, and the about box opened and closed
many times on a busy machine."""

import contextlib
import signal
import subprocess
import sys
import time

import layout
import scenarios
from displayrun import CheckFailed, output_lines

# A close request (a signal, the window manager's close) must end the
# program within a second; this leaves room for a busy machine.
END_DEADLINE = 3.0
# A program still running after the deadline is watched this long to tell
# a slow one from one that spins.
CPU_SAMPLE_SECONDS = 1.0
# A program that ends late is still awaited this long, to report when.
LATE_WAIT_SECONDS = 5.0

STATES = ["idle", "mid-drag", "about box open", "minimised"]


def enter_state(run, state):
    """Brings the launched program into the state."""
    if state == "mid-drag":
        # A window move in progress: the button held on bare skin.
        run.move_to(layout.BARE_SKIN)
        run.session.press()
        moved = (run.origin[0] + 10, run.origin[1])
        run.move_to((layout.BARE_SKIN[0] + 10, layout.BARE_SKIN[1]))
        run.wait_until("the window did not follow the pointer to (%d,%d)" % moved,
                       lambda: run.window_position() == moved)
    elif state == "about box open":
        scenarios.open_about_box(run, check_info_pressed=False)
    elif state == "minimised":
        scenarios.click_minimise(run)
        if run.session.with_window_manager:
            scenarios.expect_iconic(run)
        else:
            time.sleep(0.3)
    run.require(run.program.running(), "the program ended on its way to the state %s" % state)


def watch_end(run, started):
    """Seconds from started until the program ended, and its exit code; or
    fails, saying whether it spins, when it is still running at the
    deadline."""
    code = run.program.wait(max(0.0, started + END_DEADLINE - time.monotonic()))
    if code is not None:
        return time.monotonic() - started, code
    before = run.program.cpu_seconds() or 0.0
    time.sleep(CPU_SAMPLE_SECONDS)
    used = ((run.program.cpu_seconds() or before) - before) / CPU_SAMPLE_SECONDS
    code = run.program.wait(LATE_WAIT_SECONDS)
    late = ("it ended %.1f s after with %d" % (time.monotonic() - started, code) if code is not None else
            "it still ran %.0f s after" % (END_DEADLINE + CPU_SAMPLE_SECONDS + LATE_WAIT_SECONDS))
    run.fail("the program was still running %.0f s later, using %.0f%% of a core (%s)" % (END_DEADLINE, 100 * used, late))


def run_cases(bench, cases, log):
    """Runs each case on a fresh X server, all of them even when some fail;
    returns the titles of those that failed."""
    failures = []
    for title, case in cases:
        try:
            with bench.run() as run:
                case(run)
        except CheckFailed as failure:
            log("FAILED: %s: %s" % (title, failure))
            failures.append(title)
    return failures


def signal_case(state, name, number):
    """The signal ends the program through its shutdown, exit code 0.
    With the X server gone at the same moment, it must still end in time,
    by its own exit rather than the signal's default action."""

    def case(run):
        run.launch()
        display_gone = state == "display gone"
        enter_state(run, "idle" if display_gone else state)
        started = time.monotonic()
        if display_gone:
            run.session.kill_server(signal.SIGKILL)
        run.program.send_signal(number)
        seconds, code = watch_end(run, started)
        what = "%s (%s)" % (name, state)
        if display_gone:
            run.require(code >= 0, "after %s the program was killed by signal %d" % (what, -code))
            run.log("%s: ended after %.2f s, exit code %d, stderr %r" % (what, seconds, code,
                                                                        output_lines(run.program.errors())))
            return
        run.require(code == 0, "after %s the program exited with %d, expected 0" % (what, code))
        run.require(not run.session.find_windows(layout.WINDOW_TITLE), "the window is still there after %s" % what)
        run.log("%s: ended through its shutdown after %.2f s, exit code 0" % (what, seconds))

    return ("%s when %s" % (name, state), case)


def window_manager_close_case(state):
    def case(run):
        run.launch()
        enter_state(run, state)
        started = time.monotonic()
        scenarios.window_manager_close(run)
        run.log("the window manager's close (%s): ended after %.2f s" % (state, time.monotonic() - started))

    return ("the window manager's close when %s" % state, case)


def signals(bench, log):
    cases = [signal_case(state, name, number) for state in STATES + ["display gone"]
             for name, number in (("SIGTERM", signal.SIGTERM), ("SIGINT", signal.SIGINT))]
    cases += [window_manager_close_case(state) for state in STATES]
    return run_cases(bench, cases, log)


def display_loss_case(state, name, number):
    """The X server ends under the program: it must notice, say so in one
    line, and exit with a nonzero code, without spinning."""

    def case(run):
        run.launch()
        enter_state(run, state)
        started = time.monotonic()
        run.session.kill_server(number)
        seconds, code = watch_end(run, started)
        errors = output_lines(run.program.errors())
        what = "the X server ended by %s (%s)" % (name, state)
        run.log("%s: ended after %.2f s, exit code %d, stderr %r" % (what, seconds, code, errors))
        run.require(code > 0, "after %s the program %s" % (
            what, "exited with 0" if code == 0 else "was killed by signal %d" % -code))
        run.require(len(errors) == 1 and "lost its display" in errors[0],
                    "after %s stderr should be one line saying the program lost its display, was %r" % (what, errors))

    return ("X server ended by %s when %s" % (name, state), case)


def display_loss(bench, log):
    cases = [display_loss_case(state, name, number) for state in STATES
             for name, number in (("SIGKILL", signal.SIGKILL), ("SIGTERM", signal.SIGTERM))]
    return run_cases(bench, cases, log)


# Spins until it is ended, or until the test that started it is gone (a
# test killed at its timeout cannot end it).
BUSY_LOOP = "import os\nparent = os.getppid()\nwhile os.getppid() == parent:\n    pass\n"


@contextlib.contextmanager
def busy_machine(processes):
    """Loops that keep every core busy, ended whatever happens."""
    loops = [subprocess.Popen([sys.executable, "-c", BUSY_LOOP], stdin=subprocess.DEVNULL) for _ in range(processes)]
    try:
        yield
    finally:
        for loop in loops:
            loop.kill()
            loop.wait()


ABOUT_BOX_ROUNDS = 30
BUSY_LOOPS = 3


def about_box_under_load(run):
    """The about box opened and closed with OK again and again on a busy
    machine, then the close button: exit code 0, and no X errors."""
    with busy_machine(BUSY_LOOPS):
        run.launch()
        started = time.monotonic()
        for round_number in range(1, ABOUT_BOX_ROUNDS + 1):
            try:
                box = scenarios.open_about_box(run, check_info_pressed=False)
                scenarios.click_ok(run, box)
                scenarios.expect_box_closed(run, "a click on OK")
            except CheckFailed as failure:
                raise CheckFailed("round %d of %d: %s" % (round_number, ABOUT_BOX_ROUNDS, failure)) from None
        run.log("the about box opened and closed %d times in %.1f s with %d busy loops beside" % (
            ABOUT_BOX_ROUNDS, time.monotonic() - started, BUSY_LOOPS))
        scenarios.close_button(run)
    errors = output_lines(run.program.errors())
    x_errors = [line for line in errors if "X Error" in line or "BadWindow" in line]
    run.require(not x_errors, "the program reported X errors: %r" % errors)
