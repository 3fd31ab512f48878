#include "FrameClock.h"

#include <windows.h>

FrameClock::FrameClock() {
    LARGE_INTEGER ticks;
    ticks.QuadPart = 0;
    QueryPerformanceFrequency(&ticks);
    frequency = ticks.QuadPart;
}

void FrameClock::start() {
    LARGE_INTEGER now;
    now.QuadPart = 0;
    QueryPerformanceCounter(&now);
    startCount = now.QuadPart;
}

int64_t FrameClock::ticksPerMs(int64_t ticksPerSecond) {
    int64_t perMs = ticksPerSecond / 1000;
    return perMs > 0 ? perMs : 1;
}

// Divides the frequency first, then the tick count, so that the count is
// never multiplied and cannot overflow.
int64_t FrameClock::elapsedMs() const {
    LARGE_INTEGER now;
    now.QuadPart = 0;
    QueryPerformanceCounter(&now);
    return (now.QuadPart - startCount) / ticksPerMs(frequency);
}
