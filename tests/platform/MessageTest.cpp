// The window and its messages: the order PeekMessageA hands them out in,
// messages sent at once, destruction and quitting, scripted pointer input
// turned into messages where the window and its region lie, and the modal
// move a press on the caption starts.
#include <cstdint>
#include <functional>
#include <optional>
#include <sstream>

#include "LayerTestSupport.h"

namespace {

constexpr UINT appMessage = 0x8000;  // WM_APP

struct Received {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<Received> received;
// What the window does besides recording; nothing set, or nullopt returned,
// leaves the message to DefWindowProcA.
std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)> reaction;

LRESULT CALLBACK recordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    received.push_back({window, message, wParam, lParam});
    if (reaction)
        if (std::optional<LRESULT> result = reaction(window, message, wParam, lParam)) return *result;
    return DefWindowProcA(window, message, wParam, lParam);
}

bool receivedMessage(UINT message) {
    for (const Received& r : received)
        if (r.message == message) return true;
    return false;
}

int clientX(LPARAM lParam) { return int16_t(LOWORD(lParam)); }
int clientY(LPARAM lParam) { return int16_t(HIWORD(lParam)); }

std::string describeButtons(WPARAM wParam) {
    std::string text;
    for (auto [flag, name] : {std::pair{WPARAM(MK_LBUTTON), "MK_LBUTTON"}, std::pair{WPARAM(MK_SHIFT), "MK_SHIFT"},
                              std::pair{WPARAM(MK_CONTROL), "MK_CONTROL"}})
        if (wParam & flag) text += (text.empty() ? "" : "|") + std::string(name);
    if (wParam & ~WPARAM(MK_LBUTTON | MK_SHIFT | MK_CONTROL)) text += "|other";
    return text.empty() ? "0" : text;
}

std::string describePointer(UINT message, WPARAM wParam, int x, int y) {
    std::ostringstream text;
    text << (message == WM_MOUSEMOVE     ? "move"
             : message == WM_LBUTTONDOWN ? "down"
             : message == WM_LBUTTONUP   ? "up"
                                         : "other")
         << "(" << describeButtons(wParam) << ") at (" << x << ", " << y << ")\n";
    return text.str();
}

// The pointer messages the window received, one line each.
std::string pointerMessages() {
    std::string text;
    for (const Received& r : received)
        if (r.message == WM_MOUSEMOVE || r.message == WM_LBUTTONDOWN || r.message == WM_LBUTTONUP)
            text += describePointer(r.message, r.wParam, clientX(r.lParam), clientY(r.lParam));
    return text;
}

class Messages : public LayerTest {
protected:
    void SetUp() override {
        LayerTest::SetUp();
        received.clear();
        reaction = nullptr;
        registerTestClass(recordingProcedure);
    }
    void TearDown() override {
        reaction = nullptr;
        LayerTest::TearDown();
    }

    // Polls and dispatches as a program's loop does, sleeping 5 ms whenever
    // the queue is empty, until the script has run out; the exit code if
    // WM_QUIT came first.
    static std::optional<WPARAM> runScript() {
        uint64_t end = layer::headless::scriptEndMs() + 20;
        while (layer::headless::nowMs() <= end) {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == WM_QUIT) return message.wParam;
                DispatchMessageA(&message);
            }
            Sleep(5);
        }
        return std::nullopt;
    }
};

