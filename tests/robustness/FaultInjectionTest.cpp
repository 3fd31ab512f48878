// The whole program with one thing taken away: each of its resources missing
// in turn, and each creating call of the layer failing in turn (for every
// kind of object, the 1st, the 2nd, ... up to as many as a normal run
// makes). Every time it starts, takes clicks on every control, a slider drag
// each and a window move, and ends with 0 from its close button; without its
// window class or window it ends at once, nonzero, saying why in one line.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ProgramHarness.h"
#include "app/AppState.h"
#include "layer/Headless.h"
#include "layer/Testing.h"
#include "res/resource.h"
#include "widgets/Slider.h"
#include "widgets/ToggleButton.h"

namespace headless = layer::headless;
using layer::Creation;

namespace {

// Every resource of the program: the region block and every bitmap.
std::vector<int> allResourceIds() {
    std::vector<int> ids{IDR_REGION};
    for (int id = IDB_ANIM_FIRST; id <= IDB_INFO; ++id) ids.push_back(id);
    ids.push_back(IDB_INFO_PRESSED);
    for (int id = IDB_BACKGROUND; id <= IDB_VOLUME_THUMB; ++id) ids.push_back(id);
    return ids;
}

constexpr int windowMoveX = 30;
constexpr int windowMoveY = 20;
constexpr uint64_t closeClickMs = 1100;
constexpr uint64_t closeRequestMs = 2000;  // only if the close button did not end it

// What one exercised run showed.
struct Exercise {
    int exitCode = -1;
    std::string said;  // stderr
    uint64_t endedAtMs = 0;
    bool timedOut = false;
    POINT moved{0, 0};
    std::size_t aboutBoxes = 0;
    bool minimisedAfterItsClick = false;
    int volumeTop = 0;
    int scrollTop = 0;
    // (play, pause) after the play click, the pause click and the stop click.
    std::pair<bool, bool> transport[3] = {};
};

// Every control clicked, the about box dismissed, the minimised window
// restored, both thumbs dragged, the window moved by its bare skin, then
// the close button; a close request later stands by in case it does nothing.
Exercise exercise(const std::function<void()>& takeAway) {
    ProgramHarness program;
    takeAway();
    POINT start = program.origin();
    Exercise seen;
    auto transportInto = [&seen](int i) {
        return [&seen, i] {
            seen.transport[i] = {AppState::play && AppState::play->isPressed(),
                                 AppState::pause && AppState::pause->isPressed()};
        };
    };
    program.click(100, 156, 61);  // play: on
    program.at(150, transportInto(0));
    program.click(160, 178, 61);  // pause: on while playing
    program.at(210, transportInto(1));
    program.click(220, 167, 61);  // stop: both off
    program.at(270, transportInto(2));
    program.click(280, 203, 61);   // record
    program.click(340, 210, 74);   // up arrow
    program.click(400, 210, 185);  // down arrow
    program.click(460, 194, 206);  // info: the about box
    headless::dismissMessageBox(560);
    program.click(600, 178, 30);  // minimise
    program.at(660, [&] { seen.minimisedAfterItsClick = headless::windowMinimized(); });
    headless::restoreWindow(680);
    program.press(720, 39, 80);  // the volume thumb, 20 down
    program.move(760, 39, 100);
    program.release(800, 39, 100);
    program.press(840, 210, 90);  // the scroll thumb, 30 down
    program.move(880, 210, 120);
    program.release(920, 210, 120);
    program.press(960, 60, 118);  // bare skin: the window moves
    program.move(1000, 60 + windowMoveX, 118 + windowMoveY);
    program.release(1040, 60 + windowMoveX, 118 + windowMoveY);
    program.at(1060, [&] {
        POINT now = headless::windowPosition();
        seen.moved = POINT{now.x - start.x, now.y - start.y};
        seen.volumeTop = AppState::volume ? AppState::volume->thumbRect().top : 0;
        seen.scrollTop = AppState::scroll ? AppState::scroll->thumbRect().top : 0;
    });
    // The close button, where the window has gone.
    program.click(closeClickMs, 192 + windowMoveX, 30 + windowMoveY);
    program.close(closeRequestMs);

    ::testing::internal::CaptureStderr();
    seen.exitCode = program.run();
    seen.said = ::testing::internal::GetCapturedStderr();
    seen.endedAtMs = headless::nowMs();
    seen.timedOut = headless::timedOut();
    seen.aboutBoxes = headless::messageBoxes().size();
    return seen;
}

// A run that lost something but not its window behaves as a whole one.
void expectUnharmed(const Exercise& seen) {
    EXPECT_EQ(seen.exitCode, 0);
    EXPECT_FALSE(seen.timedOut);
    EXPECT_LT(seen.endedAtMs, closeRequestMs) << "the close button ended it";
    EXPECT_EQ(seen.said, "") << "nothing to say on stderr";
    EXPECT_EQ(seen.aboutBoxes, 1u);
    EXPECT_TRUE(seen.minimisedAfterItsClick);
    EXPECT_EQ(seen.moved.x, windowMoveX);
    EXPECT_EQ(seen.moved.y, windowMoveY);
    EXPECT_EQ(seen.volumeTop, 77 + 20);
    EXPECT_EQ(seen.scrollTop, 82 + 30) << "79, 3 down for the down arrow, 30 dragged";
    EXPECT_EQ(seen.transport[0], std::make_pair(true, false)) << "after play";
    EXPECT_EQ(seen.transport[1], std::make_pair(true, true)) << "after pause";
    EXPECT_EQ(seen.transport[2], std::make_pair(false, false)) << "after stop";
}

int creationsOf(Creation kind) { return layer::testing::creationCount(kind); }

const char* nameOf(Creation kind) {
    switch (kind) {
        case Creation::WindowClass:
            return "WindowClass";
        case Creation::Window:
            return "Window";
        case Creation::Bitmap:
            return "Bitmap";
        case Creation::DeviceContext:
            return "DeviceContext";
        case Creation::Region:
            return "Region";
        case Creation::Font:
            return "Font";
        default:
            return "?";
    }
}

TEST(FaultInjection, AWholeRunPassesTheChecksOfTheFaultyOnes) {
    expectUnharmed(exercise([] {}));
}

class MissingResource : public ::testing::TestWithParam<int> {};

TEST_P(MissingResource, TheProgramStillRunsAndClosesWithZero) {
    int id = GetParam();
    Exercise seen = exercise([id] { layer::testing::hideResource(id); });
    expectUnharmed(seen);
}

INSTANTIATE_TEST_SUITE_P(EachResource, MissingResource, ::testing::ValuesIn(allResourceIds()),
                         [](const ::testing::TestParamInfo<int>& info) { return std::to_string(info.param); });

class FailingCreation : public ::testing::TestWithParam<Creation> {};

TEST_P(FailingCreation, EveryCallOfTheKindFailingInTurnLeavesTheProgramWhole) {
    Creation kind = GetParam();
    exercise([] {});
    int calls = creationsOf(kind);
    ASSERT_GT(calls, 0) << "a normal run creates at least one " << nameOf(kind);
    for (int nth = 1; nth <= calls; ++nth) {
        SCOPED_TRACE(std::string(nameOf(kind)) + " creation " + std::to_string(nth) + " of " + std::to_string(calls));
        Exercise seen = exercise([kind, nth] { layer::testing::failCreation(kind, nth); });
        EXPECT_GE(creationsOf(kind), nth) << "the failing call was made";
        expectUnharmed(seen);
    }
}

INSTANTIATE_TEST_SUITE_P(EachKind, FailingCreation,
                         ::testing::Values(Creation::Bitmap, Creation::DeviceContext, Creation::Region, Creation::Font),
                         [](const ::testing::TestParamInfo<Creation>& info) { return nameOf(info.param); });

// The window class and the window are made once; without either there is
// no window to run in.
class WithoutAWindow : public ::testing::TestWithParam<Creation> {};

TEST_P(WithoutAWindow, TheProgramEndsAtOnceNonzeroSayingWhyInOneLine) {
    Creation kind = GetParam();
    exercise([] {});
    EXPECT_EQ(creationsOf(kind), 1) << "a normal run makes one " << nameOf(kind);
    Exercise seen = exercise([kind] { layer::testing::failCreation(kind, 1); });
    EXPECT_NE(seen.exitCode, 0);
    EXPECT_EQ(seen.endedAtMs, 0u) << "no frame, no waiting";
    EXPECT_EQ(headless::presentCount(), 0);
    EXPECT_EQ(seen.said.rfind("brisko: ", 0), 0u) << "said: \"" << seen.said << "\"";
    EXPECT_EQ(std::count(seen.said.begin(), seen.said.end(), '\n'), 1) << "said: \"" << seen.said << "\"";
}

INSTANTIATE_TEST_SUITE_P(EachKind, WithoutAWindow, ::testing::Values(Creation::WindowClass, Creation::Window),
                         [](const ::testing::TestParamInfo<Creation>& info) { return nameOf(info.param); });

}  // namespace
