// The backend for a Wayland desktop: the program's windows as xdg-shell
// toplevels cut to their outline by transparency and the input region, the
// monotonic clock, and input, close requests and the compositor's end from
// the connection and from signals.
//
// Wayland tells no client where its windows are and lets none place them: the
// compositor puts the window where it likes (the centre, on the compositors
// tried), the layer keeps the position the program asked for as the window's
// fixed origin, and pointer positions are that origin plus the pointer's
// place in the window, so that the program's client coordinates and
// GetCursorPos agree. Moves are the compositor's, started by the press.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "Backend.h"
#include "MonotonicClock.h"
#include "WaylandConnection.h"
#include "WaylandMessageBox.h"
#include "WaylandSeat.h"
#include "WaylandToplevel.h"

namespace layer {

class WaylandBackend : public Backend, private WaylandSeat::Listener {
public:
    WaylandBackend() = default;
    ~WaylandBackend() override;

    SIZE screenSize() override;
    int scale() override;
    LONGLONG counterFrequency() override { return ticksPerSecond; }
    LONGLONG counter() override;
    void sleep(DWORD milliseconds) override;
    POINT cursorPosition() override { return lastCursor_; }
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

private:
    struct Shown {
        Window* window;
        std::unique_ptr<WaylandToplevel> toplevel;
    };

    bool connect(std::string& whyNot);
    Shown* shownFor(const Window& window) const;
    Shown* shownOn(wl_surface* surface) const;
    WaylandMessageBox* boxOn(wl_surface* surface) const;
    void queuePointer(BackendEvent::Type type, Shown& shown, double x, double y);
    bool takeQueued(BackendEvent& event);
    void runMessageBox(WaylandMessageBox& box);

    void pointerEntered(wl_surface* surface, double x, double y) override;
    void pointerMoved(wl_surface* surface, double x, double y) override;
    void leftButton(wl_surface* surface, bool down, double x, double y) override;
    void keyPressed(wl_surface* surface, uint32_t keysym) override;

    enum class Connection { NotTried, Ready, Failed };
    Connection state_ = Connection::NotTried;
    std::string connectError_;
    std::unique_ptr<WaylandConnection> connection_;
    std::unique_ptr<WaylandSeat> seat_;
    int scale_ = 1;
    bool lost_ = false;
    POINT lastCursor_{0, 0};
    std::vector<std::unique_ptr<Shown>> windows_;
    std::vector<WaylandMessageBox*> boxes_;  // the boxes being shown, the last on top
    std::deque<BackendEvent> queued_;
    int idleSpins_ = 0;
};

}  // namespace layer
