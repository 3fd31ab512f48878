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

// Draws into a DIB section a little larger than the button and reads it back.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        dc_ = CreateCompatibleDC(nullptr);
        SelectObject(dc_, bitmap_);
        for (int i = 0; i < stride() * height; ++i) bits_[i] = 0x5A;
    }
    HDC dc() const { return dc_; }
    int stride() const { return ((width_ * 24 + 31) / 32) * 4; }
    COLORREF at(int x, int y) const {
        const uint8_t* p = bits_ + std::size_t(height_ - 1 - y) * stride() + 3 * x;
        return RGB(p[2], p[1], p[0]);
    }

private:
    int width_, height_;
    HBITMAP bitmap_ = nullptr;
    HDC dc_ = nullptr;
    uint8_t* bits_ = nullptr;
};

void expectDrawn(const Canvas& canvas, int id, int left, int top) {
    ResourceBitmap expected = loadResourceBitmap(id);
    ASSERT_GT(expected.width, 0);
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x)
            ASSERT_EQ(canvas.at(left + x, top + y), expected.at(x, y))
                << "bitmap " << id << " pixel (" << x << ", " << y << ")";
}

TEST_F(PushButtonTest, DrawsThePressedBitmapWhilePressedAndNothingOutside) {
    Canvas canvas(30, 30);
    PushButton stop(module, IDB_STOP, IDB_STOP_PRESSED, Rect{5, 7, 16, 18});
    stop.draw(canvas.dc());
    expectDrawn(canvas, IDB_STOP, 5, 7);
    stop.press();
    stop.draw(canvas.dc());
    expectDrawn(canvas, IDB_STOP_PRESSED, 5, 7);
    stop.release();
    stop.draw(canvas.dc());
    expectDrawn(canvas, IDB_STOP, 5, 7);
    for (int x = 0; x < 30; ++x) {
        EXPECT_EQ(canvas.at(x, 6), RGB(0x5A, 0x5A, 0x5A)) << "row above, x " << x;
        EXPECT_EQ(canvas.at(x, 18), RGB(0x5A, 0x5A, 0x5A)) << "row below, x " << x;
    }
    EXPECT_EQ(canvas.at(4, 10), RGB(0x5A, 0x5A, 0x5A));
    EXPECT_EQ(canvas.at(16, 10), RGB(0x5A, 0x5A, 0x5A));
}

}  // namespace
