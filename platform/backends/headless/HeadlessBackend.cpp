#include "HeadlessBackend.h"

#include "Layer.h"
#include "Window.h"

namespace layer {

namespace {
// A program that polls this often without sleeping is spinning; real time
// would pass meanwhile, so virtual time does too.
constexpr int spinsBeforeTimePasses = 10'000;
}  // namespace

HeadlessBackend* HeadlessBackend::current() { return dynamic_cast<HeadlessBackend*>(&Layer::get().backend()); }

void HeadlessBackend::sleep(DWORD milliseconds) {
    ++sleeps_;
    idleSpins_ = 0;
    advance(milliseconds);
}

void HeadlessBackend::idle() {
    if (++idleSpins_ > spinsBeforeTimePasses) advance(1);
}

bool HeadlessBackend::showWindow(Window& window, std::string&) {
    lastPicture_.reset();
    lastRegion_.reset();
    place(window);
    lastTitle_ = window.title;
    return true;
}

void HeadlessBackend::hideWindow(Window& window) {
    lastPicture_.emplace(window.surface);
    if (window.region) lastRegion_.emplace(*window.region);
    lastMinimized_ = window.minimized;
}

void HeadlessBackend::present(Window& window) {
    ++presents_;
    Window::Rows rows = window.takeChanged();
    lastPresentedRows_ = {rows.top, rows.bottom};
}

void HeadlessBackend::place(Window& window) {
    lastPosition_ = POINT{window.x, window.y};
    lastDevicePosition_ = POINT{window.deviceX, window.deviceY};
}

void HeadlessBackend::minimize(Window&) { lastMinimized_ = true; }

void HeadlessBackend::schedule(uint64_t atMs, BackendEvent event) {
    lastScheduledMs_ = std::max(lastScheduledMs_, atMs);
    script_.emplace(atMs, Entry{event, {}});
}

void HeadlessBackend::schedule(uint64_t atMs, std::function<void()> call) {
    lastScheduledMs_ = std::max(lastScheduledMs_, atMs);
    script_.emplace(atMs, Entry{std::nullopt, std::move(call)});
}

// Hands out the first entry that is due, running test code on the way.
bool HeadlessBackend::takeDue(BackendEvent& event) {
    while (!script_.empty() && script_.begin()->first <= nowMs()) {
        Entry entry = std::move(script_.begin()->second);
        script_.erase(script_.begin());
        if (entry.call) {
            entry.call();
            continue;
        }
        event = *entry.event;
        if (event.type == BackendEvent::Type::PointerMove || event.type == BackendEvent::Type::PointerDown ||
            event.type == BackendEvent::Type::PointerUp)
            cursor_ = POINT{event.screenX, event.screenY};
        return true;
    }
    return false;
}

bool HeadlessBackend::closeWhenIdleTooLong(BackendEvent& event) {
    if (timedOut_ || !script_.empty() || nowMs() < lastScheduledMs_ + idleLimitMs_) return false;
    timedOut_ = true;
    event = BackendEvent{BackendEvent::Type::CloseRequest, cursor_.x, cursor_.y, 0};
    return true;
}

bool HeadlessBackend::nextEvent(BackendEvent& event, bool wait) {
    for (;;) {
        if (takeDue(event)) return true;
        if (!wait) return closeWhenIdleTooLong(event);
        if (script_.empty()) return false;
        uint64_t dueMs = script_.begin()->first;
        LONGLONG dueTicks = LONGLONG((dueMs * uint64_t(frequency_) + 999) / 1000);
        if (dueTicks > ticks_) ticks_ = dueTicks;
    }
}

// Modal: records the box, then keeps the window's messages flowing (the box
// has no owner, so the window still takes input) until the script dismisses it.
int HeadlessBackend::messageBox(HWND owner, const char* text, const char* caption, UINT type) {
    boxes_.push_back({owner, text, caption, type, nowMs()});
    bool wasOpen = boxOpen_;
    boxOpen_ = true;
    BackendEvent event;
    while (nextEvent(event, true)) {
        if (event.type == BackendEvent::Type::DismissBox) break;
        deliverEvent(event);
        if (!pumpModal()) break;
    }
    boxOpen_ = wasOpen;
    return IDOK;
}

}  // namespace layer
