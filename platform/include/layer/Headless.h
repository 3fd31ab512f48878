// The headless backend as tests drive it: a virtual clock that only Sleep
// (and the script) moves, pointer input from a script of timed events, and
// the window's pixels readable at any time.
//
// Times are virtual milliseconds since the last layer::testing::resetHeadless().
// Pointer positions are screen coordinates; the layer turns them into window
// messages only where the window (and its region) lies under the pointer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace layer::headless {

// The screen in device pixels, and how many device pixels along each axis
// show one of the program's pixels. Script positions are device pixels.
void setScreenSize(int width, int height);
void setScale(int devicePixelsPerPixel);
void setCounterFrequency(LONGLONG ticksPerSecond);
// Once the script has run out, the system asks the window to close after this
// much more virtual time, so that a test that forgot to close cannot hang.
void setIdleLimitMs(uint64_t milliseconds);

void moveTo(uint64_t atMs, int screenX, int screenY, WPARAM modifiers = 0);
void buttonDown(uint64_t atMs, int screenX, int screenY, WPARAM modifiers = 0);
void buttonUp(uint64_t atMs, int screenX, int screenY, WPARAM modifiers = 0);
void dismissMessageBox(uint64_t atMs);
void requestClose(uint64_t atMs);  // the system's close: WM_CLOSE is posted
void restoreWindow(uint64_t atMs);
// The display goes away, as when the X server ends under the program.
void loseDisplay(uint64_t atMs);
// Runs a test's own code at that time, between the program's polls.
void at(uint64_t atMs, std::function<void()> call);

// Moves the virtual clock forward at once, as if the machine had slept.
void advanceClock(uint64_t milliseconds);
uint64_t nowMs();
// Virtual time at which the script's last entry is due.
uint64_t scriptEndMs();

struct MessageBoxRecord {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
    uint64_t openedAtMs;
};

// What the window shows at a client pixel: false outside the window, outside
// its region, or when there has never been a window. After the window is
// destroyed its last picture stays readable.
bool windowPixel(int clientX, int clientY, COLORREF& colour);
// The window's place on the screen (its last place once destroyed).
POINT windowPosition();
POINT windowDevicePosition();
std::string windowTitle();
SIZE windowSize();
int presentCount();
// The rows [first, second) of the window that the last copy to it changed;
// equal when it changed none.
std::pair<int, int> lastPresentedRows();
int frameSleeps();  // calls of Sleep so far
bool windowMinimized();
const std::vector<MessageBoxRecord>& messageBoxes();
bool messageBoxOpen();
bool timedOut();

}  // namespace layer::headless
