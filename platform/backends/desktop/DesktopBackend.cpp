#include "DesktopBackend.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include <X11/Xlib.h>

#include "DesktopScale.h"
#include "DesktopSignals.h"
#include "Layer.h"
#include "Window.h"
#include "X11Monitors.h"
#include "X11PointerEvent.h"

namespace layer {

namespace {

// For a while after the server last said something, SDL is pumped this
// often even when the connection is quiet: it settles some of what the
// server says a moment later, when pumped again (a change of keyboard
// focus that follows another within 200 ms, above all).
constexpr LONGLONG settlingTicks = DesktopBackend::ticksPerSecond;
constexpr LONGLONG settlingPumpEveryTicks = DesktopBackend::ticksPerSecond / 10;

// How long a blocking wait for input lasts before it looks at the signal flag
// and the connection again, so that a Ctrl+C or the end of the X server during
// a window drag is not left waiting for input.
constexpr int signalCheckMs = 100;
// A program that polls this often in a row without sleeping has nothing to
// do; from then on each poll rests a moment instead of burning a core.
constexpr int spinsBeforeRest = 100;
constexpr long restNanoseconds = 1'000'000;
// A window manager that has not moved the window this long after it was
// asked to is taken to refuse the program's own moves (sway's XWayland
// keeps X11 windows where it put them); its own move takes over from then on.
constexpr LONGLONG refusalTicks = DesktopBackend::ticksPerSecond * 3 / 10;
// How often the pointer is asked about while the window manager moves the window.
constexpr long handOffPollNanoseconds = 10'000'000;

// Set before SDL starts; a variable in the environment still wins, so that
// a user can pick another video driver.
void configureSdl() {
    // Only X11 can cut a window to an outline (Wayland sessions run it on XWayland).
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    // SIGINT and SIGTERM are this backend's: they become a close of the window.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // A plain software framebuffer: a GL-backed one would recreate the X
    // window (losing its shape) and cost far more per frame.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // A small desktop window has no business stopping the screensaver or
    // the compositor.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    // The window holds the pointer itself while the left button is down
    // (see translateX11Event); SDL's capture would release that hold early.
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
    // Closing the window is reported once, as the window's own close.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
}

BackendEvent eventAt(BackendEvent::Type type, POINT point, WPARAM modifiers = 0) {
    return BackendEvent{type, int(point.x), int(point.y), modifiers};
}

bool samePoint(POINT a, POINT b) { return a.x == b.x && a.y == b.y; }

bool isPlacement(const XEvent& event) {
    return event.type == ConfigureNotify || event.type == ReparentNotify || event.type == MapNotify;
}

WPARAM sdlModifiers() {
    SDL_Keymod mod = SDL_GetModState();
    WPARAM modifiers = 0;
    if (mod & KMOD_SHIFT) modifiers |= MK_SHIFT;
    if (mod & KMOD_CTRL) modifiers |= MK_CONTROL;
    return modifiers;
}

}  // namespace

DesktopBackend::~DesktopBackend() {
    if (displayLost_) {
        // Nothing may be said to a display that has gone: SDL would wait for
        // its answers for ever.
        abandonWindows();
        return;
    }
    windows_.clear();
    if (video_ == Video::Ready) SDL_Quit();
}

void DesktopBackend::abandonWindows() {
    for (auto& window : windows_) window->abandon();
    windows_.clear();
}

bool DesktopBackend::startVideo(std::string& whyNot) {
    if (video_ == Video::NotTried) {
        configureSdl();
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
            video_ = Video::Ready;
            x11Pointer_ = std::strcmp(SDL_GetCurrentVideoDriver(), "x11") == 0;
            if (x11Pointer_) scale_ = DesktopScale::ofDesktop();
            if (x11Pointer_) primary_ = X11Monitors::primaryOf(nullptr);
            // The raw X events carry the pointer's screen position.
            if (x11Pointer_) SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
        } else {
            video_ = Video::Failed;
            videoError_ = std::string("no display (SDL: ") + SDL_GetError() + ")";
        }
    }
    if (video_ == Video::Failed) whyNot = videoError_;
    return video_ == Video::Ready;
}

