// user32: window classes, the window, its messages and its device contexts,
// the caption move and the message box.
#include <windows.h>

#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "Debug.h"
#include "DeviceContext.h"
#include "DevicePixels.h"
#include "Layer.h"
#include "RectArithmetic.h"
#include "Surfaces.h"
#include "Window.h"

using layer::BackendEvent;
using layer::Creation;
using layer::DeviceContext;
using layer::Layer;
using layer::Window;

namespace {

layer::WindowClass* findClass(const char* name) {
    for (auto& windowClass : Layer::get().classes)
        if (strcasecmp(windowClass.name.c_str(), name) == 0) return &windowClass;
    return nullptr;
}

LRESULT send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* target = Layer::get().window(window);
    if (!target || !target->procedure) return 0;
    return target->procedure(window, message, wParam, lParam);
}

DWORD messageTime() {
    layer::Backend& backend = Layer::get().backend();
    LONGLONG frequency = backend.counterFrequency();
    return frequency > 0 ? DWORD(backend.counter() / (frequency / 1000 > 0 ? frequency / 1000 : 1)) : 0;
}

// Pointer moves coalesce as on Windows: a move still waiting in the queue
// is replaced by the newer one, so fast movement never floods the queue.
void post(HWND window, UINT message, WPARAM wParam, LPARAM lParam, POINT point) {
    MSG msg{window, message, wParam, lParam, messageTime(), point};
    auto& queue = Layer::get().posted;
    if (message == WM_MOUSEMOVE && !queue.empty() && queue.back().message == WM_MOUSEMOVE &&
        queue.back().hwnd == window && queue.back().wParam == wParam) {
        queue.back() = msg;
        return;
    }
    queue.push_back(msg);
}

int deviceScale() { return Layer::get().backend().scale(); }

POINT cursorInProgramPixels() { return layer::toProgramPixels(Layer::get().backend().cursorPosition(), deviceScale()); }

// The window behind a handle of the live list, if it is on the screen.
Window* shownWindow(HWND handle) {
    Window* window = Layer::get().window(handle);
    return window && window->visible ? window : nullptr;
}

// Why CreateWindowExA refused, kept for whoever decides what the refusal
// means to the program's user (see ProgramEntry), and traced.
void refuse(const char* why) {
    Layer::get().windowRefusal = why;
    LAYER_TRACE(Window, "CreateWindowExA refused: %s", why);
}

// The messages CreateWindowExA sends, in Windows' order: WM_CREATE, the
// window's size and place, and for a visible window WM_SHOWWINDOW and
// WM_ACTIVATE. The procedure may destroy the window in any of them, so the
// window is looked up again after each; false when it is gone or refused its
// creation (WM_CREATE gave -1).
bool sendCreationMessages(HWND handle) {
    Layer& layer = Layer::get();
    if (send(handle, WM_CREATE, 0, 0) == -1) return false;
    Window* window = layer.window(handle);
    if (!window) return false;
    send(handle, WM_SIZE, 0, MAKELPARAM(window->width, window->height));
    if (!(window = layer.window(handle))) return false;
    send(handle, WM_MOVE, 0, MAKELPARAM(window->x, window->y));
    if (!(window = layer.window(handle))) return false;
    if (!window->visible) return true;
    send(handle, WM_SHOWWINDOW, TRUE, 0);
    if (!layer.window(handle)) return false;
    send(handle, WM_ACTIVATE, 1, 0);
    return layer.window(handle) != nullptr;
}

// The program hears of the move only when its own coordinates change.
void moveWindowTo(HWND handle, Window& window, int deviceX, int deviceY) {
    if (window.deviceX == deviceX && window.deviceY == deviceY) return;
    window.deviceX = deviceX;
    window.deviceY = deviceY;
    int scale = deviceScale();
    int x = layer::toProgramPixels(deviceX, scale);
    int y = layer::toProgramPixels(deviceY, scale);
    bool moved = x != window.x || y != window.y;
    window.x = x;
    window.y = y;
    Layer::get().backend().place(window);
    if (moved) send(handle, WM_MOVE, 0, MAKELPARAM(x, y));
}

