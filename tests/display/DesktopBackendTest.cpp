// The desktop backend without a display: what the program's static
// initialisation calls must not start SDL, the clock's units, and the
// failure to open a window when there is no display to open it on.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "DesktopBackend.h"
#include "Window.h"

namespace {

using layer::DesktopBackend;

// No display of any kind, whatever the environment of the test run.
void forgetDisplays() {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("SDL_VIDEODRIVER");
}

LONGLONG monotonicTicks() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return LONGLONG(now.tv_sec) * 10'000'000 + now.tv_nsec / 100;
}

TEST(DesktopBackend, TheClockDoesNotStartSdl) {
    // SDL's dummy driver starts anywhere, so starting it would show.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    DesktopBackend backend;
    EXPECT_EQ(backend.counterFrequency(), 10'000'000);
    backend.counter();
    backend.sleep(0);
    EXPECT_FALSE(backend.videoStarted());
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
}

TEST(DesktopBackend, CountsTheMonotonicClockIn100NanosecondTicks) {
    DesktopBackend backend;
    LONGLONG before = monotonicTicks();
    LONGLONG counted = backend.counter();
    LONGLONG after = monotonicTicks();
    EXPECT_LE(before, counted);
    EXPECT_LE(counted, after);
}

TEST(DesktopBackend, WithoutADisplayTheWindowIsRefusedWithTheReason) {
    forgetDisplays();
    DesktopBackend backend;
    layer::Window window(326, 272);
    std::string whyNot;
    EXPECT_FALSE(backend.showWindow(window, whyNot));
    EXPECT_EQ(whyNot.rfind("no display (SDL: ", 0), 0u) << whyNot;
    EXPECT_EQ(whyNot.find('\n'), std::string::npos) << whyNot;
    // The reason stays the same for a second try, without trying SDL again.
    std::string again;
    EXPECT_FALSE(backend.showWindow(window, again));
    EXPECT_EQ(again, whyNot);
}

TEST(DesktopBackend, WithoutADisplayThereIsNothingToWaitFor) {
    forgetDisplays();
    DesktopBackend backend;
    layer::BackendEvent event;
    EXPECT_EQ(backend.screenSize().cx, 0);
    EXPECT_FALSE(backend.nextEvent(event, false));
    EXPECT_FALSE(backend.nextEvent(event, true));  // returns rather than blocking forever
}

}  // namespace