// As on Windows, the primary monitor is the screen.
SIZE DesktopBackend::screenSize() {
    std::string whyNot;
    if (!startVideo(whyNot)) return SIZE{0, 0};
    if (primary_.right > primary_.left) return SIZE{primary_.right - primary_.left, primary_.bottom - primary_.top};
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return SIZE{0, 0};
    return SIZE{mode.w, mode.h};
}

POINT DesktopBackend::origin() const { return POINT{primary_.left, primary_.top}; }

POINT DesktopBackend::toScreen(POINT root) const { return POINT{root.x - primary_.left, root.y - primary_.top}; }

POINT DesktopBackend::toRoot(POINT screen) const { return POINT{screen.x + primary_.left, screen.y + primary_.top}; }

int DesktopBackend::scale() {
    std::string whyNot;
    startVideo(whyNot);
    return scale_;
}

LONGLONG DesktopBackend::counter() { return MonotonicClock::now(); }

void DesktopBackend::sleep(DWORD milliseconds) {
    idleSpins_ = 0;
    MonotonicClock::rest((long long)milliseconds * 1'000'000);
}

void DesktopBackend::idle() {
    if (++idleSpins_ >= spinsBeforeRest) MonotonicClock::rest(restNanoseconds);
}

POINT DesktopBackend::cursorPosition() {
    std::string whyNot;
    if (displayLost_ || !startVideo(whyNot)) return lastCursor_;
    POINT root{};
    for (const auto& window : windows_)
        if (window->x11().pointer(root)) return lastCursor_ = toScreen(root);
    // SDL's global state is only fresh right after the events are pumped.
    SDL_PumpEvents();
    int x = 0;
    int y = 0;
    SDL_GetGlobalMouseState(&x, &y);
    lastCursor_ = POINT{x, y};
    return lastCursor_;
}

DesktopWindow* DesktopBackend::desktopWindowOf(const Window& window) {
    return static_cast<DesktopWindow*>(window.backendData);
}

DesktopWindow* DesktopBackend::desktopWindowWithId(uint32_t id) const {
    for (const auto& window : windows_)
        if (window->id() == id) return window.get();
    return nullptr;
}

bool DesktopBackend::showWindow(Window& window, std::string& whyNot) {
    if (displayLost_) {
        whyNot = "its display has gone";
        return false;
    }
    if (!startVideo(whyNot)) return false;
    std::unique_ptr<DesktopWindow> opened = DesktopWindow::open(window, scale_, origin(), whyNot);
    if (!opened) return false;
    window.backendData = opened.get();
    watchConnection(*opened);
    windows_.push_back(std::move(opened));
    DesktopSignals::install();
    return true;
}

// The connection is the one SDL opened; it is known once there is a window.
void DesktopBackend::watchConnection(const DesktopWindow& window) {
    if (connection_.valid() || !window.x11().valid()) return;
    connection_ = window.x11().connection();
    connection_.handleErrors(displayLostExitCode);
}

void DesktopBackend::hideWindow(Window& window) {
    DesktopWindow* shown = desktopWindowOf(window);
    window.backendData = nullptr;
    if (shown && displayLost_) shown->abandon();
    if (movePending_.window == shown) movePending_ = PendingMove{};
    if (moving_ == shown) moving_ = nullptr;
    std::erase_if(windows_, [&](const auto& entry) { return entry.get() == shown; });
}

void DesktopBackend::present(Window& window) {
    DesktopWindow* shown = desktopWindowOf(window);
    Window::Rows changed = window.takeChanged();
    if (shown && !displayLost_ && !changed.empty()) shown->show(window.surface, changed);
}

void DesktopBackend::reshape(Window& window) {
    DesktopWindow* shown = desktopWindowOf(window);
    if (shown && !displayLost_) shown->reshape(window);
}

// The window manager decides: the window is where the server later says it
// is, and if nothing says so for a while, the server is asked.
void DesktopBackend::place(Window& window) {
    DesktopWindow* shown = desktopWindowOf(window);
    if (!shown || displayLost_) return;
    POINT before{};
    if (movePending_.window != shown && shown->x11().rootPosition(before))
        movePending_ = PendingMove{shown, counter(), before};
    shown->moveTo(toRoot(POINT{window.deviceX, window.deviceY}));
}