// Windows' own move loop takes the pointer messages that wait in the queue:
// they belong to the move, not to the window.
void dropPointerMessages(HWND handle) {
    std::erase_if(Layer::get().posted, [&](const MSG& msg) {
        return msg.hwnd == handle && (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP);
    });
}

// The modal move a press on the caption starts: the window follows the
// pointer until the left button comes up; that release is the loop's own and
// never reaches the window. The move is anchored at the press, as on Windows,
// and first catches up with whatever the pointer did since (the program may
// get to the press a frame or more after it happened, and a fast pointer may
// have moved, or even let go, by then). It counts in device pixels, so that
// the window follows the pointer exactly on a scaled screen too. Every call
// into the window procedure may destroy the window, so it is looked up again
// after each.
void captionMoveLoop(HWND handle) {
    Layer& layer = Layer::get();
    Window* window = layer.window(handle);
    std::vector<BackendEvent> since = std::move(layer.sincePress);
    layer.sincePress.clear();
    bool released = std::any_of(since.begin(), since.end(),
                                [](const BackendEvent& e) { return e.type == BackendEvent::Type::PointerUp; });
    if (!window || (!layer.leftButtonHeld && !released)) return;
    dropPointerMessages(handle);
    const POINT press = layer.pressPosition;
    if (!released && layer.backend().moveByDesktop(*window, press)) {
        layer.leftButtonHeld = false;
        return;
    }
    const int originX = window->deviceX;
    const int originY = window->deviceY;
    auto follow = [&](const BackendEvent& event) {
        if (Window* moving = layer.window(handle))
            moveWindowTo(handle, *moving, originX + event.screenX - press.x, originY + event.screenY - press.y);
        return layer.window(handle) != nullptr;
    };
    for (const BackendEvent& event : since) {
        if (!follow(event) || event.type == BackendEvent::Type::PointerUp) {
            layer.leftButtonHeld = false;
            return;
        }
    }
    BackendEvent event;
    while (layer.backend().nextEvent(event, true)) {
        switch (event.type) {
            case BackendEvent::Type::PointerMove:
                if (!follow(event)) {
                    layer.leftButtonHeld = false;
                    return;
                }
                break;
            case BackendEvent::Type::PointerUp:
                follow(event);
                layer.leftButtonHeld = false;
                return;
            case BackendEvent::Type::CloseRequest:
            case BackendEvent::Type::DisplayLost:
                layer.leftButtonHeld = false;
                layer::deliverEvent(event);
                return;
            case BackendEvent::Type::WindowMoved:
            case BackendEvent::Type::Restore:
                layer::deliverEvent(event);
                if (!layer.window(handle)) {
                    layer.leftButtonHeld = false;
                    return;
                }
                break;
            default:
                break;
        }
    }
    layer.leftButtonHeld = false;
}

// What the move a press may start needs to know of the pointer: where the
// press was and what the pointer did after it (a run of moves counts as its
// last one).
void recordForMove(const BackendEvent& event) {
    using Type = BackendEvent::Type;
    Layer& layer = Layer::get();
    if (event.type == Type::PointerDown) {
        layer.pressPosition = POINT{event.screenX, event.screenY};
        layer.sincePress.clear();
        return;
    }
    if (!layer.leftButtonHeld || (event.type != Type::PointerMove && event.type != Type::PointerUp)) return;
    auto& since = layer.sincePress;
    if (event.type == Type::PointerMove && !since.empty() && since.back().type == Type::PointerMove)
        since.back() = event;
    else
        since.push_back(event);
}

HWND handleOf(const Window* window) {
    for (HWND handle : Layer::get().windows)
        if (Layer::get().window(handle) == window) return handle;
    return nullptr;
}

// The desktop put the window somewhere (perhaps not where the layer asked):
// from now on that is where it is.
void followDesktop(const BackendEvent& event) {
    HWND handle = handleOf(event.window);
    if (!handle) return;
    Window& window = *event.window;
    window.deviceX = event.screenX;
    window.deviceY = event.screenY;
    int scale = deviceScale();
    int x = layer::toProgramPixels(event.screenX, scale);
    int y = layer::toProgramPixels(event.screenY, scale);
    if (x == window.x && y == window.y) return;
    window.x = x;
    window.y = y;
    send(handle, WM_MOVE, 0, MAKELPARAM(x, y));
}

}  // namespace

