// Routing of presses, moves and releases to the controls of the global list.
#include <gtest/gtest.h>

#include <memory>

#include "ProgramHarness.h"
#include "app/AppState.h"
#include "res/resource.h"
#include "widgets/PointerRouting.h"
#include "widgets/PushButton.h"
#include "widgets/Slider.h"
#include "widgets/ToggleButton.h"

namespace {

std::vector<std::string> log;
int captionMoves = 0;

LRESULT CALLBACK recordingProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCLBUTTONDOWN && wParam == HTCAPTION && lParam == 0) ++captionMoves;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void logA() { log.push_back("A"); }
void logB() { log.push_back("B"); }
void logC() { log.push_back("C"); }

class PointerRoutingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ProgramHarness fresh;
        log.clear();
        captionMoves = 0;
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = recordingProcedure;
        windowClass.lpszClassName = "RoutingTest";
        RegisterClassExA(&windowClass);
        AppState::window = CreateWindowExA(0, "RoutingTest", "", WS_POPUP | WS_VISIBLE, 0, 0, 326, 272, nullptr,
                                           nullptr, nullptr, nullptr);
    }
    void TearDown() override { AppState::widgets.clear(); }

    template <class W, class... Args>
    W* add(Action action, Args... args) {
        auto made = std::make_shared<W>(GetModuleHandleA(nullptr), args...);
        owned.push_back(made);
        W* widget = made.get();
        widget->setAction(action);
        AppState::widgets.append(widget);
        return widget;
    }
    PushButton* button(Action action, Rect rect) { return add<PushButton>(action, IDB_STOP, IDB_STOP_PRESSED, rect); }

    std::vector<std::shared_ptr<void>> owned;  // each freed through its own type
};

struct PressCase {
    const char* name;
    uint16_t x, y;
    std::vector<std::string> actions;  // run by the release that follows
    int captionMoves;
};

// Two overlapping buttons (A first) and one apart (C).
TEST_F(PointerRoutingTest, PressGoesToTheFirstWidgetHoldingThePoint) {
    const PressCase cases[] = {
        {"only A holds it", 12, 12, {"A"}, 0},
        {"A and B overlap: A comes first", 25, 25, {"A"}, 0},
        {"only B holds it", 35, 35, {"B"}, 0},
        {"C", 105, 105, {"C"}, 0},
        {"on no widget: the caption move", 70, 70, {}, 1},
        {"just past A's right edge, still B", 30, 22, {"B"}, 0},
    };
    button(logA, Rect{10, 10, 30, 30});
    button(logB, Rect{20, 20, 40, 40});
    button(logC, Rect{100, 100, 110, 110});
    for (const PressCase& c : cases) {
        log.clear();
        captionMoves = 0;
        pressAt(c.x, c.y);
        releaseAt(c.x, c.y);
        EXPECT_EQ(log, c.actions) << c.name;
        EXPECT_EQ(captionMoves, c.captionMoves) << c.name;
    }
}

TEST_F(PointerRoutingTest, ReleaseAnywhereRunsThePressedWidgetsActionOnce) {
    button(logA, Rect{10, 10, 30, 30});
    button(logB, Rect{50, 50, 60, 60});
    pressAt(15, 15);
    pressAt(15, 15);
    releaseAt(300, 250);
    releaseAt(15, 15);
    EXPECT_EQ(log, (std::vector<std::string>{"A"})) << "B was never pressed; A acts once";
}

TEST_F(PointerRoutingTest, PressOnASlidersTrackOutsideItsThumbMovesTheWindow) {
    add<Slider>(logA, IDB_THUMB, IDB_THUMB_PRESSED, 24, Rect{207, 79, 214, 181});
    pressAt(210, 150);
    EXPECT_EQ(captionMoves, 1);
    releaseAt(210, 150);
    pressAt(210, 80);
    EXPECT_EQ(captionMoves, 1) << "the thumb itself takes the press";
}

TEST_F(PointerRoutingTest, MovesReachOnlyTheWidgetHoldingThePress) {
    ToggleButton* toggle = add<ToggleButton>(noAction, IDB_PLAY, IDB_PLAY_PRESSED, Rect{0, 0, 11, 11});
    PushButton* other = button(logB, Rect{20, 0, 31, 11});
    pressAt(5, 5);
    releaseAt(5, 5);
    ASSERT_TRUE(toggle->isPressed()) << "the toggle is on";
    pressAt(25, 5);  // hold the push button
    dragAt(26, 6);
    dragAt(27, 7);
    EXPECT_TRUE(toggle->isPressed()) << "a toggle that is merely on takes no move";
    EXPECT_TRUE(other->isPressed());
    releaseAt(27, 7);
    EXPECT_EQ(log, (std::vector<std::string>{"B"}));

    dragAt(5, 5);  // nothing held
    EXPECT_TRUE(toggle->isPressed());
}

TEST_F(PointerRoutingTest, AHeldToggleIsNotSwitchedByMoves) {
    ToggleButton* toggle = add<ToggleButton>(logA, IDB_PLAY, IDB_PLAY_PRESSED, Rect{0, 0, 11, 11});
    pressAt(5, 5);
    for (int i = 0; i < 5; ++i) dragAt(5, uint16_t(6 + i));
    EXPECT_TRUE(toggle->isPressed());
    releaseAt(5, 10);
    EXPECT_EQ(log, (std::vector<std::string>{"A"}));
}

}  // namespace
