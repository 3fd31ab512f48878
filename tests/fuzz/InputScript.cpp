#include "InputScript.h"

#include <windows.h>

#include <string>

#include "ProgramHarness.h"
#include "app/AppState.h"
#include "app/FrameComposer.h"
#include "layer/Headless.h"
#include "widgets/Slider.h"
#include "widgets/ToggleButton.h"

namespace inputscript {

namespace {

namespace headless = layer::headless;

// Bounds that keep one input quick: steps, virtual time spent in frames (the
// clock's jumps aside) and jumps, which keep the tick counter far from overflow.
constexpr int maxSteps = 400;
constexpr uint64_t maxWaitedMs = 20'000;
constexpr int maxJumps = 16;
// Should the program not end on the close request, the system asks again
// after this long and the run fails.
constexpr uint64_t idleLimitMs = 5'000;

constexpr uint64_t delays[8] = {0, 1, 4, 10, 20, 35, 60, 120};
// The next step comes a frame after the last event of this one: by then the
// main loop has polled again, so every message of this step has been
// dispatched before the next check and before the next step aims at a thumb
// or at the window where it is now. Events closer together than a frame
// come from within a step (a short click, a drag).
constexpr uint64_t settleMs = 20;
constexpr uint64_t wrapMs = uint64_t(1) << 32;

constexpr int scrollThumbHeight = 24;
constexpr int volumeThumbHeight = 8;

// Where pointer steps can aim, in client coordinates: the controls, the two
// thumbs where they are now and three spots of bare skin.
Rect targetRect(int index) {
    static constexpr Rect controls[] = {
        {187, 202, 201, 211},  // info
        {185, 23, 199, 38},    // close
        {172, 23, 185, 38},    // minimise
        {173, 56, 184, 67},    // pause
        {151, 56, 162, 67},    // play
        {162, 56, 173, 67},    // stop
        {198, 56, 209, 67},    // record
        {207, 182, 214, 189},  // down arrow
        {207, 71, 214, 78},    // up arrow
    };
    static constexpr Rect bareSkin[] = {{60, 110, 76, 126}, {240, 90, 256, 106}, {120, 150, 136, 166}};
    switch (index) {
        case 9:
        case 10:
            if (AppState::scroll) return AppState::scroll->thumbRect();
            return Rect{207, 79, 214, 103};
        case 11:
        case 12:
            if (AppState::volume) return AppState::volume->thumbRect();
            return Rect{35, 77, 44, 85};
        case 13:
        case 14:
        case 15:
            return bareSkin[index - 13];
        default:
            return controls[index];
    }
}

class Run {
public:
    Run(const uint8_t* data, std::size_t size, const ViolationHandler& onViolation)
        : data_(data), size_(size), onViolation_(onViolation) {}

    void step();
    void check();
    // Checks at that time, ahead of the events this step schedules for it afterwards.
    void checkAt(uint64_t atMs) {
        headless::at(atMs, [this] { check(); });
    }
    void ended(int exitCode);

    Outcome outcome;

private:
    uint8_t next() { return position_ < size_ ? data_[position_++] : 0; }
    bool exhausted() const { return position_ >= size_; }
    POINT point();
    void violate(const std::string& what);
    void finish(uint64_t atMs);