bool DesktopBackend::moveByDesktop(Window& window, POINT press) {
    DesktopWindow* shown = desktopWindowOf(window);
    if (!shown || displayLost_ || !shown->x11().valid()) return false;
    moving_ = shown;
    movePress_ = toRoot(press);
    if (!movesRefused_ || !shown->x11().windowManagerRunning()) return false;
    handOffMove(*shown);
    moving_ = nullptr;
    return true;
}

// The window manager moves the window from the press until the button comes
// up; its release goes to the window manager. Should the window manager not
// have begun by then, the cancel keeps it from beginning a move that would
// follow a pointer no longer held.
void DesktopBackend::handOffMove(DesktopWindow& window) {
    POINT pointer{};
    POINT before{};
    bool held = false;
    if (!window.x11().pointer(pointer, &held) || !held || !window.x11().rootPosition(before)) return;
    window.x11().askWindowManagerToMove(movePress_);
    while (held && connection_.state() != X11Connection::State::Closed) {
        if (DesktopSignals::takeCloseRequest()) {
            queued_.push_back(eventAt(BackendEvent::Type::CloseRequest, POINT{0, 0}));
            break;
        }
        MonotonicClock::rest(handOffPollNanoseconds);
        if (!window.x11().pointer(pointer, &held)) break;
    }
    window.x11().cancelWindowManagerMove(pointer);
    lastCursor_ = toScreen(pointer);
    // Where the window ended up is for the server to say.
    movePending_ = PendingMove{&window, counter(), before};
}

// A move asked for and not seen yet: once it is overdue, the server says
// where the window is. A window that has not moved at all was refused; a
// move in progress is then the window manager's to finish.
bool DesktopBackend::settlePendingMove(BackendEvent& event) {
    DesktopWindow* window = movePending_.window;
    if (!window || counter() - movePending_.since < refusalTicks) return false;
    POINT now{};
    bool known = window->x11().rootPosition(now);
    bool refused = known && samePoint(now, movePending_.before) && window->x11().windowManagerRunning();
    movePending_ = PendingMove{};
    if (refused && !movesRefused_) {
        movesRefused_ = true;
        if (moving_ == window) {
            handOffMove(*window);
            moving_ = nullptr;
            event = eventAt(BackendEvent::Type::PointerUp, lastCursor_);
            return true;
        }
    }
    return known && reportPosition(*window, now, event);
}

// A WindowMoved for the layer, when the window is not where the layer
// believes it to be.
bool DesktopBackend::reportPosition(DesktopWindow& window, POINT root, BackendEvent& event) const {
    POINT screen = toScreen(root);
    const Window& owner = window.owner();
    if (screen.x == owner.deviceX && screen.y == owner.deviceY) return false;
    event = eventAt(BackendEvent::Type::WindowMoved, screen);
    event.window = &window.owner();
    return true;
}

// With no window manager nothing takes the window off the screen; it stays
// where it is and must keep taking input, so it counts as restored at once.
void DesktopBackend::minimize(Window& window) {
    DesktopWindow* shown = desktopWindowOf(window);
    if (!shown || displayLost_) return;
    shown->minimize();
    if (shown->x11().valid() && !shown->x11().windowManagerRunning())
        queued_.push_back(eventAt(BackendEvent::Type::Restore, POINT{0, 0}));
}

bool DesktopBackend::takeQueued(BackendEvent& event) {
    if (DesktopSignals::takeCloseRequest()) {
        event = eventAt(BackendEvent::Type::CloseRequest, POINT{0, 0});
        return true;
    }
    if (!displayLost_ && settlePendingMove(event)) return true;
    if (queued_.empty()) return false;
    event = queued_.front();
    queued_.pop_front();
    return true;
}