TEST_F(Messages, PeekHandsOutPostedMessagesThenQuitThenPaint) {
    HWND window = createTestWindow(0, 0, 20, 20);
    received.clear();
    PostQuitMessage(3);
    ASSERT_TRUE(PostMessageA(window, appMessage + 1, 11, 0));
    ASSERT_TRUE(PostMessageA(window, appMessage + 2, 12, 0));

    MSG message{};
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(message.message, appMessage + 1) << "a look without removing";
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, appMessage + 1) << "is still first";
    EXPECT_EQ(message.hwnd, window);
    EXPECT_EQ(message.wParam, 11u);
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, appMessage + 2);
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, UINT(WM_QUIT)) << "posted before the others, the quit still comes after them";
    EXPECT_EQ(message.wParam, 3u) << "WM_QUIT carries the exit code";
    EXPECT_EQ(message.hwnd, nullptr);
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, UINT(WM_PAINT)) << "painting comes last";
    EXPECT_EQ(message.hwnd, window);
    EXPECT_TRUE(received.empty()) << "PeekMessageA dispatches nothing";

    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, UINT(WM_PAINT)) << "an unpainted window keeps asking to be painted";
    DispatchMessageA(&message);
    EXPECT_TRUE(receivedMessage(WM_PAINT));
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) << "DefWindowProcA painted it";
}

TEST_F(Messages, SendMessageRunsTheProcedureAtOnceAndReturnsItsResult) {
    HWND window = createTestWindow(0, 0, 20, 20, WS_POPUP);
    reaction = [](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == appMessage) return LRESULT(40 + wParam);
        return std::nullopt;
    };
    received.clear();
    EXPECT_EQ(SendMessageA(window, appMessage, 2, 0), 42);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].message, appMessage);
    EXPECT_EQ(received[0].window, window);
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) << "nothing went through the queue";
}

TEST_F(Messages, DestroyWindowSendsDestroyBeforeItReturns) {
    HWND window = createTestWindow(0, 0, 20, 20, WS_POPUP);
    std::optional<bool> aliveDuringDestroy;
    reaction = [&](HWND w, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_DESTROY) {
            aliveDuringDestroy = IsWindow(w) != FALSE;
            PostQuitMessage(7);
        }
        return std::nullopt;
    };
    ASSERT_TRUE(DestroyWindow(window));
    ASSERT_TRUE(aliveDuringDestroy.has_value()) << "WM_DESTROY came during DestroyWindow";
    EXPECT_TRUE(*aliveDuringDestroy) << "the window still exists while it handles WM_DESTROY";
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(DestroyWindow(window)) << "a window is destroyed once";
    MSG message{};
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, UINT(WM_QUIT));
    EXPECT_EQ(message.wParam, 7u);
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) << "the quit is handed out once";
}

TEST_F(Messages, TheSystemsCloseDestroysTheWindowThroughDefWindowProc) {
    HWND window = createTestWindow(0, 0, 20, 20);
    reaction = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_DESTROY) PostQuitMessage(9);
        return std::nullopt;
    };
    layer::headless::requestClose(40);
    EXPECT_EQ(runScript(), std::optional<WPARAM>(9));
    EXPECT_TRUE(receivedMessage(WM_CLOSE));
    EXPECT_FALSE(IsWindow(window));
}

// A window at (100, 50), 40 by 30, cut to an L: the left half, and the top
// third of the right half.
class Pointer : public Messages {
protected:
    void SetUp() override {
        Messages::SetUp();
        window = createTestWindow(100, 50, 40, 30);
        ASSERT_NE(SetWindowRgn(window, regionOf({RECT{0, 0, 20, 30}, RECT{20, 0, 40, 10}}), TRUE), 0);
        received.clear();
    }
    HWND window = nullptr;
};

struct HitCase {
    int screenX, screenY;
    bool delivered;
};

TEST_F(Pointer, MovesReachTheWindowOnlyInsideItsRectangleAndRegion) {
    const HitCase cases[] = {
        {100, 50, true},  {139, 50, true},  {139, 59, true},    {139, 60, false},  {125, 70, false},
        {119, 79, true},  {120, 79, false}, {119, 80, false},   {140, 50, false},  {99, 50, false},
        {100, 49, false}, {110, 65, true},  {-100, -50, false}, {5000, 60, false},
    };
    std::string expected;
    uint64_t t = 10;
    for (const HitCase& c : cases) {
        layer::headless::moveTo(t, c.screenX, c.screenY);
        t += 10;
        if (c.delivered) expected += describePointer(WM_MOUSEMOVE, 0, c.screenX - 100, c.screenY - 50);
    }
    runScript();
    EXPECT_EQ(pointerMessages(), expected);
}

