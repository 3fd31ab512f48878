// Interrupt and termination requests (Ctrl+C, kill) turned into a close of
// the window, so that the program ends through its own shutdown sequence and
// exits normally instead of being cut off mid-frame.
#pragma once

namespace layer {

class DesktopSignals {
public:
    // Catches SIGINT and SIGTERM from now on. Safe to call more than once.
    static void install();

    // True once for each request that arrived since the last call.
    static bool takeCloseRequest();
};

}  // namespace layer
