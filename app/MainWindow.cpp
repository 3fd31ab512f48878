#include "MainWindow.h"

#include "../widgets/PointerRouting.h"
#include "AppState.h"
#include "ControlPanel.h"
#include "FrameComposer.h"
#include "Skin.h"

namespace {

uint16_t clientX(LPARAM lParam) { return uint16_t(lParam & 0xFFFF); }
uint16_t clientY(LPARAM lParam) { return uint16_t((lParam >> 16) & 0xFFFF); }

// No frame may run once the surfaces are released, so the state changes first.
void shutDown(HWND hwnd) {
    AppState::runState = AppState::closing;
    releaseSkin();
    DestroyWindow(hwnd);
}

}  // namespace

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_MOVE:
        case WM_ACTIVATE:
            return 0;
        case WM_CLOSE:
            shutDown(hwnd);
            return 0;
        case WM_MOUSEMOVE:
            // Moves with Shift, Ctrl or another button held are not drags.
            if (wParam != MK_LBUTTON) return DefWindowProcA(hwnd, message, wParam, lParam);
            dragAt(clientX(lParam), clientY(lParam));
            return 0;
        case WM_LBUTTONDOWN:
            pressAt(clientX(lParam), clientY(lParam));
            return 0;
        case WM_LBUTTONUP:
            releaseAt(clientX(lParam), clientY(lParam));
            return 0;
        default:
            return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

void runFrame() {
    int64_t t = AppState::clock.elapsedMs();
    composeFrame(uint32_t(uint64_t(t)));
    Sleep(frameDelayMs);
}

bool createMainWindow(HINSTANCE hInstance) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = windowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = hInstance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    // A null brush: the client area is never erased, every pixel comes from the frames.
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = windowClassName;
    windowClass.hIconSm = windowClass.hIcon;
    // A refused registration shows as the window that cannot be created.
    RegisterClassExA(&windowClass);

    int y = centredOrigin(GetSystemMetrics(SM_CYSCREEN), windowHeight);
    int x = centredOrigin(GetSystemMetrics(SM_CXSCREEN), windowWidth);
    AppState::window = CreateWindowExA(0, windowClassName, windowTitle, WS_POPUP | WS_VISIBLE, x, y, windowWidth,
                                       windowHeight, nullptr, nullptr, hInstance, nullptr);
    return AppState::window != nullptr;
}