TEST_F(Pointer, ButtonsCarryTheHeldButtonAndModifiersInClientCoordinates) {
    using namespace layer::headless;
    moveTo(10, 105, 55);
    buttonDown(20, 105, 55, MK_CONTROL);
    moveTo(30, 110, 60, MK_SHIFT);
    moveTo(40, 130, 70);  // in the window's rectangle but outside its region
    moveTo(50, 112, 62, MK_SHIFT | MK_CONTROL);
    buttonUp(60, 112, 62, MK_SHIFT);
    moveTo(70, 113, 63);
    buttonDown(80, 300, 300);  // pressed outside, then moved in while held
    moveTo(90, 101, 51);
    buttonUp(100, 300, 300);
    moveTo(110, 101, 52);
    runScript();
    EXPECT_EQ(pointerMessages(),
              describePointer(WM_MOUSEMOVE, 0, 5, 5) + describePointer(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, 5, 5) +
                  describePointer(WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, 10, 10) +
                  describePointer(WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT | MK_CONTROL, 12, 12) +
                  describePointer(WM_LBUTTONUP, MK_SHIFT, 12, 12) + describePointer(WM_MOUSEMOVE, 0, 13, 13) +
                  describePointer(WM_MOUSEMOVE, MK_LBUTTON, 1, 1) + describePointer(WM_MOUSEMOVE, 0, 1, 2));
}

// Moves that arrive while an older one still waits replace it; a move with
// other buttons held, or a press in between, keeps its own place.
TEST_F(Pointer, MovesWaitingInTheQueueCoalesceIntoTheLatest) {
    using namespace layer::headless;
    moveTo(10, 101, 51);
    moveTo(10, 102, 52);
    moveTo(10, 103, 53);
    buttonDown(10, 103, 53);
    moveTo(10, 104, 54);
    moveTo(10, 105, 55, MK_SHIFT);
    moveTo(10, 106, 56, MK_SHIFT);
    runScript();
    EXPECT_EQ(pointerMessages(), describePointer(WM_MOUSEMOVE, 0, 3, 3) +
                                     describePointer(WM_LBUTTONDOWN, MK_LBUTTON, 3, 3) +
                                     describePointer(WM_MOUSEMOVE, MK_LBUTTON, 4, 4) +
                                     describePointer(WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, 6, 6));
}

TEST_F(Pointer, GetCursorPosFollowsTheScriptInsideTheWindowAndOut) {
    using namespace layer::headless;
    std::vector<std::string> seen;
    auto look = [&] {
        POINT p{};
        EXPECT_TRUE(GetCursorPos(&p));
        seen.push_back(std::to_string(p.x) + "," + std::to_string(p.y));
    };
    moveTo(10, 105, 55);
    at(15, look);
    moveTo(20, 700, 600);
    at(25, look);
    buttonDown(30, 110, 52);
    at(35, look);
    buttonUp(40, -20, 900);
    at(45, look);
    runScript();
    EXPECT_EQ(seen, (std::vector<std::string>{"105,55", "700,600", "110,52", "-20,900"}));
    EXPECT_FALSE(GetCursorPos(nullptr));
}

