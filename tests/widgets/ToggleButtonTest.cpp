// The toggle: its state table, and a switch from another control's action.
#include <gtest/gtest.h>

#include "ProgramHarness.h"
#include "res/resource.h"
#include "widgets/ToggleButton.h"

namespace {

int actionRuns = 0;
void countRun() { ++actionRuns; }

enum Step { Press, Release };

struct ToggleCase {
    const char* name;
    std::vector<Step> steps;
    bool on;
    int runs;
};

TEST(ToggleButton, StateTable) {
    ProgramHarness fresh;
    const ToggleCase cases[] = {
        {"press, release: on, acted once", {Press, Release}, true, 1},
        {"twice round: off, acted once", {Press, Release, Press, Release}, false, 1},
        {"press, press, release: off, the pending action dropped", {Press, Press, Release}, false, 0},
        {"release alone: nothing", {Release}, false, 0},
        {"press alone: on, not yet acted", {Press}, true, 0},
        {"release twice after a press: acted once", {Press, Release, Release}, true, 1},
    };
    for (const ToggleCase& c : cases) {
        ToggleButton toggle(GetModuleHandleA(nullptr), IDB_PLAY, IDB_PLAY_PRESSED, Rect{151, 56, 162, 67});
        toggle.setAction(countRun);
        actionRuns = 0;
        for (Step step : c.steps) step == Press ? toggle.press() : toggle.release();
        EXPECT_EQ(toggle.isPressed(), c.on) << c.name;
        EXPECT_EQ(actionRuns, c.runs) << c.name;
    }
}

ToggleButton* other = nullptr;
void switchOther() { other->press(); }

TEST(ToggleButton, SwitchedOffByAnotherActionRunsNothingAtTheNextRelease) {
    ProgramHarness fresh;
    HINSTANCE module = GetModuleHandleA(nullptr);
    ToggleButton target(module, IDB_PAUSE, IDB_PAUSE_PRESSED, Rect{173, 56, 184, 67});
    PushButton trigger(module, IDB_STOP, IDB_STOP_PRESSED, Rect{162, 56, 173, 67});
    other = &target;
    target.setAction(countRun);
    trigger.setAction(switchOther);
    actionRuns = 0;
    target.press();
    target.release();
    ASSERT_EQ(actionRuns, 1);
    trigger.press();
    trigger.release();  // switches the target off from an action
    EXPECT_FALSE(target.isPressed());
    target.release();
    EXPECT_EQ(actionRuns, 1);
}

}  // namespace