namespace layer {

// The window under the pointer gets the message only when the point lies
// inside it and inside its region; nothing captures the mouse. Where the
// desktop says which window a pointer event is for, only that window can
// take it, at the place the desktop gives.
void deliverEvent(const BackendEvent& event) {
    Layer& layer = Layer::get();
    using Type = BackendEvent::Type;
    recordForMove(event);
    if (event.type == Type::PointerDown) Layer::get().leftButtonHeld = true;
    if (event.type == Type::PointerUp) Layer::get().leftButtonHeld = false;
    // With its display gone the program can only end; it ends through its
    // own close, like on a close request, so that it lets go of what it holds.
    if (event.type == Type::DisplayLost) layer.displayLost = true;
    if (event.type == Type::WindowMoved) {
        followDesktop(event);
        return;
    }

    int scale = layer.backend().scale();
    for (HWND handle : layer.windows) {
        Window* window = shownWindow(handle);
        if (!window) continue;
        if (event.type == Type::CloseRequest || event.type == Type::DisplayLost) {
            post(handle, WM_CLOSE, 0, 0, POINT{});
            continue;
        }
        if (event.type == Type::Restore) {
            window->minimized = false;
            continue;
        }
        if (event.type == Type::DismissBox || (event.window && event.window != window)) continue;
        int x = toProgramPixels(event.window ? event.windowX : event.screenX - window->deviceX, scale);
        int y = toProgramPixels(event.window ? event.windowY : event.screenY - window->deviceY, scale);
        if (!window->accepts(x, y)) continue;
        POINT point = toProgramPixels(POINT{event.screenX, event.screenY}, scale);
        if (event.type == Type::PointerMove)
            post(handle, WM_MOUSEMOVE, (Layer::get().leftButtonHeld ? MK_LBUTTON : 0) | event.modifiers,
                 MAKELPARAM(x, y), point);
        else if (event.type == Type::PointerDown)
            post(handle, WM_LBUTTONDOWN, MK_LBUTTON | event.modifiers, MAKELPARAM(x, y), point);
        else
            post(handle, WM_LBUTTONUP, event.modifiers, MAKELPARAM(x, y), point);
    }
}

bool pumpModal() {
    Layer& layer = Layer::get();
    while (!layer.posted.empty()) {
        MSG msg = layer.posted.front();
        layer.posted.pop_front();
        DispatchMessageA(&msg);
    }
    return !layer.quitPosted;
}

}  // namespace layer

extern "C" {

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* windowClass) {
    Layer& layer = Layer::get();
    if (!windowClass || windowClass->cbSize != sizeof(WNDCLASSEXA) || !windowClass->lpfnWndProc ||
        !windowClass->lpszClassName || IS_INTRESOURCE(windowClass->lpszClassName))
        return 0;
    if (findClass(windowClass->lpszClassName) || layer.shouldFail(Creation::WindowClass)) return 0;
    layer.classes.push_back({windowClass->lpszClassName, windowClass->lpfnWndProc, windowClass->hInstance});
    return ATOM(0xC000 + layer.classes.size() - 1);
}

