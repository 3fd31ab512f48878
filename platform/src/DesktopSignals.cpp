#include "DesktopSignals.h"

#include <csignal>

namespace layer {

namespace {

// The handler may only touch a lock-free atomic flag; the event loop reads it.
volatile std::sig_atomic_t closeRequested = 0;

extern "C" void onCloseSignal(int) { closeRequested = 1; }

void catchSignal(int number) {
    struct sigaction action {};
    action.sa_handler = onCloseSignal;
    sigemptyset(&action.sa_mask);
    // Restarted system calls keep reads on the display connection and sleeps
    // from failing half-way; the loop sees the flag within one frame anyway.
    action.sa_flags = SA_RESTART;
    sigaction(number, &action, nullptr);
}

}  // namespace

void DesktopSignals::install() {
    catchSignal(SIGINT);
    catchSignal(SIGTERM);
}

bool DesktopSignals::takeCloseRequest() {
    if (!closeRequested) return false;
    closeRequested = 0;
    return true;
}

}  // namespace layer
