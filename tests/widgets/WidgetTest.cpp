// The plain button: hit testing, press and release, and drawing its two states.
#include <gtest/gtest.h>

#include "ProgramHarness.h"
#include "res/resource.h"
#include "widgets/PushButton.h"

namespace {

int actionRuns = 0;
void countRun() { ++actionRuns; }

class PushButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        ProgramHarness fresh;  // layer, resources and globals as at start-up
        actionRuns = 0;
    }
    HINSTANCE module = GetModuleHandleA(nullptr);
};

struct HitCase {
    int x, y;
    int expected;
};

TEST_F(PushButtonTest, HitTestIsHalfOpen) {
    PushButton info(module, IDB_INFO, IDB_INFO_PRESSED, Rect{187, 202, 201, 211});
    for (HitCase c : {HitCase{187, 202, 1},
                      {200, 210, 1},
                      {201, 205, 0},
                      {190, 211, 0},
                      {186, 205, 0},
                      {190, 201, 0},
                      {-187, -202, 0}})
        EXPECT_EQ(info.hitTest(c.x, c.y), c.expected) << "(" << c.x << ", " << c.y << ")";
}

TEST_F(PushButtonTest, ReleaseRunsTheActionOnlyAfterAPress) {
    PushButton button(module, IDB_STOP, IDB_STOP_PRESSED, Rect{162, 56, 173, 67});
    button.setAction(countRun);
    button.release();
    EXPECT_EQ(actionRuns, 0) << "a button never pressed runs nothing";
    button.press();
    button.press();
    EXPECT_TRUE(button.isPressed());
    button.release();
    button.release();
    EXPECT_EQ(actionRuns, 1) << "two presses and two releases run the action once";
    EXPECT_FALSE(button.isPressed());
}

TEST_F(PushButtonTest, WithoutSetActionReleaseDoesNothingHarmful) {
    PushButton button(module, IDB_RECORD, IDB_RECORD_PRESSED, Rect{198, 56, 209, 67});
    button.press();
    button.release();
    EXPECT_FALSE(button.isPressed());
    EXPECT_EQ(actionRuns, 0);
}

TEST_F(PushButtonTest, SetRectMovesTheHitArea) {
    PushButton button(module, IDB_STOP, IDB_STOP_PRESSED, Rect{162, 56, 173, 67});
    button.setRect(0, 0, 11, 11);
    EXPECT_EQ(button.getRect().right, 11);
    EXPECT_EQ(button.hitTest(5, 5), 1);
    EXPECT_EQ(button.hitTest(165, 60), 0);
}

const COLORREF untouched = RGB(0x5A, 0x5A, 0x5A);

void expectDrawn(const Dib& canvas, int id, int left, int top) {
    ResourceBitmap expected = loadResourceBitmap(id);
    ASSERT_GT(expected.width, 0);
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x)
            ASSERT_EQ(canvas.pixel(left + x, top + y), expected.at(x, y))
                << "bitmap " << id << " pixel (" << x << ", " << y << ")";
}

TEST_F(PushButtonTest, DrawsThePressedBitmapWhilePressedAndNothingOutside) {
    // A canvas a little larger than the button, so that drawing outside it shows.
    Dib canvas = makeDib(30, 30, true);
    canvas.fill([](int, int) { return untouched; });
    HDC dc = dcWith(canvas.handle);
    PushButton stop(module, IDB_STOP, IDB_STOP_PRESSED, Rect{5, 7, 16, 18});
    stop.draw(dc);
    expectDrawn(canvas, IDB_STOP, 5, 7);
    stop.press();
    stop.draw(dc);
    expectDrawn(canvas, IDB_STOP_PRESSED, 5, 7);
    stop.release();
    stop.draw(dc);
    expectDrawn(canvas, IDB_STOP, 5, 7);
    for (int x = 0; x < 30; ++x) {
        EXPECT_EQ(canvas.pixel(x, 6), untouched) << "row above, x " << x;
        EXPECT_EQ(canvas.pixel(x, 18), untouched) << "row below, x " << x;
    }
    EXPECT_EQ(canvas.pixel(4, 10), untouched);
    EXPECT_EQ(canvas.pixel(16, 10), untouched);
}

}  // namespace
