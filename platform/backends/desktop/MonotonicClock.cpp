#include "MonotonicClock.h"

#include <cerrno>
#include <ctime>

namespace layer {

LONGLONG MonotonicClock::now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return LONGLONG(now.tv_sec) * ticksPerSecond + now.tv_nsec / 100;
}

void MonotonicClock::rest(long long nanoseconds) {
    timespec remaining{time_t(nanoseconds / 1'000'000'000), long(nanoseconds % 1'000'000'000)};
    while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
    }
}

}  // namespace layer
