// The backend for a real desktop: windows on SDL2 (X11 underneath, for the
// shaped outline), the monotonic clock, and input and close requests from the
// display and from signals.
//
// Construction does nothing but set fields: the program's static objects ask
// for the counter frequency before main runs, long before a display is needed,
// so SDL starts only when something first needs the screen.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "Backend.h"
#include "DesktopMessageBox.h"
#include "DesktopWindow.h"
#include "MonotonicClock.h"
#include "X11Connection.h"

union SDL_Event;
struct SDL_WindowEvent;

namespace layer {

class DesktopBackend : public Backend {
public:
    DesktopBackend() = default;
    ~DesktopBackend() override;

    SIZE screenSize() override;
    int scale() override;
    LONGLONG counterFrequency() override { return ticksPerSecond; }
    LONGLONG counter() override;
    void sleep(DWORD milliseconds) override;
    POINT cursorPosition() override;
    bool showWindow(Window& window, std::string& whyNot) override;
    void hideWindow(Window& window) override;
    void present(Window& window) override;
    void reshape(Window& window) override;
    void place(Window& window) override;
    void minimize(Window& window) override;
    bool moveByDesktop(Window& window, POINT press) override;
    bool nextEvent(BackendEvent& event, bool wait) override;
    int messageBox(HWND owner, const char* text, const char* caption, UINT type) override;
    void idle() override;

    // The counter runs in 100 ns ticks, as Windows reports it.
    static constexpr LONGLONG ticksPerSecond = MonotonicClock::ticksPerSecond;

    // Whether SDL's video has been started (it is only on first need).
    bool videoStarted() const { return video_ == Video::Ready; }

private:
    enum class Video { NotTried, Ready, Failed };

    bool startVideo(std::string& whyNot);
    static DesktopWindow* desktopWindowOf(const Window& window);
    DesktopWindow* desktopWindowWithId(uint32_t id) const;
    bool takeQueued(BackendEvent& event);
    bool translate(const SDL_Event& sdlEvent, BackendEvent& event);
    bool translateWindowEvent(const SDL_WindowEvent& windowEvent, BackendEvent& event);
    bool translateX11Event(const SDL_Event& sdlEvent, BackendEvent& event);
    bool translatePlacement(DesktopWindow& window, BackendEvent& event);
    bool reportPosition(DesktopWindow& window, POINT root, BackendEvent& event) const;
    bool settlePendingMove(BackendEvent& event);
    void handOffMove(DesktopWindow& window);
    POINT origin() const;
    POINT toScreen(POINT root) const;
    POINT toRoot(POINT screen) const;
    bool translateSdlPointer(const SDL_Event& sdlEvent, BackendEvent& event);
    void runMessageBox(DesktopMessageBox& box);
    void watchConnection(const DesktopWindow& window);
    void reportLostDisplay();
    bool needsPump(X11Connection::State state);
    void waitForInput();
    void abandonWindows();

    Video video_ = Video::NotTried;
    std::string videoError_;
    bool x11Pointer_ = false;
    int scale_ = 1;
    X11Connection connection_;
    bool displayLost_ = false;
    POINT lastCursor_{0, 0};
    std::vector<std::unique_ptr<DesktopWindow>> windows_;
    std::deque<BackendEvent> queued_;
    std::vector<DesktopMessageBox*> boxes_;  // the boxes being shown, the last on top
    // A move the window manager has been asked for and not yet seen to do.
    struct PendingMove {
        DesktopWindow* window = nullptr;
        LONGLONG since = 0;
        POINT before{0, 0};  // where the window was, in root coordinates
    };
    // Screen coordinates are the root's less the primary monitor's corner.
    RECT primary_{0, 0, 0, 0};
    PendingMove movePending_;
    bool movesRefused_ = false;        // the window manager keeps the program's own moves from taking effect
    DesktopWindow* moving_ = nullptr;  // a window a press on its caption is moving
    POINT movePress_{0, 0};            // that press, in root coordinates
    int idleSpins_ = 0;
    LONGLONG lastPump_ = 0;
    LONGLONG lastInput_ = 0;  // when the connection last had something for SDL
};

}  // namespace layer
