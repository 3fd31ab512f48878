#pragma once

#include <cstdint>

// Milliseconds on the platform's high-resolution counter.
class FrameClock {
public:
    FrameClock();

    void start();
    int64_t elapsedMs() const;

    // Ticks per millisecond for a counter of that frequency; a counter
    // slower than 1000 ticks a second still counts whole ticks rather than
    // dividing by zero.
    static int64_t ticksPerMs(int64_t frequency);

    int64_t startCount = 0;
    int64_t frequency = 0;
};
