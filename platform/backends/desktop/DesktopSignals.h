// Interrupt and termination requests (Ctrl+C, kill) turned into a close of
// the window, so that the program ends through its own shutdown sequence and
// exits normally instead of being cut off mid-frame.
//
// The shutdown is given a deadline: should it not be over a second after the
// request (the program stuck somewhere the request cannot reach), the process
// ends there and then, with 128 + the signal's number as a shell reports a
// process a signal ended.
#pragma once

namespace layer {

class DesktopSignals {
public:
    // Catches SIGINT and SIGTERM from now on. Safe to call more than once.
    static void install();

    // True once for each request that arrived since the last call.
    static bool takeCloseRequest();

    // Ends the process with this code unless it ends by itself within the
    // deadline. For shutdowns the program did not ask for, such as when the
    // display goes away.
    static void endWithin(unsigned seconds, int exitCode);

    static constexpr unsigned shutdownDeadlineSeconds = 1;
};

}  // namespace layer