HWND WINAPI CreateWindowExA(DWORD, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                            int height, HWND, HMENU, HINSTANCE instance, LPVOID) {
    Layer& layer = Layer::get();
    layer::WindowClass* windowClass = className && !IS_INTRESOURCE(className) ? findClass(className) : nullptr;
    if (!windowClass) {
        refuse("its window class is not registered");
        return nullptr;
    }
    // An empty window is a window; one larger than any screen is refused,
    // as a surface that size could not be allocated.
    if (width < 0 || height < 0 || width > 0x4000 || height > 0x4000) {
        refuse("the size asked for is not one a window can have");
        return nullptr;
    }
    auto window = std::make_unique<Window>(width, height);
    Window& created = *window;
    created.className = windowClass->name;
    created.title = windowName ? windowName : "";
    created.style = style;
    created.x = x;
    created.y = y;
    created.deviceX = layer::scaledCoordinate(x, deviceScale());
    created.deviceY = layer::scaledCoordinate(y, deviceScale());
    created.procedure = windowClass->procedure;
    created.instance = instance;
    created.visible = (style & WS_VISIBLE) != 0;
    created.needsPaint = created.visible;
    HWND handle = layer.create<HWND>(Creation::Window, std::move(window));
    if (!handle) {
        refuse("the system refused to create it");
        return nullptr;
    }
    std::string whyNot;
    if (created.visible && !layer.backend().showWindow(created, whyNot)) {
        refuse(whyNot.c_str());
        layer.objects.remove(Layer::value(handle));
        return nullptr;
    }
    layer.windows.push_back(handle);
    if (!sendCreationMessages(handle)) {
        LAYER_TRACE(Window, "CreateWindowExA: the window procedure refused or destroyed window %p", (void*)handle);
        DestroyWindow(handle);  // nothing, when the procedure destroyed it itself
        return nullptr;
    }
    layer.windowOpened = true;
    return handle;
}

BOOL WINAPI DestroyWindow(HWND handle) {
    Layer& layer = Layer::get();
    Window* window = layer.window(handle);
    if (!window || window->destroying) return FALSE;
    window->destroying = true;
    send(handle, WM_DESTROY, 0, 0);
    layer.backend().hideWindow(*window);
    std::erase_if(layer.posted, [&](const MSG& msg) { return msg.hwnd == handle; });
    std::erase(layer.windows, handle);
    layer.objects.remove(Layer::value(handle));
    return TRUE;
}

BOOL WINAPI CloseWindow(HWND handle) {
    Layer& layer = Layer::get();
    Window* window = layer.window(handle);
    if (!window) return FALSE;
    window->minimized = true;
    layer.backend().minimize(*window);
    return TRUE;
}

BOOL WINAPI IsWindow(HWND handle) { return Layer::get().window(handle) != nullptr; }

BOOL WINAPI IsIconic(HWND handle) {
    Window* window = Layer::get().window(handle);
    return window && window->minimized;
}

BOOL WINAPI GetWindowRect(HWND handle, LPRECT rect) {
    Window* window = Layer::get().window(handle);
    if (!window || !rect) return FALSE;
    *rect = layer::rectAt(window->x, window->y, window->width, window->height);
    return TRUE;
}

int WINAPI GetWindowTextA(HWND handle, LPSTR text, int maxCount) {
    Window* window = Layer::get().window(handle);
    if (!window || !text || maxCount <= 0) return 0;
    std::size_t length = std::min<std::size_t>(window->title.size(), std::size_t(maxCount - 1));
    std::memcpy(text, window->title.data(), length);
    text[length] = '\0';
    return int(length);
}

LRESULT WINAPI DefWindowProcA(HWND handle, UINT message, WPARAM wParam, LPARAM) {
    Window* window = Layer::get().window(handle);
    if (!window) return 0;
    switch (message) {
        case WM_PAINT:
            window->needsPaint = false;
            return 0;
        case WM_CLOSE:
            DestroyWindow(handle);
            return 0;
        case WM_NCLBUTTONDOWN:
            if (wParam == HTCAPTION) captionMoveLoop(handle);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        default:
            return 0;
    }
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return send(window, message, wParam, lParam);
}

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window && !Layer::get().window(window)) {
        LAYER_TRACE(Message, "PostMessageA: %p is no window (message %04x)", (void*)window, message);
        return FALSE;
    }
    post(window, message, wParam, lParam, cursorInProgramPixels());
    return TRUE;
}

namespace {

// A message passes the filter when it is in [first, last]; 0 and 0 pass all.
bool inFilter(UINT message, UINT first, UINT last) {
    if (first == 0 && last == 0) return true;
    return message >= first && message <= last;
}

}  // namespace

