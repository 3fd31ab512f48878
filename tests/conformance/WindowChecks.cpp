// Windows: classes, creation and its message sequence, a window destroyed by
// its own procedure while it is being created, destruction, the window's
// region, and its device contexts.
#include <cstring>
#include <vector>

#include "Check.h"
#include "Fixtures.h"

using conformance::recordedAmong;
using conformance::recordedMessages;
using conformance::recordingClass;
using conformance::recordingReaction;

namespace {

HWND createRecorded(DWORD style, int x = 40, int y = 50, int width = 120, int height = 90) {
    conformance::registerRecordingClass();
    recordedMessages.clear();
    return CreateWindowExA(0, recordingClass, "Recorded", style, x, y, width, height, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

const char* messageName(UINT message) {
    switch (message) {
        case WM_CREATE:
            return "CREATE";
        case WM_SIZE:
            return "SIZE";
        case WM_MOVE:
            return "MOVE";
        case WM_SHOWWINDOW:
            return "SHOWWINDOW";
        case WM_ACTIVATE:
            return "ACTIVATE";
        case WM_DESTROY:
            return "DESTROY";
        default:
            return "other";
    }
}

const char* sequence(const std::vector<UINT>& messages) {
    static char buffer[256];
    buffer[0] = '\0';
    for (UINT m : messages) {
        if (buffer[0]) std::strncat(buffer, ", ", sizeof buffer - std::strlen(buffer) - 1);
        std::strncat(buffer, messageName(m), sizeof buffer - std::strlen(buffer) - 1);
    }
    return buffer;
}

const std::vector<UINT> creationMessages = {WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW, WM_ACTIVATE};

// Destroys the window the first time it hears `destroyOn`.
UINT destroyOn = 0;
LRESULT destroyingReaction(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == destroyOn) {
        destroyOn = 0;
        DestroyWindow(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT refusingReaction(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) return -1;
    return DefWindowProcA(window, message, wParam, lParam);
}

LPARAM sizeSent = 0, moveSent = 0;
LRESULT positionReaction(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SIZE) sizeSent = lParam;
    if (message == WM_MOVE) moveSent = lParam;
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

TEST_CASE(window_classes, nullptr) {
    WNDCLASSEXA windowClass;
    std::memset(&windowClass, 0, sizeof windowClass);
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "ConformanceClassOnce";
    ok(RegisterClassExA(&windowClass) != 0, "RegisterClassExA failed");
    ok(RegisterClassExA(&windowClass) == 0, "a class was registered twice");
    windowClass.lpszClassName = "CONFORMANCECLASSONCE";
    ok(RegisterClassExA(&windowClass) == 0, "class names are not case-blind");
    windowClass.cbSize = sizeof windowClass - 1;
    windowClass.lpszClassName = "ConformanceClassBadSize";
    ok(RegisterClassExA(&windowClass) == 0, "a class with the wrong cbSize was registered");
    ok(CreateWindowExA(0, "ConformanceNoSuchClass", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                       GetModuleHandleA(nullptr), nullptr) == nullptr,
       "a window of an unregistered class was made");
}

TEST_CASE(creation_sequence, "dlls/user32/tests/msg.c: WmCreatePopupSeq") {
    HWND visible = createRecorded(WS_POPUP | WS_VISIBLE);
    ok(visible != nullptr, "a visible popup was not made");
    std::vector<UINT> seen = recordedAmong(creationMessages);
    ok(seen == creationMessages, "a visible popup's creation: %s", sequence(seen));
    DestroyWindow(visible);

    HWND hidden = createRecorded(WS_POPUP);
    std::vector<UINT> expected = {WM_CREATE, WM_SIZE, WM_MOVE};
    seen = recordedAmong(creationMessages);
    ok(seen == expected, "a hidden popup's creation: %s", sequence(seen));
    DestroyWindow(hidden);

    recordingReaction = positionReaction;
    HWND placed = createRecorded(WS_POPUP, 40, 50, 120, 90);
    ok(sizeSent == MAKELPARAM(120, 90), "WM_SIZE carried %dx%d", LOWORD(sizeSent), HIWORD(sizeSent));
    ok(moveSent == MAKELPARAM(40, 50), "WM_MOVE carried (%d, %d)", LOWORD(moveSent), HIWORD(moveSent));
    recordingReaction = nullptr;
    RECT rect{};
    ok(GetWindowRect(placed, &rect) && rect.left == 40 && rect.top == 50 && rect.right == 160 && rect.bottom == 140,
       "the window is at (%ld,%ld)-(%ld,%ld)", long(rect.left), long(rect.top), long(rect.right), long(rect.bottom));
    char title[16] = "";
    ok(GetWindowTextA(placed, title, sizeof title) == 8 && std::strcmp(title, "Recorded") == 0, "its title is \"%s\"",
       title);
    ok(GetWindowTextA(placed, title, 4) == 3 && std::strcmp(title, "Rec") == 0, "its title cut to 3 is \"%s\"", title);
    DestroyWindow(placed);
}

TEST_CASE(empty_window, nullptr) {
    HWND empty = createRecorded(WS_POPUP | WS_VISIBLE, 10, 10, 0, 0);
    ok(empty != nullptr, "a window of width and height 0 was not made");
    RECT rect{1, 1, 1, 1};
    ok(GetWindowRect(empty, &rect) && rect.right - rect.left == 0 && rect.bottom - rect.top == 0, "it is %ldx%ld",
       long(rect.right - rect.left), long(rect.bottom - rect.top));
    HDC dc = GetDC(empty);
    ok(dc != nullptr, "it has no DC");
    ReleaseDC(empty, dc);
    conformance::drainMessages();
    DestroyWindow(empty);
}

TEST_CASE(destroyed_while_created, nullptr) {
    // Destroyed before it is shown, the window is not returned. Destroyed
    // while it is being shown, it is dead whatever comes back (Wine hands
    // out the dead handle; the layer gives NULL).
    const struct {
        UINT message;
        bool returnsNull;
    } during[] = {{WM_CREATE, true}, {WM_SIZE, true}, {WM_MOVE, true}, {WM_SHOWWINDOW, false}, {WM_ACTIVATE, false}};
    for (const auto& c : during) {
        destroyOn = c.message;
        recordingReaction = destroyingReaction;
        HWND window = createRecorded(WS_POPUP | WS_VISIBLE);
        recordingReaction = nullptr;
        if (c.returnsNull)
            ok(window == nullptr, "a window destroyed during WM_%s was returned", messageName(c.message));
        ok(!IsWindow(window), "a window destroyed during WM_%s lives", messageName(c.message));
        ok(recordedAmong({WM_DESTROY}).size() == 1, "a window destroyed during WM_%s heard WM_DESTROY %d times",
           messageName(c.message), int(recordedAmong({WM_DESTROY}).size()));
    }
    recordingReaction = refusingReaction;
    HWND refused = createRecorded(WS_POPUP | WS_VISIBLE);
    recordingReaction = nullptr;
    ok(refused == nullptr, "a window whose WM_CREATE gave -1 was made");
    std::vector<UINT> seen = recordedAmong({WM_CREATE, WM_SHOWWINDOW, WM_ACTIVATE});
    ok(seen == std::vector<UINT>{WM_CREATE}, "after a refused WM_CREATE: %s", sequence(seen));
}

TEST_CASE(destruction, nullptr) {
    HWND window = createRecorded(WS_POPUP | WS_VISIBLE);
    conformance::drainMessages();
    recordedMessages.clear();
    ok(DestroyWindow(window), "DestroyWindow failed");
    ok(recordedAmong({WM_DESTROY}).size() == 1, "WM_DESTROY was sent %d times",
       int(recordedAmong({WM_DESTROY}).size()));
    ok(!IsWindow(window), "a destroyed window lives");
    ok(!DestroyWindow(window), "a window was destroyed twice");
    ok(!IsWindow(nullptr), "IsWindow(NULL)");
    RECT rect;
    ok(!GetWindowRect(window, &rect), "GetWindowRect of a destroyed window");
    ok(SendMessageA(window, WM_USER, 0, 0) == 0, "a message reached a destroyed window");

    // DefWindowProc's WM_CLOSE destroys the window.
    HWND closed = createRecorded(WS_POPUP);
    SendMessageA(closed, WM_CLOSE, 0, 0);
    ok(!IsWindow(closed), "WM_CLOSE left the window");

    // A window's posted messages go with it.
    HWND posting = createRecorded(WS_POPUP);
    PostMessageA(posting, WM_USER + 7, 0, 0);
    DestroyWindow(posting);
    MSG message;
    ok(!PeekMessageA(&message, nullptr, WM_USER + 7, WM_USER + 7, PM_REMOVE), "a dead window's message stayed queued");
}

TEST_CASE(window_region, nullptr) {
    HWND window = createRecorded(WS_POPUP, 0, 0, 50, 50);
    RECT rects[2] = {{0, 0, 10, 10}, {20, 0, 30, 5}};
    char block[sizeof(RGNDATAHEADER) + sizeof rects];
    RGNDATAHEADER header;
    std::memset(&header, 0, sizeof header);
    header.dwSize = sizeof header;
    header.iType = RDH_RECTANGLES;
    header.nCount = 2;
    std::memcpy(block, &header, sizeof header);
    std::memcpy(block + sizeof header, rects, sizeof rects);
    HRGN region = ExtCreateRegion(nullptr, sizeof block, reinterpret_cast<const RGNDATA*>(block));
    HRGN copy = ExtCreateRegion(nullptr, sizeof block, reinterpret_cast<const RGNDATA*>(block));
    ok(SetWindowRgn(window, region, FALSE) != 0, "SetWindowRgn failed");
    // The window owns the region from now on.
    ok(GetRegionData(region, 0, nullptr) == 0, "the region still answers to its handle after SetWindowRgn");
    ok(GetWindowRgn(window, copy) == COMPLEXREGION, "GetWindowRgn does not give a complex region");
    ok(PtInRegion(copy, 25, 2) && !PtInRegion(copy, 15, 2), "GetWindowRgn gave another region");
    ok(SetWindowRgn(nullptr, nullptr, FALSE) == 0, "SetWindowRgn without a window");
    ok(SetWindowRgn(window, nullptr, FALSE) != 0, "taking the region away failed");
    ok(GetWindowRgn(window, copy) == ERROR, "a window without a region has one");
    DeleteObject(copy);
    DestroyWindow(window);
}

TEST_CASE(window_dcs, nullptr) {
    HWND window = createRecorded(WS_POPUP, 0, 0, 20, 20);
    HDC dc = GetDC(window);
    ok(dc != nullptr, "GetDC failed");
    ok(ReleaseDC(window, dc) == 1, "ReleaseDC failed");
    HDC other = GetDC(window);
    // The DC knows its window: the one named with it does not matter.
    ok(ReleaseDC(nullptr, other) == 1, "a window's DC released with no window named");
    ok(ReleaseDC(window, other) == 0, "a DC was released twice");
    HDC memory = CreateCompatibleDC(nullptr);
    ok(ReleaseDC(nullptr, memory) == 0, "a memory DC was released");
    ok(DeleteDC(memory), "a memory DC cannot be deleted");
    PAINTSTRUCT paint;
    HDC painting = BeginPaint(window, &paint);
    ok(painting != nullptr && paint.hdc == painting, "BeginPaint gave no DC");
    ok(EndPaint(window, &paint), "EndPaint failed");
    DestroyWindow(window);
}
