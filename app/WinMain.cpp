#include <windows.h>

#include "AppState.h"
#include "ControlPanel.h"
#include "MainWindow.h"
#include "Skin.h"

// Start-up, then the message loop: a frame runs whenever no message is
// waiting while the program is running. With no window there is nothing to
// show or close, so the program ends at once instead of polling forever.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    AppState::instance = hInstance;
    if (!createMainWindow(hInstance)) return 1;
    bool skinReady = initSkin();
    buildControls();
    if (skinReady) AppState::runState = AppState::running;
    AppState::clock.start();

    MSG message;
    for (;;) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return int(message.wParam);
            TranslateMessage(&message);
            DispatchMessageA(&message);
        } else if (AppState::runState == AppState::running) {
            runFrame();
        }
    }
}
