#!/usr/bin/python3
"""A small window manager for the display tests that behaves as the one of
sway's XWayland does towards X11 programs: it places every new window itself
(centred, a little off the place asked for), keeps windows where it put them
whatever the program asks (answering each request with the geometry it
keeps, as ICCCM says), ignores requests to iconify, and moves a window only
through EWMH's _NET_WM_MOVERESIZE, anchored at the root position the request
gives, until the button comes up or the program cancels.

  keeping_wm.py [--offset DX DY] [--delay SECONDS]

--delay makes it take that long to act on a move request, so that a button
can come up before the move begins (the race _NET_WM_MOVERESIZE_CANCEL is
for). It writes "ready" on standard output once it manages the screen."""

import argparse
import sys
import time

from Xlib import X, Xatom, display
from Xlib.protocol import event as xevent

MOVE = 8
CANCEL = 11


class KeepingWindowManager:
    def __init__(self, offset, delay):
        self.display = display.Display()
        self.root = self.display.screen().root
        self.offset = offset
        self.delay = delay
        self.moving = None  # (window, anchor root x, y, window x, y) while a move runs
        self.atom = self.display.intern_atom
        self.places = {}

    def take_screen(self):
        self.root.change_attributes(event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
        self.display.sync()
        check = self.root.create_window(-10, -10, 1, 1, 0, X.CopyFromParent)
        name = self.atom("_NET_SUPPORTING_WM_CHECK")
        for window in (self.root, check):
            window.change_property(name, Xatom.WINDOW, 32, [check.id])
        check.change_property(self.atom("_NET_WM_NAME"), self.atom("UTF8_STRING"), 8, b"keeping")
        self.root.change_property(self.atom("_NET_SUPPORTED"), Xatom.ATOM, 32,
                                  [self.atom("_NET_WM_MOVERESIZE"), self.atom("_NET_SUPPORTING_WM_CHECK")])
        self.display.sync()

    def place(self, window):
        """Centred on the screen, off by the offset: never where asked."""
        geometry = window.get_geometry()
        screen = self.display.screen()
        x = (screen.width_in_pixels - geometry.width) // 2 + self.offset[0]
        y = (screen.height_in_pixels - geometry.height) // 2 + self.offset[1]
        self.places[window.id] = (x, y)
        window.configure(x=x, y=y)
        return x, y

    def tell_geometry(self, window):
        """The synthetic ConfigureNotify a window manager sends a client
        whose request it did not carry out."""
        x, y = self.places.get(window.id, (0, 0))
        geometry = window.get_geometry()
        window.send_event(xevent.ConfigureNotify(event=window, window=window, above_sibling=X.NONE, x=x, y=y,
                                                 width=geometry.width, height=geometry.height,
                                                 border_width=0, override=False),
                          event_mask=X.StructureNotifyMask)

    def on_map_request(self, ev):
        self.place(ev.window)
        ev.window.map()
        ev.window.change_property(self.atom("WM_STATE"), self.atom("WM_STATE"), 32, [1, 0])

    def on_configure_request(self, ev):
        # Size may change; the place is the window manager's own.
        if ev.window.id in self.places and ev.value_mask & (X.CWWidth | X.CWHeight):
            ev.window.configure(width=ev.width, height=ev.height)
        elif ev.window.id not in self.places:
            ev.window.configure(x=ev.x, y=ev.y, width=ev.width, height=ev.height)
            return
        self.tell_geometry(ev.window)

    def on_client_message(self, ev):
        if ev.client_type != self.atom("_NET_WM_MOVERESIZE"):
            return  # WM_CHANGE_STATE (iconify) and the rest: ignored
        x_root, y_root, direction = ev.data[1][0], ev.data[1][1], ev.data[1][2]
        if direction == CANCEL:
            self.end_move()
        elif direction == MOVE and ev.window.id in self.places:
            time.sleep(self.delay)
            self.display.flush()
            self.begin_move(ev.window, x_root, y_root)

    def begin_move(self, window, x_root, y_root):
        status = self.root.grab_pointer(False, X.PointerMotionMask | X.ButtonReleaseMask, X.GrabModeAsync,
                                        X.GrabModeAsync, X.NONE, X.NONE, X.CurrentTime)
        if status != X.GrabSuccess:
            return
        self.moving = (window, x_root, y_root) + self.places[window.id]

    def follow(self, x_root, y_root):
        window, anchor_x, anchor_y, start_x, start_y = self.moving
        place = (start_x + x_root - anchor_x, start_y + y_root - anchor_y)
        self.places[window.id] = place
        window.configure(x=place[0], y=place[1])

    def end_move(self):
        if self.moving:
            self.display.ungrab_pointer(X.CurrentTime)
            self.moving = None

    def run(self):
        self.take_screen()
        print("ready", flush=True)
        while True:
            ev = self.display.next_event()
            if ev.type == X.MapRequest:
                self.on_map_request(ev)
            elif ev.type == X.ConfigureRequest:
                self.on_configure_request(ev)
            elif ev.type == X.ClientMessage:
                self.on_client_message(ev)
            elif ev.type == X.MotionNotify and self.moving:
                self.follow(ev.root_x, ev.root_y)
            elif ev.type == X.ButtonRelease and self.moving:
                self.follow(ev.root_x, ev.root_y)
                self.end_move()
            elif ev.type == X.DestroyNotify:
                self.places.pop(ev.window.id, None)
            self.display.flush()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--offset", type=int, nargs=2, default=(7, 11))
    parser.add_argument("--delay", type=float, default=0.0)
    args = parser.parse_args()
    KeepingWindowManager(tuple(args.offset), args.delay).run()


if __name__ == "__main__":
    sys.exit(main())
