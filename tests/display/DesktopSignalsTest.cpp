// Interrupt and termination requests become one close request each.
#include <gtest/gtest.h>

#include <csignal>

#include "DesktopSignals.h"

namespace {

using layer::DesktopSignals;

TEST(DesktopSignals, EachRequestIsTakenOnce) {
    DesktopSignals::install();
    EXPECT_FALSE(DesktopSignals::takeCloseRequest());
    for (int number : {SIGTERM, SIGINT}) {
        std::raise(number);  // the process survives: the handler only notes it
        EXPECT_TRUE(DesktopSignals::takeCloseRequest()) << number;
        EXPECT_FALSE(DesktopSignals::takeCloseRequest()) << number;
    }
}

// Requests that come faster than the program looks are one close, not a
// close for a window that is already going.
TEST(DesktopSignals, RequestsNotYetTakenMakeOne) {
    DesktopSignals::install();
    DesktopSignals::install();
    std::raise(SIGTERM);
    std::raise(SIGTERM);
    EXPECT_TRUE(DesktopSignals::takeCloseRequest());
    EXPECT_FALSE(DesktopSignals::takeCloseRequest());
}

}  // namespace
