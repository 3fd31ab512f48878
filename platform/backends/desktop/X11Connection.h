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

    // What the connection holds just now, found without reading from it (so
    // that Xlib never gets to meet its end itself): nothing new; something
    // for SDL to take (input from the server, or events Xlib has queued); or
    // the end, the server having closed the connection or the connection
    // broken.
    enum class State { Quiet, Pending, Closed };
    State state() const;

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
