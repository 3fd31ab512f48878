// Messages: SendMessage, PostMessage and PeekMessage with its filters and
// removal flags, and WM_QUIT and WM_PAINT among the posted messages.
#include <cstring>
#include <vector>

#include "Check.h"
#include "Fixtures.h"

using conformance::recordedMessages;
using conformance::recordingClass;
using conformance::recordingReaction;

namespace {

HWND createPopup(DWORD style) {
    conformance::registerRecordingClass();
    return CreateWindowExA(0, recordingClass, "Messages", style, 0, 0, 30, 30, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

HWND createHidden() { return createPopup(WS_POPUP); }

LRESULT answeringReaction(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER + 1) return LRESULT(wParam * 10 + lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

// The next message for the thread in [first, last], or 0.
UINT peek(UINT first, UINT last, UINT removal, HWND window = nullptr) {
    MSG message;
    return PeekMessageA(&message, window, first, last, removal) ? message.message : 0;
}

}  // namespace

TEST_CASE(send_message, nullptr) {
    HWND window = createHidden();
    recordingReaction = answeringReaction;
    ok(SendMessageA(window, WM_USER + 1, 4, 2) == 42, "SendMessageA did not return the procedure's answer");
    recordingReaction = nullptr;
    ok(SendMessageA(nullptr, WM_USER + 1, 4, 2) == 0, "SendMessageA to no window answered");
    recordedMessages.clear();
    MSG message;
    ok(!PeekMessageA(&message, nullptr, WM_USER + 1, WM_USER + 1, PM_NOREMOVE), "a sent message was queued");
    DestroyWindow(window);
}

TEST_CASE(peek_message_filters, nullptr) {
    HWND window = createHidden(), other = createHidden();
    conformance::drainMessages();
    PostMessageA(window, 0x401, 1, 0);
    PostMessageA(window, 0x405, 5, 0);
    ok(peek(0x405, 0x405, PM_NOREMOVE) == 0x405, "a filter of 0x405..0x405 did not find 0x405");
    ok(peek(0x405, 0x405, PM_REMOVE) == 0x405, "PM_NOREMOVE took the message away");
    ok(peek(0x405, 0x405, PM_REMOVE) == 0, "PM_REMOVE left the message");
    ok(peek(0x402, 0x404, PM_REMOVE) == 0, "a filter between the messages found one");
    ok(peek(0x400, 0x401, PM_REMOVE) == 0x401, "the message left below the filter is gone");
    ok(peek(0, 0, PM_REMOVE) == 0, "the queue is not empty");

    // The order of posting, whatever the filter; a window filter sees only its own.
    PostMessageA(window, 0x403, 0, 0);
    PostMessageA(other, 0x402, 0, 0);
    PostMessageA(window, 0x401, 0, 0);
    ok(peek(0x401, 0x403, PM_REMOVE, other) == 0x402, "a window filter found another's message");
    ok(peek(0x401, 0x403, PM_REMOVE) == 0x403, "messages are not taken in the order posted");
    ok(peek(0, 0, PM_REMOVE, window) == 0x401, "the window's own message is gone");

    // Messages posted to no window are the thread's.
    ok(PostMessageA(nullptr, 0x404, 9, 0), "posting to the thread failed");
    MSG message;
    ok(PeekMessageA(&message, nullptr, 0x404, 0x404, PM_REMOVE) && message.hwnd == nullptr && message.wParam == 9,
       "the thread's message came as %p, %u", message.hwnd, unsigned(message.wParam));
    ok(DispatchMessageA(&message) == 0, "a thread message was dispatched to a window");
    ok(!PostMessageA(reinterpret_cast<HWND>(uintptr_t(0x4321)), 0x404, 0, 0), "posting to no window succeeded");
    DestroyWindow(window);
    DestroyWindow(other);
}

TEST_CASE(quit_message, "dlls/user32/tests/msg.c: test_quit_message") {
    HWND window = createHidden();
    conformance::drainMessages();
    PostQuitMessage(3);
    PostMessageA(window, 0x410, 0, 0);
    MSG message;
    // Posted messages first; WM_QUIT once none is left, whatever the
    // filter, and only PM_REMOVE takes it away.
    ok(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) && message.message == 0x410,
       "WM_QUIT came before a message posted after it: %04x", message.message);
    ok(peek(0x400, 0x500, PM_NOREMOVE) == WM_QUIT, "a filter kept WM_QUIT back");
    ok(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE) && message.message == WM_QUIT && message.wParam == 3,
       "no WM_QUIT with the exit code: %04x %u", message.message, unsigned(message.wParam));
    ok(message.hwnd == nullptr, "WM_QUIT is for a window");
    ok(peek(WM_QUIT, WM_QUIT, PM_REMOVE) == WM_QUIT, "PM_NOREMOVE took WM_QUIT away");
    ok(peek(0, 0, PM_REMOVE) == 0, "WM_QUIT came twice");
    DestroyWindow(window);
}

TEST_CASE(paint_message, "dlls/user32/tests/msg.c: test_paint_messages") {
    HWND window = createPopup(WS_POPUP | WS_VISIBLE);
    // Whatever the creation posted; a shown window still needs painting.
    MSG pending;
    while (PeekMessageA(&pending, nullptr, 0, WM_PAINT - 1, PM_REMOVE)) DispatchMessageA(&pending);
    while (PeekMessageA(&pending, nullptr, WM_PAINT + 1, 0xFFFF, PM_REMOVE)) DispatchMessageA(&pending);
    PostMessageA(window, 0x420, 0, 0);
    // A posted message comes before the window's WM_PAINT.
    ok(peek(0, 0, PM_REMOVE) == 0x420, "WM_PAINT came before a posted message");
    ok(peek(0x400, 0x500, PM_REMOVE) == 0, "a filter without WM_PAINT found a message");
    MSG message;
    ok(PeekMessageA(&message, window, WM_PAINT, WM_PAINT, PM_REMOVE) && message.message == WM_PAINT,
       "a shown window needs no painting");
    // WM_PAINT stays until the window is painted.
    ok(peek(WM_PAINT, WM_PAINT, PM_REMOVE, window) == WM_PAINT, "WM_PAINT went before the painting");
    DispatchMessageA(&message);
    ok(peek(WM_PAINT, WM_PAINT, PM_REMOVE, window) == 0, "WM_PAINT came again after the painting");
    DestroyWindow(window);
}
