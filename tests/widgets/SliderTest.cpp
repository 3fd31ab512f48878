// The slider's arithmetic: drag steps against the cursor, value and setValue.
#include <gtest/gtest.h>

#include "ProgramHarness.h"
#include "layer/Headless.h"
#include "res/resource.h"
#include "widgets/Slider.h"

namespace headless = layer::headless;

namespace {

// The scroll bar's track: 78 pixels of travel for a 24-pixel thumb.
const Rect scrollTrack{207, 79, 214, 181};

class SliderTest : public ::testing::Test {
protected:
    void SetUp() override { ProgramHarness fresh; }
    Slider make() { return Slider(GetModuleHandleA(nullptr), IDB_THUMB, IDB_THUMB_PRESSED, 24, scrollTrack); }
    // Puts the cursor at screen row y, as the next poll would.
    void cursorTo(int y) {
        headless::moveTo(headless::nowMs(), 500, y);
        MSG ignored;
        PeekMessageA(&ignored, nullptr, 0, 0, PM_REMOVE);
    }
};

TEST_F(SliderTest, StartsAtTheTopWithValueZero) {
    Slider slider = make();
    EXPECT_EQ(slider.thumbRect().top, 79);
    EXPECT_EQ(slider.thumbRect().bottom, 103);
    EXPECT_EQ(slider.value(), 0.0);
}

struct SetValueCase {
    float v;
    int top;
};

TEST_F(SliderTest, SetValueTruncatesAndClamps) {
    const SetValueCase cases[] = {{0.05f, 82}, {-0.05f, 79}, {1.5f, 157}, {1.0f, 157}, {0.0f, 79}, {0.5f, 118}};
    for (SetValueCase c : cases) {
        Slider slider = make();
        slider.setValue(c.v);
        EXPECT_EQ(slider.thumbRect().top, c.top) << "setValue(" << c.v << ")";
        EXPECT_EQ(slider.thumbRect().bottom, c.top + 24) << "setValue(" << c.v << ")";
    }
}

TEST_F(SliderTest, ValueIsExactlyZeroAndOneAtTheEnds) {
    Slider slider = make();
    slider.setValue(1.0f);
    EXPECT_EQ(slider.value(), 1.0);
    slider.setValue(0.0f);
    EXPECT_EQ(slider.value(), 0.0);
}

TEST_F(SliderTest, HitTestCoversTheThumbOnly) {
    Slider slider = make();
    EXPECT_EQ(slider.hitTest(207, 79), 1);
    EXPECT_EQ(slider.hitTest(213, 102), 1);
    EXPECT_EQ(slider.hitTest(210, 103), 0) << "the track below the thumb";
    EXPECT_EQ(slider.hitTest(214, 90), 0);
}

TEST_F(SliderTest, DragFollowsTheCursorAndStopsAtBothEndsWithTheAnchorFollowing) {
    Slider slider = make();
    cursorTo(400);
    slider.press();  // anchors
    EXPECT_TRUE(slider.isPressed());
    EXPECT_EQ(slider.thumbRect().top, 79);
    cursorTo(410);
    slider.press();
    EXPECT_EQ(slider.thumbRect().top, 89);
    cursorTo(300);  // far above the track: stops at the top
    slider.press();
    EXPECT_EQ(slider.thumbRect().top, 79);
    cursorTo(303);  // the anchor followed the cursor, so moving back moves at once
    slider.press();
    EXPECT_EQ(slider.thumbRect().top, 82);
    cursorTo(900);
    slider.press();
    EXPECT_EQ(slider.thumbRect().top, 157) << "stops at the end of the travel";
    EXPECT_EQ(slider.thumbRect().bottom, 181);
    cursorTo(899);
    slider.press();
    EXPECT_EQ(slider.thumbRect().top, 156);
    slider.release();
    EXPECT_FALSE(slider.isPressed());
    EXPECT_EQ(slider.thumbRect().top, 156) << "release leaves the thumb where it is";
}

TEST_F(SliderTest, SetValueLeavesAHeldDragAlone) {
    Slider slider = make();
    cursorTo(400);
    slider.press();
    slider.setValue(0.5f);
    EXPECT_TRUE(slider.isPressed());
    cursorTo(401);
    slider.press();
    EXPECT_EQ(slider.thumbRect().top, 119) << "the anchor survived setValue";
}

}  // namespace
