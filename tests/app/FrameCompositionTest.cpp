// What each frame shows: the animated bar by the time, and the read-out.
#include <gtest/gtest.h>

#include <cstdio>

#include "ProgramHarness.h"
#include "app/AppState.h"
#include "app/FrameComposer.h"
#include "layer/Headless.h"
#include "res/resource.h"
#include "text/TextStyle.h"
#include "widgets/Slider.h"

namespace headless = layer::headless;

namespace {

struct AnimationCase {
    uint32_t t;
    int frame;
};

TEST(FrameComposition, TheAnimationFrameFollowsTheTime) {
    const AnimationCase cases[] = {{0, 0},   {99, 0},  {100, 1}, {199, 1},         {200, 2},        {300, 3},
                                   {399, 3}, {400, 0}, {401, 0}, {4294967295u, 0}, {4294967195u, 3}};
    for (AnimationCase c : cases) EXPECT_EQ(animationFrameAt(c.t), c.frame) << c.t << " ms";
}

// Frames run every 20 ms from 0; a check at time T runs at the first poll at
// or after T, before that poll's frame, so it sees the frame composed 20 ms
// before that poll.
TEST(FrameComposition, TheBarShowsEachFrameInTurn) {
    ProgramHarness program;
    const AnimationCase shown[] = {{90, 0}, {110, 1}, {190, 1}, {290, 2}, {390, 3}, {410, 0}, {430, 0}, {590, 1}};
    for (AnimationCase c : shown)
        program.at(c.t, [c] {
            EXPECT_TRUE(windowShowsBitmap(IDB_ANIM_FIRST + c.frame, 219, 101)) << "checked at " << c.t << " ms";
        });
    program.close(600);
    EXPECT_EQ(program.run(), 0);
}

struct PercentCase {
    int thumbOffset;  // pixels below the top of the volume track
    int percent;
};

TEST(FrameComposition, TheReadOutNumberFollowsTheVolumeThumb) {
    const PercentCase cases[] = {{0, 100}, {1, 98}, {30, 50}, {60, 1}, {61, 0}};
    for (PercentCase c : cases) {
        ProgramHarness program;
        program.press(100, 39, 80);
        program.move(120, 39, 80 + c.thumbOffset);
        program.release(140, 39, 80 + c.thumbOffset);
        program.at(200, [c] {
            EXPECT_EQ(AppState::volume->thumbRect().top, 77 + c.thumbOffset);
            EXPECT_EQ(volumePercent(AppState::volume->value()), c.percent) << c.thumbOffset << " pixels down";
        });
        program.close(300);
        EXPECT_EQ(program.run(), 0);
    }
}

// Renders what the read-out should look like: the background with the text
// drawn on it as the frame draws it.
class ReadOutPicture {
public:
    explicit ReadOutPicture(const char* text) : picture_(makeDib(326, 272, true)), dc_(dcWith(picture_.handle)) {
        HBITMAP background = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_BACKGROUND));
        HDC backgroundDC = dcWith(background);
        BitBlt(dc_, 0, 0, 326, 272, backgroundDC, 0, 0, SRCCOPY);
        DeleteDC(backgroundDC);
        DeleteObject(background);
        SetBkMode(dc_, TRANSPARENT);
        TextStyle style;
        style.set("Verdana", 7, 0x0DCC0D, 0, false, false, false, false);
        style.draw(text, dc_, 47, 196);
    }
    ~ReadOutPicture() {
        DeleteDC(dc_);
        DeleteObject(picture_.handle);
    }
    COLORREF at(int x, int y) const { return picture_.pixel(x, y); }

private:
    Dib picture_;
    HDC dc_;
};

void expectReadOut(const char* text) {
    ReadOutPicture expected(text);
    int green = 0;
    for (int y = 190; y < 212; ++y) {
        for (int x = 45; x < 140; ++x) {
            COLORREF shown;
            ASSERT_TRUE(headless::windowPixel(x, y, shown));
            ASSERT_EQ(shown, expected.at(x, y))
                << text << ": pixel (" << x << ", " << y << ") is " << describeColour(shown) << ", expected "
                << describeColour(expected.at(x, y));
            green += shown == RGB(0x0D, 0xCC, 0x0D);
        }
    }
    EXPECT_GT(green, 20) << text << ": the digits' cores are full green";
}

TEST(FrameComposition, TheReadOutIsGreenTextAt47By196) {
    ProgramHarness program;
    program.at(100, [] { expectReadOut("Volume: 100"); });
    program.press(200, 39, 80);
    program.move(220, 39, 81);
    program.release(240, 39, 81);
    program.at(300, [] { expectReadOut("Volume: 98"); });
    program.close(400);
    EXPECT_EQ(program.run(), 0);
}

}  // namespace
