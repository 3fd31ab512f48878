"""The close request a window manager sends: a WM_PROTOCOLS client message
carrying WM_DELETE_WINDOW, sent straight to the window through Xlib, for a
test's X server that runs no window manager."""

import xlib


def request_close(display_name, window):
    with xlib.connect(display_name) as connection:
        current_time = 0
        connection.send_client_message(window, "WM_PROTOCOLS", [connection.atom("WM_DELETE_WINDOW"), current_time])