// The program starts the move on a press: it hands the press to DefWindowProcA
// as a press on the caption.
class CaptionMove : public Pointer {
protected:
    void SetUp() override {
        Pointer::SetUp();
        reaction = [](HWND w, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (message == WM_LBUTTONDOWN) return DefWindowProcA(w, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
            return std::nullopt;
        };
    }
    RECT place() const {
        RECT r{};
        EXPECT_TRUE(GetWindowRect(window, &r));
        return r;
    }
};

TEST_F(CaptionMove, TheWindowFollowsThePointerUntilTheButtonComesUp) {
    using namespace layer::headless;
    std::vector<std::string> during;
    buttonDown(100, 110, 60);
    moveTo(200, 130, 70);
    at(250, [&] { during.push_back(describeRect(place())); });
    moveTo(300, 150, 95);
    at(350, [&] { during.push_back(describeRect(place())); });
    buttonUp(400, 90, 40);
    moveTo(500, 81, 41);
    runScript();

    EXPECT_EQ(during,
              (std::vector<std::string>{describeRect(RECT{120, 60, 160, 90}), describeRect(RECT{140, 85, 180, 115})}));
    EXPECT_EQ(describeRect(place()), describeRect(RECT{80, 30, 120, 60})) << "the release moves it too";
    POINT shown = windowPosition();
    EXPECT_EQ(shown.x, 80);
    EXPECT_EQ(shown.y, 30);
    EXPECT_EQ(pointerMessages(),
              describePointer(WM_LBUTTONDOWN, MK_LBUTTON, 10, 10) + describePointer(WM_MOUSEMOVE, 0, 1, 11))
        << "the loop swallows the moves and the release; afterwards the button is up";
    ASSERT_FALSE(received.empty());
    const Received* lastMove = nullptr;
    for (const Received& r : received)
        if (r.message == WM_MOVE) lastMove = &r;
    ASSERT_TRUE(lastMove) << "the window was told it moved";
    EXPECT_EQ(clientX(lastMove->lParam), 80);
    EXPECT_EQ(clientY(lastMove->lParam), 30);
}

TEST_F(CaptionMove, WithTheButtonAlreadyUpTheMoveEndsAtOnce) {
    using namespace layer::headless;
    moveTo(100, 110, 60);
    moveTo(200, 115, 62);
    at(50, [&] { DefWindowProcA(window, WM_NCLBUTTONDOWN, HTCAPTION, 0); });
    runScript();
    EXPECT_EQ(describeRect(place()), describeRect(RECT{100, 50, 140, 80}));
    EXPECT_EQ(pointerMessages(), describePointer(WM_MOUSEMOVE, 0, 10, 10) + describePointer(WM_MOUSEMOVE, 0, 15, 12));
}

// Input that comes faster than the program polls: the press and what the
// pointer did after it are all waiting when the program gets to the press.
// The move is anchored at the press, as on Windows, and catches up at once.
TEST_F(CaptionMove, AMoveStartedLateCatchesUpWithThePointer) {
    using namespace layer::headless;
    std::vector<std::string> during;
    buttonDown(101, 110, 60);
    moveTo(102, 120, 64);
    moveTo(103, 150, 95);
    at(150, [&] { during.push_back(describeRect(place())); });
    buttonUp(200, 151, 96);
    moveTo(300, 10, 10);
    runScript();
    EXPECT_EQ(during, std::vector<std::string>{describeRect(RECT{140, 85, 180, 115})});
    EXPECT_EQ(describeRect(place()), describeRect(RECT{141, 86, 181, 116}));
    EXPECT_EQ(pointerMessages(), describePointer(WM_LBUTTONDOWN, MK_LBUTTON, 10, 10))
        << "the loop takes the moves and the release that waited, and the move after the release is outside";
}

TEST_F(CaptionMove, APressMoveAndReleaseInOneBurstMoveTheWindowAndLetGo) {
    using namespace layer::headless;
    buttonDown(101, 110, 60);
    moveTo(102, 150, 95);
    buttonUp(103, 150, 95);
    moveTo(200, 150, 90);
    runScript();
    EXPECT_EQ(describeRect(place()), describeRect(RECT{140, 85, 180, 115}));
    EXPECT_EQ(pointerMessages(),
              describePointer(WM_LBUTTONDOWN, MK_LBUTTON, 10, 10) + describePointer(WM_MOUSEMOVE, 0, 10, 5))
        << "after the release the pointer moves over the window with no button held";
}

// A window procedure may destroy its window on WM_MOVE; the loop must not go
// on with it.
TEST_F(CaptionMove, AWindowDestroyedOnItsMoveEndsTheMove) {
    using namespace layer::headless;
    auto startMove = reaction;
    reaction = [&](HWND w, UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_MOVE) {
            DestroyWindow(w);
            return 0;
        }
        return startMove(w, message, wParam, lParam);
    };
    buttonDown(100, 110, 60);
    moveTo(200, 130, 70);
    moveTo(300, 150, 95);
    buttonUp(400, 90, 40);
    runScript();
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(Pointer, DrawingThroughTheWindowsDcShowsInsideTheRegion) {
    Dib picture = makeDib(40, 30);
    picture.fill(patternColour);
    HDC dc = GetDC(window);
    ASSERT_TRUE(dc);
    ASSERT_TRUE(BitBlt(dc, 0, 0, 40, 30, dcWith(picture.handle), 0, 0, SRCCOPY));
    EXPECT_EQ(ReleaseDC(window, dc), 1);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            COLORREF shown = 0;
            bool visible = layer::headless::windowPixel(x, y, shown);
            bool inRegion = x < 20 || y < 10;
            ASSERT_EQ(visible, inRegion) << "pixel (" << x << ", " << y << ")";
            if (!visible) continue;
            ASSERT_EQ(shown, patternColour(x, y)) << "pixel (" << x << ", " << y << ") is " << describeColour(shown)
                                                  << ", expected " << describeColour(patternColour(x, y));
        }
}

