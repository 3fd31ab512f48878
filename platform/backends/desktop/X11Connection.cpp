#include "X11Connection.h"

#include <X11/Xlib.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace layer {

namespace {

std::atomic<bool> lossReported{false};
int exitCodeOnLoss = 1;
const char* lostDisplayName = "";

int reportError(Display* display, XErrorEvent* error) {
    char text[256] = "";
    XGetErrorText(display, error->error_code, text, sizeof text);
    std::fprintf(stderr, "brisko: X error %s in request %d.%d on 0x%lx; carrying on\n", text, int(error->request_code),
                 int(error->minor_code), error->resourceid);
    return 0;
}

// Xlib calls this when a read or write on the connection fails; if it
// returned, Xlib would end the process through exit(), whose clean-up would
// talk to the dead server again.
[[noreturn]] int endOnBrokenConnection(Display*) {
    X11Connection::reportLost(lostDisplayName);
    _exit(exitCodeOnLoss);
}

}  // namespace

X11Connection::State X11Connection::state() const {
    if (!display_) return State::Pending;
    pollfd connection{ConnectionNumber(display_), POLLIN, 0};
    int ready = 0;
    do {
        ready = poll(&connection, 1, 0);
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0) return XEventsQueued(display_, QueuedAlready) > 0 ? State::Pending : State::Quiet;
    if (connection.revents & (POLLHUP | POLLERR | POLLNVAL)) return State::Closed;
    // Readable: either the server has something to say, or the connection
    // ended, which reads as zero bytes.
    char next = 0;
    ssize_t peeked = 0;
    do {
        peeked = recv(connection.fd, &next, 1, MSG_PEEK | MSG_DONTWAIT);
    } while (peeked < 0 && errno == EINTR);
    bool ended = peeked == 0 || (peeked < 0 && errno != EAGAIN && errno != EWOULDBLOCK);
    return ended ? State::Closed : State::Pending;
}

void X11Connection::waitForInput(int milliseconds) const {
    if (!display_ || XEventsQueued(display_, QueuedAlready) > 0) return;
    pollfd connection{ConnectionNumber(display_), POLLIN, 0};
    // An interruption (a signal) ends the wait early, which is what the
    // caller wants: it looks for close requests next.
    poll(&connection, 1, milliseconds);
}

const char* X11Connection::name() const { return display_ ? DisplayString(display_) : ""; }

void X11Connection::handleErrors(int exitCodeWhenLost) const {
    lostDisplayName = name();
    exitCodeOnLoss = exitCodeWhenLost;
    XSetErrorHandler(reportError);
    XSetIOErrorHandler(endOnBrokenConnection);
}

void X11Connection::reportLost(const char* displayName) {
    if (lossReported.exchange(true)) return;
    char line[256];
    int length = std::snprintf(line, sizeof line, "brisko: lost its display %s (the X server closed the connection)\n",
                               displayName);
    if (length > 0) {
        ssize_t written = write(STDERR_FILENO, line, std::min<std::size_t>(std::size_t(length), sizeof line - 1));
        (void)written;
    }
}

}  // namespace layer
