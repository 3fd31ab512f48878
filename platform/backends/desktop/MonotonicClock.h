// The clock of the backends for a real desktop (X11 and Wayland): the
// monotonic clock in 100 ns ticks, as Windows reports its performance
// counter, and a rest that a signal does not cut short.
#pragma once

#include <windows.h>

namespace layer {

class MonotonicClock {
public:
    static constexpr LONGLONG ticksPerSecond = 10'000'000;

    static LONGLONG now();
    // Sleeps this long, going back to sleep after an interruption.
    static void rest(long long nanoseconds);
};

}  // namespace layer