// SDL is only ever polled here, never asked to wait: its wait wakes itself
// by sending an event to one of the windows from a second connection, and
// the server may take that event after the window has gone (a box closed
// just then), which Xlib reports as an error that ends the process.
bool DesktopBackend::nextEvent(BackendEvent& event, bool wait) {
    for (;;) {
        if (takeQueued(event)) break;
        // Without a window (or box), or without a display, no input will ever come.
        if (video_ != Video::Ready || displayLost_ || (windows_.empty() && boxes_.empty())) return false;
        X11Connection::State state = connection_.state();
        if (state == X11Connection::State::Closed) {
            reportLostDisplay();
            event = eventAt(BackendEvent::Type::DisplayLost, lastCursor_);
            break;
        }
        SDL_Event sdlEvent;
        if (needsPump(state) && SDL_PollEvent(&sdlEvent) == 1) {
            if (translate(sdlEvent, event)) break;
            continue;
        }
        if (!wait) return false;
        waitForInput();
    }
    idleSpins_ = 0;
    return true;
}

// Other video drivers give no connection to wait on; there a short rest
// between polls keeps a modal loop from spinning.
void DesktopBackend::waitForInput() {
    int milliseconds = signalCheckMs;
    if (movePending_.window) {
        LONGLONG left = refusalTicks - (counter() - movePending_.since);
        milliseconds = int(std::clamp<LONGLONG>(left / (ticksPerSecond / 1000) + 1, 1, signalCheckMs));
    }
    if (connection_.valid())
        connection_.waitForInput(milliseconds);
    else
        MonotonicClock::rest(restNanoseconds);
}

// Pumping SDL costs a few system calls on the X connection; a frame with
// nothing new from the server and nothing in SDL's queue has no need of it,
// unless SDL may still be settling what the server said last.
bool DesktopBackend::needsPump(X11Connection::State state) {
    LONGLONG now = counter();
    if (state != X11Connection::State::Quiet) lastInput_ = now;
    bool settling = now - lastInput_ < settlingTicks && now - lastPump_ >= settlingPumpEveryTicks;
    if (state == X11Connection::State::Quiet && !settling && !SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT))
        return false;
    lastPump_ = now;
    return true;
}

// Noticed before SDL reads from the connection, so that neither SDL nor Xlib
// ever meets its end. The program then closes as asked; should that not be
// over soon, it ends anyway.
void DesktopBackend::reportLostDisplay() {
    displayLost_ = true;
    X11Connection::reportLost(connection_.name());
    DesktopSignals::endWithin(DesktopSignals::shutdownDeadlineSeconds, displayLostExitCode);
}

bool DesktopBackend::translate(const SDL_Event& sdlEvent, BackendEvent& event) {
    // The box on top has the first say (keys go to it).
    for (auto box = boxes_.rbegin(); box != boxes_.rend(); ++box)
        if ((*box)->take(sdlEvent)) {
            event = eventAt(BackendEvent::Type::DismissBox, POINT{0, 0});
            return true;
        }
    switch (sdlEvent.type) {
        case SDL_QUIT:
            event = eventAt(BackendEvent::Type::CloseRequest, POINT{0, 0});
            return true;
        case SDL_WINDOWEVENT:
            return translateWindowEvent(sdlEvent.window, event);
        case SDL_SYSWMEVENT:
            return translateX11Event(sdlEvent, event);
        case SDL_MOUSEMOTION:
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            return !x11Pointer_ && translateSdlPointer(sdlEvent, event);
        default:
            return false;
    }
}

// Only the layer's windows count here: the message box has its own.
//
// From a left press to its release the window holds the pointer, so that a
// drag keeps its events (the release above all) wherever the pointer goes.
// X's own hold for a press does not last: SDL ungrabs the pointer whenever
// it enters one of its windows, which is just what happens when a dragged
// window catches up with the pointer. A hold that does not report crossings
// gives SDL nothing to ungrab on.
//
// Positions are the server's: a pointer event's place in the window is the
// event's own, and where the window is, the server says after any change
// (the window manager may have put it somewhere else than asked, or framed
// it, or refused to move it).
bool DesktopBackend::translateX11Event(const SDL_Event& sdlEvent, BackendEvent& event) {
    const SDL_SysWMmsg& message = *sdlEvent.syswm.msg;
    if (message.subsystem != SDL_SYSWM_X11) return false;
    const XEvent& x11Event = message.msg.x11.event;
    auto owner = std::find_if(windows_.begin(), windows_.end(),
                              [&](const auto& window) { return window->x11().owns(x11Event); });
    if (owner == windows_.end()) return false;
    DesktopWindow& window = **owner;
    if (isPlacement(x11Event)) return translatePlacement(window, event);
    if (!translateX11PointerEvent(x11Event, event)) return false;
    POINT screen = toScreen(POINT{event.screenX, event.screenY});
    event.screenX = int(screen.x);
    event.screenY = int(screen.y);
    event.window = &window.owner();
    if (event.type == BackendEvent::Type::PointerDown) window.x11().holdPointer(x11Event);
    if (event.type == BackendEvent::Type::PointerUp) {
        window.x11().releasePointer(x11Event);
        moving_ = nullptr;
    }
    return true;
}

