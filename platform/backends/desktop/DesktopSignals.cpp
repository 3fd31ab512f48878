#include "DesktopSignals.h"

#include <unistd.h>

#include <csignal>

namespace layer {

namespace {

// The handlers only touch lock-free flags and make async-signal-safe calls;
// the event loop reads the flag.
volatile std::sig_atomic_t closeRequested = 0;
volatile std::sig_atomic_t deadlineSet = 0;
volatile std::sig_atomic_t deadlineExitCode = 1;

void say(const char* line, std::size_t length) {
    ssize_t written = write(STDERR_FILENO, line, length);
    (void)written;
}

extern "C" void onDeadline(int) {
    constexpr char line[] = "brisko: did not end in time after being asked to; ending now\n";
    say(line, sizeof line - 1);
    _exit(deadlineExitCode);
}

// Only the first shutdown sets the deadline; later ones must not put it off.
// Async-signal-safe: the signal handler calls it too.
void setDeadline(unsigned seconds, int exitCode) {
    if (deadlineSet) return;
    deadlineSet = 1;
    deadlineExitCode = exitCode;
    alarm(seconds);
}

extern "C" void onCloseSignal(int number) {
    closeRequested = 1;
    setDeadline(DesktopSignals::shutdownDeadlineSeconds, 128 + number);
}

void catchSignal(int number, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // Restarted system calls keep reads on the display connection and sleeps
    // from failing half-way; the loop sees the flag within one frame anyway,
    // and the deadline covers a call that never returns.
    action.sa_flags = SA_RESTART;
    sigaction(number, &action, nullptr);
}

}  // namespace

void DesktopSignals::install() {
    // A write to a display that has gone must fail and be reported as the
    // lost display it is, not end the process without a word.
    std::signal(SIGPIPE, SIG_IGN);
    catchSignal(SIGINT, onCloseSignal);
    catchSignal(SIGTERM, onCloseSignal);
    catchSignal(SIGALRM, onDeadline);
}

bool DesktopSignals::takeCloseRequest() {
    if (!closeRequested) return false;
    closeRequested = 0;
    return true;
}

void DesktopSignals::endWithin(unsigned seconds, int exitCode) {
    catchSignal(SIGALRM, onDeadline);
    setDeadline(seconds, exitCode);
}

}  // namespace layer
