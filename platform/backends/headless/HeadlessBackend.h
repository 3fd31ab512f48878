// The backend without a display: virtual time, scripted input, and a record
// of everything the program showed.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Backend.h"
#include "Bitmap.h"
#include "Region.h"
#include "layer/Headless.h"

namespace layer {

class HeadlessBackend : public Backend {
public:
    static HeadlessBackend* current();

    SIZE screenSize() override { return screen_; }
    int scale() override { return scale_; }
    LONGLONG counterFrequency() override { return frequency_; }
    LONGLONG counter() override { return ticks_; }
    void sleep(DWORD milliseconds) override;
    POINT cursorPosition() override { return cursor_; }
    bool showWindow(Window& window, std::string& whyNot) override;
    void hideWindow(Window& window) override;
    void present(Window& window) override;
    void reshape(Window&) override {}
    void place(Window& window) override;
    void minimize(Window& window) override;
    bool nextEvent(BackendEvent& event, bool wait) override;
    int messageBox(HWND owner, const char* text, const char* caption, UINT type) override;
    void idle() override;

    void schedule(uint64_t atMs, BackendEvent event);
    void schedule(uint64_t atMs, std::function<void()> call);
    void advance(uint64_t milliseconds) { ticks_ += ticksFor(milliseconds); }
    uint64_t nowMs() const { return uint64_t(ticks_) * 1000 / uint64_t(frequency_); }
    uint64_t scriptEndMs() const { return lastScheduledMs_; }

    SIZE screen_{1024, 768};  // in device pixels
    int scale_ = 1;
    LONGLONG frequency_ = 10'000'000;
    uint64_t idleLimitMs_ = 60'000;
    bool timedOut_ = false;
    int presents_ = 0;
    std::pair<int, int> lastPresentedRows_{0, 0};
    int sleeps_ = 0;
    bool boxOpen_ = false;
    std::vector<headless::MessageBoxRecord> boxes_;

    // The window last seen, kept after it is destroyed.
    HWND windowHandle_ = nullptr;
    std::optional<Bitmap> lastPicture_;
    std::optional<Region> lastRegion_;
    POINT lastPosition_{0, 0};
    POINT lastDevicePosition_{0, 0};
    std::string lastTitle_;
    bool lastMinimized_ = false;

private:
    struct Entry {
        std::optional<BackendEvent> event;
        std::function<void()> call;
    };
    LONGLONG ticksFor(uint64_t milliseconds) const { return LONGLONG(milliseconds * uint64_t(frequency_) / 1000); }
    bool takeDue(BackendEvent& event);
    bool closeWhenIdleTooLong(BackendEvent& event);

    LONGLONG ticks_ = 0;
    POINT cursor_{0, 0};
    std::multimap<uint64_t, Entry> script_;  // keyed by milliseconds; equal times keep their order
    uint64_t lastScheduledMs_ = 0;
    int idleSpins_ = 0;
};

}  // namespace layer