bool DesktopBackend::translatePlacement(DesktopWindow& window, BackendEvent& event) {
    POINT root{};
    if (!window.x11().rootPosition(root)) return false;
    if (movePending_.window == &window && !samePoint(root, movePending_.before)) movePending_ = PendingMove{};
    return reportPosition(window, root, event);
}

bool DesktopBackend::translateWindowEvent(const SDL_WindowEvent& windowEvent, BackendEvent& event) {
    DesktopWindow* window = desktopWindowWithId(windowEvent.windowID);
    if (!window) return false;
    switch (windowEvent.event) {
        case SDL_WINDOWEVENT_CLOSE:
            event = eventAt(BackendEvent::Type::CloseRequest, POINT{0, 0});
            return true;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SHOWN:
            event = eventAt(BackendEvent::Type::Restore, POINT{0, 0});
            return true;
        case SDL_WINDOWEVENT_EXPOSED:
            // Uncovered parts must not wait for the next frame, which may be
            // a while off (none come while the window is being dragged).
            window->repaint();
            return false;
        default:
            return false;
    }
}

// Other video drivers: SDL's own mouse events, placed on the screen by the
// global pointer position.
bool DesktopBackend::translateSdlPointer(const SDL_Event& sdlEvent, BackendEvent& event) {
    uint32_t windowId = sdlEvent.type == SDL_MOUSEMOTION ? sdlEvent.motion.windowID : sdlEvent.button.windowID;
    if (!desktopWindowWithId(windowId)) return false;
    BackendEvent::Type type = BackendEvent::Type::PointerMove;
    if (sdlEvent.type != SDL_MOUSEMOTION) {
        if (sdlEvent.button.button != SDL_BUTTON_LEFT) return false;
        type = sdlEvent.type == SDL_MOUSEBUTTONDOWN ? BackendEvent::Type::PointerDown : BackendEvent::Type::PointerUp;
    }
    int x = 0;
    int y = 0;
    SDL_GetGlobalMouseState(&x, &y);
    event = eventAt(type, POINT{x, y}, sdlModifiers());
    return true;
}

// Modal, as on Windows: the call returns once the box is dismissed, and until
// then the program's windows keep taking input and repainting (the box has
// no owner to disable), so a second box may open over the first. Without a
// font to draw the box with, SDL's own box is tried; without a display at
// all, the text goes to stderr.
int DesktopBackend::messageBox(HWND, const char* text, const char* caption, UINT) {
    std::string whyNot;
    std::unique_ptr<DesktopMessageBox> box;
    if (displayLost_) return IDOK;
    if (startVideo(whyNot)) box = DesktopMessageBox::open(caption, text, scale_);
    if (box) {
        runMessageBox(*box);
        if (displayLost_) box->abandon();
        return IDOK;
    }
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption, text, nullptr) != 0)
        std::fprintf(stderr, "%s: %s\n", caption, text);
    return IDOK;
}

// Ends when the box is dismissed, or when the program quits meanwhile.
void DesktopBackend::runMessageBox(DesktopMessageBox& box) {
    boxes_.push_back(&box);
    BackendEvent event;
    while (!box.dismissed() && pumpModal() && nextEvent(event, true))
        if (event.type != BackendEvent::Type::DismissBox) deliverEvent(event);
    std::erase(boxes_, &box);
}

}  // namespace layer
