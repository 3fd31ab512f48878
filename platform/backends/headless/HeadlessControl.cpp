// The tests' handle on the layer: a fresh headless start, resources, injected
// failures, and the script and view of the headless backend.
#include <algorithm>

#include "HeadlessBackend.h"
#include "Layer.h"
#include "Window.h"
#include "layer/Headless.h"
#include "layer/Testing.h"

namespace layer {

namespace {

HeadlessBackend& headlessBackend() {
    HeadlessBackend* backend = HeadlessBackend::current();
    if (!backend) {
        testing::resetHeadless();
        backend = HeadlessBackend::current();
    }
    return *backend;
}

Window* liveWindow() {
    Layer& layer = Layer::get();
    return layer.windows.empty() ? nullptr : layer.window(layer.windows.front());
}

BackendEvent pointer(BackendEvent::Type type, int x, int y, WPARAM modifiers) {
    return BackendEvent{type, x, y, modifiers & (MK_SHIFT | MK_CONTROL)};
}

}  // namespace

namespace testing {

void resetHeadless() { Layer::get().reset(std::make_unique<HeadlessBackend>()); }

void hideResource(int id) { Layer::get().hiddenResources.push_back(id); }

void failCreation(Creation kind, int nth) { Layer::get().failAt[int(kind)] = nth; }

std::size_t liveObjects() { return Layer::get().objects.liveCount(); }

int creationCount(Creation kind) { return Layer::get().creations[int(kind)]; }

}  // namespace testing

namespace headless {

void setScreenSize(int width, int height) { headlessBackend().screen_ = SIZE{width, height}; }
void setScale(int devicePixelsPerPixel) { headlessBackend().scale_ = std::max(1, devicePixelsPerPixel); }
void setCounterFrequency(LONGLONG ticksPerSecond) { headlessBackend().frequency_ = ticksPerSecond; }
void setIdleLimitMs(uint64_t milliseconds) { headlessBackend().idleLimitMs_ = milliseconds; }

void moveTo(uint64_t atMs, int x, int y, WPARAM modifiers) {
    headlessBackend().schedule(atMs, pointer(BackendEvent::Type::PointerMove, x, y, modifiers));
}
void buttonDown(uint64_t atMs, int x, int y, WPARAM modifiers) {
    headlessBackend().schedule(atMs, pointer(BackendEvent::Type::PointerDown, x, y, modifiers));
}
void buttonUp(uint64_t atMs, int x, int y, WPARAM modifiers) {
    headlessBackend().schedule(atMs, pointer(BackendEvent::Type::PointerUp, x, y, modifiers));
}
void dismissMessageBox(uint64_t atMs) {
    headlessBackend().schedule(atMs, BackendEvent{BackendEvent::Type::DismissBox, 0, 0, 0});
}
void requestClose(uint64_t atMs) {
    headlessBackend().schedule(atMs, BackendEvent{BackendEvent::Type::CloseRequest, 0, 0, 0});
}
void loseDisplay(uint64_t atMs) {
    headlessBackend().schedule(atMs, BackendEvent{BackendEvent::Type::DisplayLost, 0, 0, 0});
}
void restoreWindow(uint64_t atMs) {
    headlessBackend().schedule(atMs, BackendEvent{BackendEvent::Type::Restore, 0, 0, 0});
}
void at(uint64_t atMs, std::function<void()> call) { headlessBackend().schedule(atMs, std::move(call)); }

void advanceClock(uint64_t milliseconds) { headlessBackend().advance(milliseconds); }
uint64_t nowMs() { return headlessBackend().nowMs(); }
uint64_t scriptEndMs() { return headlessBackend().scriptEndMs(); }

bool windowPixel(int x, int y, COLORREF& colour) {
    HeadlessBackend& backend = headlessBackend();
    const Window* window = liveWindow();
    const Bitmap* picture = window ? &window->surface : (backend.lastPicture_ ? &*backend.lastPicture_ : nullptr);
    const Region* region = window ? window->region.get() : (backend.lastRegion_ ? &*backend.lastRegion_ : nullptr);
    if (!picture || x < 0 || y < 0 || x >= picture->width() || y >= picture->height()) return false;
    if (region && !region->contains(x, y)) return false;
    colour = picture->pixel(x, y);
    return true;
}

POINT windowPosition() {
    const Window* window = liveWindow();
    return window ? POINT{window->x, window->y} : headlessBackend().lastPosition_;
}

POINT windowDevicePosition() {
    const Window* window = liveWindow();
    return window ? POINT{window->deviceX, window->deviceY} : headlessBackend().lastDevicePosition_;
}

std::string windowTitle() {
    const Window* window = liveWindow();
    return window ? window->title : headlessBackend().lastTitle_;
}

SIZE windowSize() {
    HeadlessBackend& backend = headlessBackend();
    if (const Window* window = liveWindow()) return SIZE{window->width, window->height};
    return backend.lastPicture_ ? SIZE{backend.lastPicture_->width(), backend.lastPicture_->height()} : SIZE{0, 0};
}

std::pair<int, int> lastPresentedRows() { return headlessBackend().lastPresentedRows_; }
int presentCount() { return headlessBackend().presents_; }
int frameSleeps() { return headlessBackend().sleeps_; }
bool windowMinimized() {
    const Window* window = liveWindow();
    return window ? window->minimized : headlessBackend().lastMinimized_;
}
const std::vector<MessageBoxRecord>& messageBoxes() { return headlessBackend().boxes_; }
bool messageBoxOpen() { return headlessBackend().boxOpen_; }
bool timedOut() { return headlessBackend().timedOut_; }

}  // namespace headless
}  // namespace layer