    const uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
    const ViolationHandler& onViolation_;
    uint64_t waitedMs_ = 0;
    int jumps_ = 0;
    bool stopped_ = false;
    bool ended_ = false;
};

// A point in screen coordinates.
POINT Run::point() {
    uint8_t where = next();
    POINT window = headless::windowPosition();
    if (where < 0xC0) {
        Rect target = targetRect(where % 16);
        uint8_t offset = next();
        return POINT{window.x + target.left + (offset & 15) - 2, window.y + target.top + (offset >> 4) - 2};
    }
    if (where < 0xF0) {
        int x = next() + 256 * (where & 1) - 64;
        int y = next() + 256 * ((where >> 1) & 1) - 64;
        return POINT{window.x + x, window.y + y};
    }
    auto signed16 = [this] {
        unsigned low = next();
        unsigned high = next();
        return int(int16_t(uint16_t(low | (high << 8))));
    };
    int x = signed16();
    int y = signed16();
    return POINT{x, y};
}

void Run::step() {
    check();
    if (stopped_) return;
    uint64_t now = headless::nowMs();
    if (exhausted() || outcome.steps >= maxSteps || waitedMs_ >= maxWaitedMs) {
        finish(now);
        return;
    }
    uint8_t op = next();
    ++outcome.steps;
    WPARAM modifiers = ((op & 0x08) ? MK_SHIFT : 0) | ((op & 0x10) ? MK_CONTROL : 0);
    uint64_t t = now + delays[op >> 5];
    waitedMs_ += delays[op >> 5];
    switch (op & 7) {
        case 0: {
            POINT p = point();
            headless::moveTo(t, p.x, p.y, modifiers);
            break;
        }
        case 1: {
            POINT p = point();
            headless::buttonDown(t, p.x, p.y, modifiers);
            break;
        }
        case 2: {
            POINT p = point();
            headless::buttonUp(t, p.x, p.y, modifiers);
            break;
        }
        case 3: {
            POINT p = point();
            uint64_t hold = next() & 63;
            headless::buttonDown(t, p.x, p.y, modifiers);
            checkAt(t + hold);
            headless::buttonUp(t + hold, p.x, p.y, modifiers);
            t += hold;
            waitedMs_ += hold;
            break;
        }
        case 4: {
            POINT from = point();
            POINT to = point();
            uint8_t shape = next();
            int moves = (shape & 7) + 1;
            uint64_t spacing = (shape & 8) ? 10 : 20;
            headless::buttonDown(t, from.x, from.y, modifiers);
            for (int i = 1; i <= moves; ++i) {
                int x = from.x + (to.x - from.x) * i / moves;
                int y = from.y + (to.y - from.y) * i / moves;
                checkAt(t + spacing * uint64_t(i));
                headless::moveTo(t + spacing * uint64_t(i), x, y, modifiers);
            }
            t += spacing * uint64_t(moves + 1);
            waitedMs_ += spacing * uint64_t(moves + 1);
            checkAt(t);
            headless::buttonUp(t, to.x, to.y, modifiers);
            break;
        }
        case 5:
            if (op & 0x08)
                headless::restoreWindow(t);
            else
                headless::dismissMessageBox(t);
            break;
        case 6: {
            uint8_t b = next();
            if (b < 0xF0) {
                t += 4 * uint64_t(b);
                waitedMs_ += 4 * uint64_t(b);
                break;
            }
            uint64_t amount = next();
            if (jumps_++ >= maxJumps) break;
            headless::at(t, [amount, forward = (b & 1) != 0] {
                if (forward) {
                    headless::advanceClock(amount << 16);
                    return;
                }
                // To just before the frame clock's low 32 bits wrap.
                uint64_t before = amount * 4;
                uint64_t toWrap = wrapMs - uint32_t(uint64_t(AppState::clock.elapsedMs()));
                headless::advanceClock(toWrap > before ? toWrap - before : toWrap + wrapMs - before);
            });
            break;
        }
        default:
            if (op == 7) {
                finish(t);
                return;
            }
            t += 20 * uint64_t(op >> 3);
            waitedMs_ += 20 * uint64_t(op >> 3);
            break;
    }
    t += settleMs;
    waitedMs_ += settleMs;
    headless::at(t, [this] { step(); });
}

void Run::check() {
    ++outcome.checks;
    std::string broken = brokenInvariant();
    if (!broken.empty()) violate(broken);
}

void Run::violate(const std::string& what) {
    if (!outcome.violation.empty()) return;
    outcome.violation = what;
    onViolation_(what);
    if (!ended_ && !stopped_) finish(headless::nowMs());
}

void Run::finish(uint64_t atMs) {
    stopped_ = true;
    headless::requestClose(atMs);
}

void Run::ended(int exitCode) {
    ended_ = true;
    outcome.exitCode = exitCode;
    if (exitCode != 0) violate("the program ended with exit code " + std::to_string(exitCode));
    if (headless::timedOut()) violate("the program did not end when it was asked to close");
    if (AppState::runState != AppState::closing) violate("the program ended without closing");
    if (IsWindow(AppState::window)) violate("the window outlived the program");
    check();
}

std::string describe(const Rect& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

}  // namespace

std::string brokenInvariant() {
    using namespace AppState;
    if (runState != running && runState != closing) return "run state " + std::to_string(runState);
    if (runState == running && !IsWindow(window)) return "running without a window";
    if (!scroll || !volume || !AppState::play || !AppState::pause) return "a control was not built";

    struct SliderCase {
        const char* name;
        Slider* slider;
        int thumbHeight;
    };
    for (const SliderCase& s :
         {SliderCase{"scroll", scroll, scrollThumbHeight}, SliderCase{"volume", volume, volumeThumbHeight}}) {
        Rect track = s.slider->getRect();
        Rect thumb = s.slider->thumbRect();
        std::string where = std::string(s.name) + " thumb " + describe(thumb) + " in track " + describe(track);
        if (thumb.top < track.top || thumb.bottom > track.bottom) return where + ": outside its track";
        if (thumb.bottom != thumb.top + s.thumbHeight)
            return where + ": not " + std::to_string(s.thumbHeight) + " high";
        if (thumb.left != track.left || thumb.right != track.right) return where + ": off its track's columns";
    }

    struct ToggleCase {
        const char* name;
        ToggleButton* toggle;
    };
    for (const ToggleCase& t : {ToggleCase{"play", AppState::play}, ToggleCase{"pause", AppState::pause}})
        if (!t.toggle->isPressed() && t.toggle->hasPendingAction())
            return std::string(t.name) + " is switched off with its action pending";

    int percent = volumePercent(volume->value());
    if (percent < 0 || percent > 100) return "the read-out says " + std::to_string(percent) + " %";
    return {};
}

Outcome play(const uint8_t* data, std::size_t size, const ViolationHandler& onViolation) {
    ProgramHarness program;
    headless::setIdleLimitMs(idleLimitMs);
    Run run(data, size, onViolation);
    headless::at(0, [&run] { run.step(); });
    run.ended(program.run());
    return run.outcome;
}

}  // namespace inputscript
