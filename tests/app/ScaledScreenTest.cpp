// The whole program on a screen whose backend shows each of its pixels as an
// N x N block: the program sees the same window, coordinates and screen it
// sees at N = 1 (the screen's size divided by N), while the pointer and the
// window's place are counted in device pixels.
#include <gtest/gtest.h>

#include "ProgramHarness.h"
#include "app/AppState.h"
#include "layer/Headless.h"
#include "res/resource.h"
#include "widgets/Slider.h"

namespace headless = layer::headless;

namespace {

int floorDiv(int value, int divisor) { return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor); }

struct ScaledScreen {
    int scale;
    int deviceWidth, deviceHeight;
    POINT origin;  // where the program centres its window, in its own pixels
};

const ScaledScreen screens[] = {
    {2, 1920, 1080, {317, 134}},  // 960 x 540 for the program
    {3, 3840, 2160, {477, 224}},  // 1280 x 720
    {2, 651, 400, {-1, -36}},     // 325 x 200: narrower and lower than the window
};

class ScaledProgram {
public:
    explicit ScaledProgram(const ScaledScreen& screen) : screen_(screen) {
        headless::setScale(screen.scale);
        headless::setScreenSize(screen.deviceWidth, screen.deviceHeight);
    }

    // The device pixel at offset (dx, dy) inside the program's pixel (x, y).
    POINT device(int x, int y, int dx = 0, int dy = 0) const {
        return POINT{(screen_.origin.x + x) * screen_.scale + dx, (screen_.origin.y + y) * screen_.scale + dy};
    }
    void press(uint64_t atMs, POINT p) { headless::buttonDown(atMs, p.x, p.y); }
    void move(uint64_t atMs, POINT p) { headless::moveTo(atMs, p.x, p.y); }
    void release(uint64_t atMs, POINT p) { headless::buttonUp(atMs, p.x, p.y); }
    int run() { return program_.run(); }
    void at(uint64_t atMs, std::function<void()> check) { program_.at(atMs, std::move(check)); }
    void close(uint64_t atMs) { program_.close(atMs); }

private:
    ProgramHarness program_;
    ScaledScreen screen_;
};

TEST(ScaledScreen, TheProgramCentresItsWindowOnTheScreenItIsShown) {
    for (const ScaledScreen& screen : screens) {
        SCOPED_TRACE(screen.scale);
        ScaledProgram program(screen);
        program.at(100, [&] {
            EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), screen.deviceWidth / screen.scale);
            EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), screen.deviceHeight / screen.scale);
            EXPECT_EQ(headless::windowPosition().x, screen.origin.x);
            EXPECT_EQ(headless::windowPosition().y, screen.origin.y);
            EXPECT_EQ(headless::windowDevicePosition().x, screen.origin.x * screen.scale);
            EXPECT_EQ(headless::windowDevicePosition().y, screen.origin.y * screen.scale);
            EXPECT_EQ(headless::windowSize().cx, 326);
        });
        program.close(200);
        EXPECT_EQ(program.run(), 0);
    }
}

// Record spans (198, 56) to (209, 67): the last device pixel of its block
// (208, 66) presses it, the first one past it does not.
TEST(ScaledScreen, EveryDevicePixelOfAControlsBlockBelongsToIt) {
    for (const ScaledScreen& screen : screens) {
        SCOPED_TRACE(screen.scale);
        const int last = screen.scale - 1;
        ScaledProgram program(screen);
        program.press(100, program.device(208, 66, last, last));
        program.at(150, [] { EXPECT_TRUE(windowShowsBitmap(IDB_RECORD_PRESSED, 198, 56)); });
        program.release(200, program.device(208, 66, last, last));
        program.press(300, program.device(209, 66));
        program.at(350, [] { EXPECT_TRUE(windowShowsBitmap(IDB_RECORD, 198, 56)); });
        program.release(400, program.device(209, 66));
        program.press(500, program.device(208, 67));
        program.at(550, [] { EXPECT_TRUE(windowShowsBitmap(IDB_RECORD, 198, 56)); });
        program.release(600, program.device(208, 67));
        program.close(700);
        EXPECT_EQ(program.run(), 0);
    }
}

// The slider reads the cursor in the program's pixels: 2N device pixels
// down move the volume thumb 2, and N - 1 more move it no further.
TEST(ScaledScreen, ADragOfTwoBlocksMovesTheThumbTwoPixels) {
    for (const ScaledScreen& screen : screens) {
        SCOPED_TRACE(screen.scale);
        ScaledProgram program(screen);
        POINT start = program.device(39, 80);
        program.press(100, start);
        program.move(150, POINT{start.x, start.y + 2 * screen.scale});
        program.at(200, [] { EXPECT_EQ(AppState::volume->thumbRect().top, 79); });
        program.move(250, POINT{start.x, start.y + 3 * screen.scale - 1});
        program.at(300, [] { EXPECT_EQ(AppState::volume->thumbRect().top, 79); });
        program.release(350, POINT{start.x, start.y + 3 * screen.scale - 1});
        program.at(400, [] { EXPECT_TRUE(windowShowsBitmap(IDB_VOLUME_THUMB, 35, 79)); });
        program.close(500);
        EXPECT_EQ(program.run(), 0);
    }
}

// A press on bare skin moves the window by exactly the pointer's movement in
// device pixels, even by less than one of the program's pixels; the program
// sees its window where the block it starts in lies.
TEST(ScaledScreen, TheWindowFollowsThePointerDevicePixelForDevicePixel) {
    for (const ScaledScreen& screen : screens) {
        SCOPED_TRACE(screen.scale);
        ScaledProgram program(screen);
        POINT start = program.device(100, 150);
        POINT origin = program.device(0, 0);
        program.press(100, start);
        program.move(150, POINT{start.x + 1, start.y - 7});
        program.at(200, [&] {
            EXPECT_EQ(headless::windowDevicePosition().x, origin.x + 1);
            EXPECT_EQ(headless::windowDevicePosition().y, origin.y - 7);
            EXPECT_EQ(headless::windowPosition().x, screen.origin.x);
            EXPECT_EQ(headless::windowPosition().y, floorDiv(origin.y - 7, screen.scale));
        });
        program.release(250, POINT{start.x + 1, start.y - 7});
        program.close(300);
        EXPECT_EQ(program.run(), 0);
    }
}

}  // namespace