TEST_F(Messages, AWindowWhoseProcedureRefusesCreationIsNotCreated) {
    reaction = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_CREATE) return -1;
        return std::nullopt;
    };
    HWND window = CreateWindowExA(0, testWindowClass, "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    EXPECT_EQ(window, nullptr);
    EXPECT_TRUE(receivedMessage(WM_DESTROY));
    EXPECT_FALSE(receivedMessage(WM_SHOWWINDOW));
}

TEST_F(Messages, EveryCallFailsCleanlyOnAHandleThatNamesNoWindow) {
    HWND destroyed = createTestWindow(0, 0, 20, 20);
    ASSERT_TRUE(DestroyWindow(destroyed));
    HDC dc = CreateCompatibleDC(nullptr);
    const std::pair<const char*, HWND> bad[] = {{"destroyed", destroyed},
                                                {"a DC", reinterpret_cast<HWND>(dc)},
                                                {"never handed out", reinterpret_cast<HWND>(uintptr_t{0x5EED1234})}};
    for (auto [what, window] : bad) {
        SCOPED_TRACE(what);
        received.clear();
        EXPECT_FALSE(IsWindow(window));
        EXPECT_EQ(SendMessageA(window, appMessage, 0, 0), 0);
        EXPECT_TRUE(received.empty()) << "no procedure ran";
        EXPECT_FALSE(PostMessageA(window, appMessage, 0, 0));
        EXPECT_FALSE(DestroyWindow(window));
        RECT rect{};
        EXPECT_FALSE(GetWindowRect(window, &rect));
        EXPECT_EQ(GetDC(window), nullptr);
        PAINTSTRUCT paint{};
        EXPECT_EQ(BeginPaint(window, &paint), nullptr);
        char title[16] = "unchanged";
        EXPECT_EQ(GetWindowTextA(window, title, sizeof title), 0);
        HRGN region = regionOf({RECT{0, 0, 5, 5}});
        EXPECT_EQ(SetWindowRgn(window, region, TRUE), 0);
        EXPECT_EQ(GetWindowRgn(window, region), ERROR);
        EXPECT_TRUE(DeleteObject(region)) << "the region stayed the caller's";
        EXPECT_FALSE(CloseWindow(window));
        EXPECT_FALSE(IsIconic(window));
    }
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) << "nothing was posted";
}

}  // namespace
