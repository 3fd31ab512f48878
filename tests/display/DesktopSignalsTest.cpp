// Interrupt and termination requests become one close request each, and a
// shutdown that does not finish in time is cut short. Each case runs in a
// child process: a request sets a deadline that would end the test binary.
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include "DesktopSignals.h"

namespace {

using layer::DesktopSignals;

// A child that checks, then exits with 0 only when every check held, well
// within the deadline a request sets.
#define EXPECT_CHILD_SUCCEEDS(body) EXPECT_EXIT({ _exit((body) ? 0 : 1); }, ::testing::ExitedWithCode(0), "")

bool eachRequestIsTakenOnce() {
    DesktopSignals::install();
    if (DesktopSignals::takeCloseRequest()) return false;
    for (int number : {SIGTERM, SIGINT}) {
        std::raise(number);  // the process survives: the handler only notes it
        if (!DesktopSignals::takeCloseRequest() || DesktopSignals::takeCloseRequest()) return false;
    }
    return true;
}

// Requests that come faster than the program looks are one close, not a
// close for a window that is already going.
bool requestsNotYetTakenMakeOne() {
    DesktopSignals::install();
    DesktopSignals::install();
    std::raise(SIGTERM);
    std::raise(SIGTERM);
    return DesktopSignals::takeCloseRequest() && !DesktopSignals::takeCloseRequest();
}

[[noreturn]] void hangAfter(int number) {
    DesktopSignals::install();
    std::raise(number);
    for (;;) pause();
}

TEST(DesktopSignalsDeathTest, EachRequestIsTakenOnce) { EXPECT_CHILD_SUCCEEDS(eachRequestIsTakenOnce()); }

TEST(DesktopSignalsDeathTest, RequestsNotYetTakenMakeOne) { EXPECT_CHILD_SUCCEEDS(requestsNotYetTakenMakeOne()); }

// Stuck where the request is never looked at (as in a call on a display
// that stopped answering), the process still ends, as the signal would have
// ended it.
TEST(DesktopSignalsDeathTest, AShutdownThatDoesNotEndInASecondIsCutShort) {
    for (int number : {SIGTERM, SIGINT})
        EXPECT_EXIT(hangAfter(number), ::testing::ExitedWithCode(128 + number), "did not end in time");
}

TEST(DesktopSignalsDeathTest, AnUnaskedShutdownEndsWithItsOwnCode) {
    EXPECT_EXIT(
        {
            DesktopSignals::endWithin(1, 2);
            for (;;) pause();
        },
        ::testing::ExitedWithCode(2), "did not end in time");
}

// A later request must not put the deadline off.
TEST(DesktopSignalsDeathTest, TheFirstRequestSetsTheDeadline) {
    EXPECT_EXIT(
        {
            DesktopSignals::install();
            std::raise(SIGINT);
            usleep(600'000);
            std::raise(SIGTERM);
            usleep(600'000);
            _exit(0);
        },
        ::testing::ExitedWithCode(128 + SIGINT), "did not end in time");
}

}  // namespace
