// A run past 2^32 virtual milliseconds: the frame clock hands on only the
// low 32 bits of the elapsed time, so the animated bar must go on cycling
// across their wrap, and nothing else on the window may change.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "ProgramHarness.h"
#include "app/AppState.h"
#include "app/MainWindow.h"
#include "app/Skin.h"
#include "layer/Headless.h"
#include "res/resource.h"

namespace headless = layer::headless;

namespace {

constexpr int64_t wrapMs = int64_t(1) << 32;
constexpr int barX = 219, barY = 101, barWidth = 7, barHeight = 61;

bool onTheBar(int x, int y) { return x >= barX && x < barX + barWidth && y >= barY && y < barY + barHeight; }

// The window's pixels, the bar's left out; outside the region there is nothing.
std::vector<COLORREF> everythingButTheBar() {
    std::vector<COLORREF> pixels;
    for (int y = 0; y < windowHeight; ++y)
        for (int x = 0; x < windowWidth; ++x) {
            COLORREF colour = 0xFFFFFFFF;
            if (!onTheBar(x, y)) headless::windowPixel(x, y, colour);
            pixels.push_back(colour);
        }
    return pixels;
}

struct WrapFrame {
    int64_t sinceWrapMs;  // the frame's elapsed time, less 2^32
    int bitmap;
};

// The low 32 bits just before the wrap are 4294967186 and 4294967286: steps
// 42949671 and 42949672 of 100 ms, bitmaps 3 and 0; after it the steps
// start again from 0.
const WrapFrame aroundTheWrap[] = {
    {-110, IDB_ANIM_3}, {-10, IDB_ANIM_FIRST}, {10, IDB_ANIM_FIRST},  {110, IDB_ANIM_1},
    {210, IDB_ANIM_2},  {310, IDB_ANIM_3},     {410, IDB_ANIM_FIRST}, {990, IDB_ANIM_1},
};

TEST(LongRun, TheBarCyclesAcrossTheWrapOfTheClocksLow32BitsAndNothingElseChanges) {
    ProgramHarness program;
    // From 100 ms the clock jumps to 1010 ms before the wrap; frames follow
    // every 20 ms from there to 990 ms after it. Each check runs after one
    // frame's sleep, so the window shows the frame composed 20 ms earlier.
    constexpr int64_t fromMs = wrapMs - 1010;
    constexpr int frames = 101;
    std::vector<COLORREF> before;
    POINT position{};
    int presents = 0;
    int checked = 0;
    std::vector<int64_t> shownFrames;

    auto check = [&] {
        int64_t shownAt = AppState::clock.elapsedMs() - int64_t(frameDelayMs);
        EXPECT_EQ(headless::presentCount(), presents + 1) << "one frame since the last check, at " << shownAt;
        presents = headless::presentCount();
        uint32_t low = uint32_t(uint64_t(shownAt));
        EXPECT_TRUE(windowShowsBitmap(IDB_ANIM_FIRST + int(low / 100 % 4), barX, barY))
            << "the frame at 2^32 " << (shownAt >= wrapMs ? "+ " : "- ")
            << (shownAt >= wrapMs ? shownAt - wrapMs : wrapMs - shownAt) << " ms";
        for (const WrapFrame& f : aroundTheWrap) {
            if (shownAt == wrapMs + f.sinceWrapMs) {
                EXPECT_TRUE(windowShowsBitmap(f.bitmap, barX, barY)) << "2^32 + " << f.sinceWrapMs << " ms";
            }
        }
        std::vector<COLORREF> now = everythingButTheBar();
        auto differs = std::mismatch(before.begin(), before.end(), now.begin());
        if (differs.first != before.end()) {
            std::size_t at = std::size_t(differs.first - before.begin());
            ADD_FAILURE() << "pixel (" << at % windowWidth << ", " << at / windowWidth << ") changed from "
                          << describeColour(*differs.first) << " to " << describeColour(*differs.second)
                          << " by the frame at " << shownAt;
        }
        EXPECT_EQ(headless::windowPosition().x, position.x);
        EXPECT_EQ(headless::windowPosition().y, position.y);
        EXPECT_EQ(AppState::runState, AppState::running);
        shownFrames.push_back(shownAt);
        ++checked;
    };

    program.at(100, [&] {
        before = everythingButTheBar();
        position = headless::windowPosition();
        presents = headless::presentCount();
        headless::advanceClock(uint64_t(fromMs - 100));
        uint64_t firstCheck = uint64_t(fromMs) + frameDelayMs;
        for (int k = 0; k < frames; ++k) headless::at(firstCheck + frameDelayMs * uint64_t(k), check);
        headless::requestClose(firstCheck + frameDelayMs * uint64_t(frames));
    });
    EXPECT_EQ(program.run(), 0);
    EXPECT_FALSE(headless::timedOut());

    EXPECT_EQ(checked, frames);
    ASSERT_FALSE(shownFrames.empty());
    EXPECT_EQ(shownFrames.front(), fromMs);
    EXPECT_EQ(shownFrames.back(), wrapMs + 990);
    int wrapFramesSeen = 0;
    for (const WrapFrame& f : aroundTheWrap)
        wrapFramesSeen += int(std::count(shownFrames.begin(), shownFrames.end(), wrapMs + f.sinceWrapMs));
    EXPECT_EQ(wrapFramesSeen, int(std::size(aroundTheWrap)));
}

}  // namespace
