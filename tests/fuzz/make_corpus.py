#!/usr/bin/env python3
"""Writes the fuzzer's seed corpus (tests/fuzz/corpus/) from readable scripts.

Each seed is a script in the byte encoding InputScript.h describes; the
fuzzer starts from these and mutates them. Run it again after changing the
encoding:  python3 tests/fuzz/make_corpus.py
"""
import os

DELAYS = [0, 1, 4, 10, 20, 35, 60, 120]

INFO, CLOSE, MINIMISE, PAUSE, PLAY, STOP, RECORD, DOWN, UP = range(9)
SCROLL_THUMB, VOLUME_THUMB, SKIN, SKIN2, SKIN3 = 9, 11, 13, 14, 15


def op(kind, delay_ms=0, shift=False, ctrl=False):
    return kind | (0x08 if shift else 0) | (0x10 if ctrl else 0) | (DELAYS.index(delay_ms) << 5)


def target(index, dx=2, dy=2):
    """A point of a target, (dx, dy) from its top-left corner (-2..13)."""
    return [index, ((dx + 2) & 15) | (((dy + 2) & 15) << 4)]


def client(x, y):
    """Any client point from (-64, -64) to (447, 447)."""
    x, y = x + 64, y + 64
    return [0xC0 | ((x >> 8) & 1) | (((y >> 8) & 1) << 1), x & 255, y & 255]


def screen(x, y):
    return [0xF0, x & 255, (x >> 8) & 255, y & 255, (y >> 8) & 255]


def move(p, delay_ms=20, **mods):
    return [op(0, delay_ms, **mods)] + p


def press(p, delay_ms=20, **mods):
    return [op(1, delay_ms, **mods)] + p


def release(p, delay_ms=20, **mods):
    return [op(2, delay_ms, **mods)] + p


def click(p, hold_ms=30, delay_ms=60, **mods):
    return [op(3, delay_ms, **mods)] + p + [hold_ms & 63]


def drag(p, q, moves=4, delay_ms=20, **mods):
    return [op(4, delay_ms, **mods)] + p + q + [(moves - 1) & 7]


def dismiss(delay_ms=60):
    return [op(5, delay_ms)]


def restore(delay_ms=60):
    return [op(5, delay_ms, shift=True)]


def wait(ms):
    return [op(6), min(ms // 4, 0xEF)]


def jump_before_wrap(ms):
    return [op(6), 0xF0, ms // 4]


def close():
    return [0x07]


SEEDS = {
    "every_control": (
        click(target(PLAY)) + click(target(PAUSE)) + click(target(STOP)) + click(target(RECORD))
        + click(target(UP)) + click(target(DOWN)) + click(target(INFO)) + dismiss()
        + click(target(MINIMISE)) + restore() + click(target(CLOSE))
    ),
    "transport": (
        click(target(PAUSE)) + click(target(PLAY)) + click(target(PAUSE)) + click(target(PLAY))
        + click(target(PAUSE)) + click(target(STOP)) + click(target(PLAY)) + click(target(PLAY)) + close()
    ),
    "slider_drags": (
        drag(target(VOLUME_THUMB), client(39, 110), moves=6)
        + drag(target(SCROLL_THUMB), target(SCROLL_THUMB, 2, 13), moves=3)
        + drag(target(SCROLL_THUMB), client(210, 400), moves=8)
        + drag(target(VOLUME_THUMB), client(39, -60), moves=2, shift=True)
        + press(target(VOLUME_THUMB)) + move(client(39, 120), ctrl=True) + move(client(39, 130))
        + release(client(300, 10)) + click(target(UP)) + click(target(DOWN)) + close()
    ),
    "window_move": (
        drag(target(SKIN), client(200, 160), moves=5)
        + click(target(PLAY)) + drag(target(SKIN2), screen(-500, 30000), moves=3)
        + drag(target(SKIN3), client(-40, -40), moves=2) + click(target(PAUSE)) + close()
    ),
    "about_box": (
        click(target(INFO)) + click(target(PLAY)) + click(target(INFO)) + dismiss() + dismiss()
        + drag(target(SKIN), client(150, 150)) + click(target(INFO)) + close()
    ),
    "clock_wrap": (
        wait(200) + click(target(PLAY)) + jump_before_wrap(300) + wait(100) + click(target(PAUSE))
        + wait(400) + drag(target(VOLUME_THUMB), client(39, 100)) + close()
    ),
    "outside": (
        press(screen(-32768, -32768)) + move(screen(32767, 32767)) + release(client(0, 0))
        + press(target(PLAY)) + move(client(500, 500)) + release(screen(10, 10))
        + press(client(26, 100)) + move(target(STOP)) + release(target(STOP))
        + click(client(-1, -1)) + click(client(325, 271)) + close()
    ),
    "close_button_released_away": (
        press(target(CLOSE)) + move(client(100, 100)) + release(client(390, 300))
    ),
}


# Everything above in one long session, so that the fuzzer starts from
# inputs long enough to reach states only many steps lead to.
SEEDS["long_session"] = (
    sum((SEEDS[name][:-1] for name in ("transport", "slider_drags", "about_box", "outside", "clock_wrap",
                                       "window_move")), [])
    + SEEDS["every_control"]
)


def main():
    directory = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
    os.makedirs(directory, exist_ok=True)
    for name, data in SEEDS.items():
        with open(os.path.join(directory, name), "wb") as out:
            out.write(bytes(data))


if __name__ == "__main__":
    main()