// Order as on Windows: posted messages (input included, in arrival order),
// then WM_QUIT, then WM_PAINT for a window that still needs painting. The
// window and the message range filter all but WM_QUIT, which comes
// whatever the range.
BOOL WINAPI PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT removeMessage) {
    Layer& layer = Layer::get();
    if (!message) return FALSE;
    BackendEvent event;
    while (layer.backend().nextEvent(event, false)) layer::deliverEvent(event);

    for (auto it = layer.posted.begin(); it != layer.posted.end(); ++it) {
        if ((window && it->hwnd != window) || !inFilter(it->message, filterMin, filterMax)) continue;
        *message = *it;
        if (removeMessage & PM_REMOVE) layer.posted.erase(it);
        return TRUE;
    }
    if (layer.quitPosted) {
        *message = MSG{nullptr, WM_QUIT, WPARAM(layer.quitCode), 0, messageTime(), POINT{}};
        if (removeMessage & PM_REMOVE) layer.quitPosted = false;
        return TRUE;
    }
    if (inFilter(WM_PAINT, filterMin, filterMax)) {
        for (HWND handle : layer.windows) {
            Window* painted = shownWindow(handle);
            if (painted && painted->needsPaint && (!window || window == handle)) {
                *message = MSG{handle, WM_PAINT, 0, 0, messageTime(), POINT{}};
                return TRUE;
            }
        }
    }
    layer.backend().idle();
    return FALSE;
}

BOOL WINAPI TranslateMessage(const MSG*) { return FALSE; }

LRESULT WINAPI DispatchMessageA(const MSG* message) {
    if (!message || !message->hwnd) return 0;
    return send(message->hwnd, message->message, message->wParam, message->lParam);
}

void WINAPI PostQuitMessage(int exitCode) {
    Layer& layer = Layer::get();
    layer.quitPosted = true;
    layer.quitCode = layer.displayLost ? layer::displayLostExitCode : exitCode;
}

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
    return !instance && name == IDI_APPLICATION ? Layer::get().stockIcon : nullptr;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
    return !instance && name == IDC_ARROW ? Layer::get().stockCursor : nullptr;
}

int WINAPI GetSystemMetrics(int index) {
    // As Windows tells a program that knows nothing of the screen's density.
    SIZE screen = Layer::get().backend().screenSize();
    int scale = deviceScale();
    if (index == SM_CXSCREEN) return screen.cx / scale;
    if (index == SM_CYSCREEN) return screen.cy / scale;
    return 0;
}

BOOL WINAPI GetCursorPos(LPPOINT point) {
    if (!point) return FALSE;
    *point = cursorInProgramPixels();
    return TRUE;
}

HDC WINAPI GetDC(HWND handle) {
    Layer& layer = Layer::get();
    if (handle && !layer.window(handle)) return nullptr;
    auto dc = std::make_unique<DeviceContext>(handle ? DeviceContext::Kind::Window : DeviceContext::Kind::Screen);
    dc->window = handle;
    return layer.create<HDC>(Creation::DeviceContext, std::move(dc));
}

// Any DC that GetDC gave goes back, whichever window is named with it (as
// Windows, which finds the DC's window itself); its fonts and brushes go
// back with it.
int WINAPI ReleaseDC(HWND, HDC dcHandle) {
    Layer& layer = Layer::get();
    DeviceContext* dc = layer.dc(dcHandle);
    if (!dc || !dc->fromGetDC()) return 0;
    layer::releaseSelections(*dc);
    layer.objects.remove(Layer::value(dcHandle));
    return 1;
}

HDC WINAPI BeginPaint(HWND handle, LPPAINTSTRUCT paint) {
    Window* window = Layer::get().window(handle);
    if (!window || !paint) return nullptr;
    window->needsPaint = false;
    std::memset(paint, 0, sizeof *paint);
    paint->hdc = GetDC(handle);
    paint->rcPaint = RECT{0, 0, window->width, window->height};
    return paint->hdc;
}

BOOL WINAPI EndPaint(HWND handle, const PAINTSTRUCT* paint) {
    if (!paint) return FALSE;
    ReleaseDC(handle, paint->hdc);
    return TRUE;
}

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    return Layer::get().backend().messageBox(owner, text ? text : "", caption ? caption : "Error", type);
}

}  // extern "C"
