// The program's connection to the X server, as SDL opened it: whether the
// server is still at the other end, waiting for it to say something, and
// what happens when it reports an error.
#pragma once

struct _XDisplay;

namespace layer {

class X11Connection {
public:
    X11Connection() = default;
    explicit X11Connection(_XDisplay* display) : display_(display) {}

    bool valid() const { return display_ != nullptr; }

    // True once the server has closed the connection (it ended, or the
    // connection broke). Looks without reading, so Xlib never gets to see
    // the end itself.
    bool closed() const;

    // Blocks until the server sends something, or for at most this long.
    // Only what SDL has not yet taken from the connection counts, so call it
    // after SDL has been pumped dry.
    void waitForInput(int milliseconds) const;

    // The server's name, such as ":0", for messages.
    const char* name() const;

    // From now on an X error is reported on stderr and the program carries on
    // (Xlib's default ends the process with code 1), and a broken connection
    // that Xlib meets before closed() does ends the program at once with the
    // given code, after one line on stderr, without touching the connection
    // again: any further Xlib call on it could wait for ever.
    void handleErrors(int exitCodeWhenLost) const;

    // The one line that says the display went away; printed at most once,
    // whoever notices first.
    static void reportLost(const char* displayName);

private:
    _XDisplay* display_ = nullptr;
};

}  // namespace layer
