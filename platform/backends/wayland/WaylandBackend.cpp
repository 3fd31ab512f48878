#include "WaylandBackend.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "DesktopScale.h"
#include "DesktopSignals.h"
#include "Layer.h"
#include "Window.h"

namespace layer {

namespace {

// How long a blocking wait for input lasts before it looks at the signal
// flag again, so that a Ctrl+C during the about box is not left waiting.
constexpr int signalCheckMs = 100;
// A program that polls this often in a row without sleeping has nothing to
// do; from then on each poll rests a moment instead of burning a core.
constexpr int spinsBeforeRest = 100;
constexpr long restNanoseconds = 1'000'000;

BackendEvent plainEvent(BackendEvent::Type type) {
    BackendEvent event;
    event.type = type;
    return event;
}

}  // namespace

WaylandBackend::~WaylandBackend() {
    windows_.clear();
    seat_.reset();
    connection_.reset();
}

bool WaylandBackend::connect(std::string& whyNot) {
    if (state_ == Connection::NotTried) {
        connection_ = std::make_unique<WaylandConnection>();
        if (connection_->open(connectError_)) {
            state_ = Connection::Ready;
            scale_ = std::clamp(connection_->largestScale(), 1, DesktopScale::largest);
            seat_ = std::make_unique<WaylandSeat>(*connection_, static_cast<WaylandSeat::Listener&>(*this), scale_);
            connection_->roundTrip();  // the seat's pointer and keyboard
        } else {
            state_ = Connection::Failed;
            connection_.reset();
        }
    }
    if (state_ == Connection::Failed) whyNot = connectError_;
    return state_ == Connection::Ready;
}

SIZE WaylandBackend::screenSize() {
    std::string whyNot;
    if (!connect(whyNot)) return SIZE{0, 0};
    SIZE logical = connection_->logicalSize();
    return SIZE{logical.cx * scale_, logical.cy * scale_};
}

int WaylandBackend::scale() {
    std::string whyNot;
    connect(whyNot);
    return scale_;
}

LONGLONG WaylandBackend::counter() { return MonotonicClock::now(); }

// The rest is spent waiting on the connection: what the compositor sends
// meanwhile is read at once and kept for the program. A compositor drops a
// client that lets its messages pile up (a fast pointer sends hundreds in a
// frame's rest), and reading them costs nothing while nothing comes.
void WaylandBackend::sleep(DWORD milliseconds) {
    idleSpins_ = 0;
    if (state_ != Connection::Ready || lost_ || connection_->lost()) {
        MonotonicClock::rest((long long)milliseconds * 1'000'000);
        return;
    }
    const LONGLONG deadline = counter() + LONGLONG(milliseconds) * (ticksPerSecond / 1000);
    for (LONGLONG now = counter(); now < deadline; now = counter()) {
        int left = int((deadline - now + ticksPerSecond / 1000 - 1) / (ticksPerSecond / 1000));
        if (!connection_->pump(left)) {
            MonotonicClock::rest((deadline - now) * 100);
            return;
        }
    }
}

void WaylandBackend::idle() {
    if (++idleSpins_ >= spinsBeforeRest) MonotonicClock::rest(restNanoseconds);
}

WaylandBackend::Shown* WaylandBackend::shownFor(const Window& window) const {
    for (const auto& shown : windows_)
        if (shown->window == &window) return shown.get();
    return nullptr;
}

WaylandBackend::Shown* WaylandBackend::shownOn(wl_surface* surface) const {
    for (const auto& shown : windows_)
        if (shown->toplevel->surface() == surface) return shown.get();
    return nullptr;
}

WaylandMessageBox* WaylandBackend::boxOn(wl_surface* surface) const {
    for (WaylandMessageBox* box : boxes_)
        if (box->surface() == surface) return box;
    return nullptr;
}

// The window is mapped by its first frame, so that it never shows an empty
// picture.
bool WaylandBackend::showWindow(Window& window, std::string& whyNot) {
    if (lost_) {
        whyNot = "its display has gone";
        return false;
    }
    if (!connect(whyNot)) return false;
    auto toplevel = WaylandToplevel::open(
        *connection_, window.title, window.width, window.height, scale_,
        [this] { queued_.push_back(plainEvent(BackendEvent::Type::CloseRequest)); }, whyNot);
    if (!toplevel) return false;
    if (window.region) toplevel->setOutline(&window.region->rects());
    windows_.push_back(std::make_unique<Shown>(Shown{&window, std::move(toplevel)}));
    DesktopSignals::install();
    return true;
}

void WaylandBackend::hideWindow(Window& window) {
    std::erase_if(windows_, [&](const auto& shown) { return shown->window == &window; });
}

void WaylandBackend::present(Window& window) {
    Shown* shown = shownFor(window);
    Window::Rows changed = window.takeChanged();
    if (shown && !lost_ && !changed.empty()) shown->toplevel->show(window.surface, changed.top, changed.bottom);
}

void WaylandBackend::reshape(Window& window) {
    Shown* shown = shownFor(window);
    if (shown && !lost_) shown->toplevel->setOutline(window.region ? &window.region->rects() : nullptr);
}

// No client places its windows on Wayland; the window stays where the
// compositor put it, and the layer's origin for it stays as it is.
void WaylandBackend::place(Window&) {}

// The compositor says nothing when the window comes back; the pointer
// entering it again says it is there.
void WaylandBackend::minimize(Window& window) {
    Shown* shown = shownFor(window);
    if (shown && !lost_) shown->toplevel->minimize();
}

// The compositor moves the window until the button comes up, and keeps
// that release to itself.
bool WaylandBackend::moveByDesktop(Window& window, POINT) {
    Shown* shown = shownFor(window);
    if (!shown || lost_ || !seat_ || !seat_->seat()) return false;
    shown->toplevel->move(seat_->seat(), seat_->lastPressSerial());
    return true;
}

void WaylandBackend::queuePointer(BackendEvent::Type type, Shown& shown, double x, double y) {
    BackendEvent event;
    event.type = type;
    event.window = shown.window;
    event.windowX = int(std::floor(x * scale_));
    event.windowY = int(std::floor(y * scale_));
    event.screenX = shown.window->deviceX + event.windowX;
    event.screenY = shown.window->deviceY + event.windowY;
    event.modifiers = seat_->modifiers();
    lastCursor_ = POINT{event.screenX, event.screenY};
    queued_.push_back(event);
}

void WaylandBackend::pointerEntered(wl_surface* surface, double x, double y) {
    Shown* shown = shownOn(surface);
    if (!shown) return;
    if (shown->window->minimized) queued_.push_back(plainEvent(BackendEvent::Type::Restore));
    queuePointer(BackendEvent::Type::PointerMove, *shown, x, y);
}

void WaylandBackend::pointerMoved(wl_surface* surface, double x, double y) {
    if (Shown* shown = shownOn(surface)) queuePointer(BackendEvent::Type::PointerMove, *shown, x, y);
}

void WaylandBackend::leftButton(wl_surface* surface, bool down, double x, double y) {
    if (WaylandMessageBox* box = boxOn(surface)) {
        if (!down && !box->dismissed() && box->onOk(x, y)) box->dismiss();
        return;
    }
    if (Shown* shown = shownOn(surface))
        queuePointer(down ? BackendEvent::Type::PointerDown : BackendEvent::Type::PointerUp, *shown, x, y);
}

void WaylandBackend::keyPressed(wl_surface* surface, uint32_t keysym) {
    WaylandMessageBox* box = boxOn(surface);
    if (box && WaylandMessageBox::keyCloses(keysym)) box->dismiss();
}

bool WaylandBackend::takeQueued(BackendEvent& event) {
    if (DesktopSignals::takeCloseRequest()) {
        event = plainEvent(BackendEvent::Type::CloseRequest);
        return true;
    }
    if (queued_.empty()) return false;
    event = queued_.front();
    queued_.pop_front();
    return true;
}

bool WaylandBackend::nextEvent(BackendEvent& event, bool wait) {
    for (;;) {
        if (takeQueued(event)) break;
        if (state_ != Connection::Ready || lost_ || (windows_.empty() && boxes_.empty())) return false;
        if (connection_->lost() || !connection_->pump(wait ? signalCheckMs : 0)) {
            // Ended as on X11: one line, and the program closes (or is ended).
            lost_ = true;
            connection_->reportLost();
            DesktopSignals::endWithin(DesktopSignals::shutdownDeadlineSeconds, displayLostExitCode);
            event = plainEvent(BackendEvent::Type::DisplayLost);
            break;
        }
        if (!wait && queued_.empty()) {
            if (takeQueued(event)) break;
            return false;
        }
    }
    idleSpins_ = 0;
    return true;
}

// Modal, as on Windows: the call returns once the box is dismissed, and until
// then the program's windows keep taking input (the box has no owner to
// disable), so a second box may open over the first.
int WaylandBackend::messageBox(HWND, const char* text, const char* caption, UINT) {
    std::string whyNot;
    if (lost_ || !connect(whyNot)) {
        if (!lost_) std::fprintf(stderr, "%s: %s\n", caption, text);
        return IDOK;
    }
    std::unique_ptr<WaylandMessageBox> box = WaylandMessageBox::open(
        *connection_, caption, text, scale_, [this] { queued_.push_back(plainEvent(BackendEvent::Type::DismissBox)); });
    if (!box) {
        std::fprintf(stderr, "%s: %s\n", caption, text);
        return IDOK;
    }
    runMessageBox(*box);
    return IDOK;
}

// Ends when the box is dismissed, or when the program quits meanwhile.
void WaylandBackend::runMessageBox(WaylandMessageBox& box) {
    boxes_.push_back(&box);
    BackendEvent event;
    while (!box.dismissed() && pumpModal() && nextEvent(event, true))
        if (event.type != BackendEvent::Type::DismissBox) deliverEvent(event);
    std::erase(boxes_, &box);
}

}  // namespace layer
