// The entry point, the window and the message loop, run whole on the
// headless backend.
#include <gtest/gtest.h>

#include <functional>

#include "ProgramHarness.h"
#include "app/AppState.h"
#include "app/FrameComposer.h"
#include "app/MainWindow.h"
#include "layer/Headless.h"
#include "layer/Testing.h"
#include "res/resource.h"
#include "widgets/Slider.h"
#include "widgets/ToggleButton.h"

namespace headless = layer::headless;

namespace {

TEST(ProgramLoop, OpensTheCentredTitledPopupAndACloseRequestEndsWithZero) {
    ProgramHarness program;
    program.at(500, [] {
        EXPECT_EQ(headless::windowTitle(), "Brisko Zerazadud");
        EXPECT_EQ(headless::windowSize().cx, 326);
        EXPECT_EQ(headless::windowSize().cy, 272);
        EXPECT_EQ(headless::windowPosition().x, 349);
        EXPECT_EQ(headless::windowPosition().y, 248);
        EXPECT_EQ(AppState::runState, AppState::running);
    });
    program.close(1000);
    EXPECT_EQ(program.run(), 0);
    EXPECT_FALSE(headless::timedOut());
    EXPECT_EQ(AppState::runState, AppState::closing);
}

struct CentreCase {
    int screenWidth, screenHeight;
    int x, y;
};

TEST(ProgramLoop, CentresByHalvingTheDifferenceRoundingDown) {
    const CentreCase cases[] = {{1024, 768, 349, 248}, {1920, 1080, 797, 404}, {327, 273, 0, 0},
                                {325, 271, -1, -1},    {324, 200, -1, -36},    {100, 100, -113, -86}};
    for (CentreCase c : cases) {
        ProgramHarness program(c.screenWidth, c.screenHeight);
        program.close(100);
        EXPECT_EQ(program.run(), 0);
        EXPECT_EQ(headless::windowPosition().x, c.x) << c.screenWidth << " x " << c.screenHeight;
        EXPECT_EQ(headless::windowPosition().y, c.y) << c.screenWidth << " x " << c.screenHeight;
    }
}

TEST(ProgramLoop, FramesRunEvery20MsAndNoneAfterTheCloseRequest) {
    ProgramHarness program;
    int presentsAtClose = -1;
    program.at(1000, [&] { presentsAtClose = headless::presentCount(); });
    program.close(1000);
    EXPECT_EQ(program.run(), 0);
    EXPECT_EQ(presentsAtClose, 50) << "frames at 0, 20, ..., 980 ms";
    EXPECT_EQ(headless::presentCount(), presentsAtClose) << "no frame after WM_CLOSE";
    EXPECT_EQ(headless::frameSleeps(), 50) << "one 20 ms sleep after each frame";
}

// The frame at 20 ms sleeps until 40 ms; a press at 25 ms waits for the poll
// at 40 ms, and the frame composed right after it already shows it.
TEST(ProgramLoop, MessagesAreHandledOnlyBetweenFrames) {
    ProgramHarness program;
    int presentsBeforePress = -1;
    program.at(21, [&] { presentsBeforePress = headless::presentCount(); });
    program.press(25, 156, 61);
    program.at(30, [&] {
        EXPECT_EQ(headless::nowMs(), 40u) << "the sleep after the frame at 20 ms ran to its end";
        EXPECT_FALSE(AppState::play->isPressed()) << "the press is queued, not handled, until the poll";
        EXPECT_EQ(headless::presentCount(), presentsBeforePress);
    });
    program.at(41, [] {
        EXPECT_TRUE(AppState::play->isPressed());
        EXPECT_TRUE(windowShowsBitmap(IDB_PLAY_PRESSED, 151, 56)) << "the frame at 40 ms shows it";
    });
    program.release(70, 156, 61);
    program.close(100);
    EXPECT_EQ(program.run(), 0);
}

TEST(ProgramLoop, TheSurfacesAreReleasedOnCloseAndNeverUsedAgain) {
    ProgramHarness program;
    HDC back = nullptr;
    HBITMAP background = nullptr;
    program.at(100, [&] {
        back = AppState::backDC;
        background = AppState::backgroundBitmap;
    });
    program.close(200);
    EXPECT_EQ(program.run(), 0);
    ASSERT_NE(back, nullptr);
    BITMAP info;
    EXPECT_EQ(GetObjectA(background, sizeof info, &info), 0) << "the background bitmap was deleted";
    EXPECT_FALSE(DeleteDC(back)) << "the back buffer's context was deleted";
    EXPECT_EQ(AppState::backDC, nullptr);
    EXPECT_EQ(AppState::frameDCs[3], nullptr);
}

TEST(ProgramLoop, TheFrameClockHandsOnTheLow32BitsOfTheElapsedTime) {
    ProgramHarness program;
    // Two to the 32nd milliseconds on, the frame at 2^32 + 130 ms shows
    // animation frame 1, as at 130 ms; 200 ms later, frame 3.
    program.at(100, [] {
        headless::advanceClock((uint64_t(1) << 32) + 30);
        headless::at(headless::nowMs() + 10, [] {
            EXPECT_EQ(AppState::clock.elapsedMs(), (int64_t(1) << 32) + 150);
            EXPECT_TRUE(windowShowsBitmap(IDB_ANIM_FIRST + 1, 219, 101));
            headless::advanceClock(180);
            headless::at(headless::nowMs() + 10, [] {
                EXPECT_TRUE(windowShowsBitmap(IDB_ANIM_FIRST + 3, 219, 101));
                headless::requestClose(headless::nowMs());
            });
        });
    });
    EXPECT_EQ(program.run(), 0);
    EXPECT_FALSE(headless::timedOut());
}

TEST(ProgramLoop, ASlowCounterCountsWholeTicksInsteadOfDividingByZero) {
    ProgramHarness fresh;
    headless::setCounterFrequency(500);
    FrameClock slow;
    EXPECT_EQ(slow.frequency, 500);
    slow.start();
    Sleep(2000);
    EXPECT_EQ(slow.elapsedMs(), 1000) << "1000 ticks at one tick per millisecond";
}

struct ClockCase {
    int64_t frequency;
    uint64_t sleptMs;
    int64_t expected;
};

TEST(ProgramLoop, ElapsedMsDividesTheFrequencyFirst) {
    const ClockCase cases[] = {
        {10'000'000, 12345, 12345}, {1000, 777, 777}, {3'579'545, 1000, 1000}, {1500, 1000, 1500}};
    for (ClockCase c : cases) {
        ProgramHarness fresh;
        headless::setCounterFrequency(c.frequency);
        FrameClock clock;
        clock.start();
        Sleep(DWORD(c.sleptMs));
        EXPECT_EQ(clock.elapsedMs(), c.expected) << c.frequency << " ticks a second";
    }
}

TEST(ProgramLoop, WithoutAWindowTheProgramEndsAtOnceWithOneLineSayingWhy) {
    for (layer::Creation refused : {layer::Creation::Window, layer::Creation::WindowClass}) {
        ProgramHarness program;
        layer::testing::failCreation(refused, 1);
        program.close(100);
        ::testing::internal::CaptureStderr();
        int code = program.run();
        std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(code, 0);
        EXPECT_EQ(headless::presentCount(), 0);
        EXPECT_NE(said.find("brisko: cannot open its window"), std::string::npos) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    }
}

TEST(ProgramLoop, MovesWithShiftOrCtrlHeldAreNotDragsAndTheThumbCatchesUpAfterwards) {
    ProgramHarness program;
    program.press(100, 39, 80);
    program.move(140, 39, 90, MK_SHIFT);
    program.at(180, [] { EXPECT_EQ(AppState::volume->thumbRect().top, 77) << "Shift held: no drag"; });
    program.move(200, 39, 95, MK_CONTROL);
    program.at(240, [] { EXPECT_EQ(AppState::volume->thumbRect().top, 77) << "Ctrl held: no drag"; });
    program.move(260, 39, 96);
    program.at(300, [] { EXPECT_EQ(AppState::volume->thumbRect().top, 77 + 16) << "the whole movement at once"; });
    program.release(320, 39, 96);
    program.close(400);
    EXPECT_EQ(program.run(), 0);
}

TEST(ProgramLoop, MinimisingLeavesTheFramesRunning) {
    ProgramHarness program;
    int presentsWhenMinimised = 0;
    program.click(100, 178, 30);
    program.at(200, [&] {
        EXPECT_TRUE(headless::windowMinimized());
        presentsWhenMinimised = headless::presentCount();
    });
    program.at(600, [&] { EXPECT_GE(headless::presentCount(), presentsWhenMinimised + 19); });
    program.close(700);
    EXPECT_EQ(program.run(), 0);
}

// Whatever the program is doing when its display goes away, it ends through
// its own shutdown (the surfaces released, the window gone) with the exit
// code that says the display was lost, rather than 0 or never.
struct DisplayLossCase {
    const char* state;
    std::function<void(ProgramHarness&)> reachState;
};

TEST(ProgramLoop, LosingTheDisplayEndsTheProgramThroughItsShutdownWithCode2) {
    const DisplayLossCase cases[] = {
        {"idle", [](ProgramHarness&) {}},
        {"during a window move", [](ProgramHarness& program) { program.press(200, 60, 118); }},
        {"with the about box open", [](ProgramHarness& program) { program.click(200, 194, 206); }},
        {"minimised", [](ProgramHarness& program) { program.click(200, 178, 30); }},
        {"with two about boxes open",
         [](ProgramHarness& program) {
             program.click(200, 194, 206);
             program.click(300, 194, 206);
         }},
    };
    for (const DisplayLossCase& c : cases) {
        SCOPED_TRACE(c.state);
        ProgramHarness program;
        c.reachState(program);
        headless::loseDisplay(500);
        EXPECT_EQ(program.run(), 2);
        EXPECT_FALSE(headless::timedOut());
        EXPECT_EQ(AppState::runState, AppState::closing);
        EXPECT_EQ(AppState::backDC, nullptr);
        EXPECT_FALSE(IsWindow(AppState::window));
    }
}

}  // namespace
