#pragma once

#include <windows.h>

// The window procedure: left-button messages become pointer routing, and
// WM_CLOSE the shutdown sequence.
LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// One frame: compose it at the clock's time, then sleep until the next.
void runFrame();

// Registers the class and creates the centred popup window; false when
// either is refused.
bool createMainWindow(HINSTANCE instance);

// Where the window's left edge goes for a screen this wide (or its top for
// a screen this high): centred, halving the difference rounding down.
constexpr int centredOrigin(int screenExtent, int windowExtent) { return (screenExtent - windowExtent) >> 1; }

constexpr const char windowClassName[] = "MoxWin";
constexpr const char windowTitle[] = "Brisko Zerazadud";
constexpr DWORD frameDelayMs = 20;
