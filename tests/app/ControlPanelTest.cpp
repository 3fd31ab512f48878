// The eleven controls, run whole on the headless backend: their pictures,
// the transport interlock, the scroll arrows, record, the about box and close.
#include <gtest/gtest.h>

#include "ProgramHarness.h"
#include "app/AppState.h"
#include "layer/Headless.h"
#include "res/resource.h"
#include "widgets/Slider.h"
#include "widgets/ToggleButton.h"

namespace headless = layer::headless;

namespace {

struct Control {
    const char* name;
    int left, top;  // where its bitmap is drawn
    int normalId, pressedId;
    int width, height;
    int centreX() const { return left + width / 2; }
    int centreY() const { return top + height / 2; }
};

const Control info{"info", 187, 202, IDB_INFO, IDB_INFO_PRESSED, 14, 9};
const Control closeButton{"close", 185, 23, IDB_CLOSE, IDB_CLOSE_PRESSED, 14, 15};
const Control minimise{"minimise", 172, 23, IDB_MINIMISE, IDB_MINIMISE_PRESSED, 13, 15};
const Control pauseButton{"pause", 173, 56, IDB_PAUSE, IDB_PAUSE_PRESSED, 11, 11};
const Control playButton{"play", 151, 56, IDB_PLAY, IDB_PLAY_PRESSED, 11, 11};
const Control stopButton{"stop", 162, 56, IDB_STOP, IDB_STOP_PRESSED, 11, 11};
const Control record{"record", 198, 56, IDB_RECORD, IDB_RECORD_PRESSED, 11, 11};
const Control downArrow{"down arrow", 207, 182, IDB_DOWN, IDB_DOWN_PRESSED, 7, 7};
const Control upArrow{"up arrow", 207, 71, IDB_UP, IDB_UP_PRESSED, 7, 7};
const Control scrollThumb{"scroll thumb", 207, 79, IDB_THUMB, IDB_THUMB_PRESSED, 7, 24};
const Control volumeThumb{"volume thumb", 35, 77, IDB_VOLUME_THUMB, IDB_VOLUME_THUMB, 9, 8};

const Control allControls[] = {info,   closeButton, minimise, pauseButton, playButton, stopButton,
                               record, downArrow,   upArrow,  scrollThumb, volumeThumb};

TEST(ControlPanel, EveryControlShowsItsNormalBitmapAtStart) {
    ProgramHarness program;
    program.at(100, [] {
        for (const Control& c : allControls) EXPECT_TRUE(windowShowsBitmap(c.normalId, c.left, c.top)) << c.name;
    });
    program.close(200);
    EXPECT_EQ(program.run(), 0);
}

TEST(ControlPanel, EveryControlShowsItsPressedBitmapWhileHeld) {
    for (const Control& c : allControls) {
        ProgramHarness program;
        program.press(100, c.centreX(), c.centreY());
        program.at(160, [&] { EXPECT_TRUE(windowShowsBitmap(c.pressedId, c.left, c.top)) << c.name; });
        program.release(200, c.centreX(), c.centreY());
        headless::dismissMessageBox(300);  // the info button's box
        program.close(400);
        EXPECT_EQ(program.run(), 0) << c.name;
    }
}

struct TransportCase {
    bool fromPlay, fromPause;
    const Control* pressed;
    bool toPlay, toPause;
};

// Clicks that bring the pair to a state: play on; play then pause for
// paused; paused then play for the pause left on alone.
void reach(ProgramHarness& program, bool play, bool pause, uint64_t& t) {
    auto click = [&](const Control& c) {
        program.click(t, c.centreX(), c.centreY());
        t += 100;
    };
    if (play || pause) click(playButton);
    if (pause) click(pauseButton);
    if (pause && !play) click(playButton);
}

TEST(ControlPanel, TheTransportToggleInterlock) {
    const TransportCase cases[] = {
        {false, false, &playButton, true, false},  {false, false, &pauseButton, false, false},
        {true, false, &pauseButton, true, true},   {true, true, &pauseButton, true, false},
        {true, true, &playButton, false, true},    {true, false, &playButton, false, false},
        {false, true, &playButton, true, false},   {false, true, &pauseButton, false, false},
        {false, false, &stopButton, false, false}, {true, false, &stopButton, false, false},
        {true, true, &stopButton, false, false},   {false, true, &stopButton, false, false},
    };
    for (const TransportCase& c : cases) {
        ProgramHarness program;
        uint64_t t = 100;
        reach(program, c.fromPlay, c.fromPause, t);
        std::string name = std::string("from (") + (c.fromPlay ? "on" : "off") + ", " + (c.fromPause ? "on" : "off") +
                           ") pressing " + c.pressed->name;
        program.at(t, [&] {
            ASSERT_EQ(AppState::play->isPressed(), c.fromPlay) << name << ": setting up";
            ASSERT_EQ(AppState::pause->isPressed(), c.fromPause) << name << ": setting up";
        });
        program.click(t + 10, c.pressed->centreX(), c.pressed->centreY());
        program.at(t + 100, [&] {
            EXPECT_EQ(AppState::play->isPressed(), c.toPlay) << name;
            EXPECT_EQ(AppState::pause->isPressed(), c.toPause) << name;
            EXPECT_TRUE(windowShowsBitmap(c.toPlay ? IDB_PLAY_PRESSED : IDB_PLAY, 151, 56)) << name;
            EXPECT_TRUE(windowShowsBitmap(c.toPause ? IDB_PAUSE_PRESSED : IDB_PAUSE, 173, 56)) << name;
        });
        program.close(t + 200);
        EXPECT_EQ(program.run(), 0) << name;
    }
}

std::vector<int> clickRepeatedly(const Control& arrow, int clicks, bool fromBottom) {
    ProgramHarness program;
    std::vector<int> tops;
    if (fromBottom) program.at(50, [] { AppState::scroll->setValue(1.0f); });
    for (int i = 0; i < clicks; ++i) {
        uint64_t t = 100 + 60 * uint64_t(i);
        program.click(t, arrow.centreX(), arrow.centreY());
        program.at(t + 50, [&] { tops.push_back(AppState::scroll->thumbRect().top); });
    }
    uint64_t end = 100 + 60 * uint64_t(clicks);
    program.at(end, [] { EXPECT_TRUE(windowShowsBitmap(IDB_THUMB, 207, AppState::scroll->thumbRect().top)); });
    program.close(end + 20);
    EXPECT_EQ(program.run(), 0);
    return tops;
}

TEST(ControlPanel, TheDownArrowStepsTheThumbThreePixelsAtATime) {
    std::vector<int> expected;
    for (int top = 82; top <= 154; top += 3) expected.push_back(top);
    expected.push_back(157);
    expected.push_back(157);
    ASSERT_EQ(expected.size(), 27u);
    EXPECT_EQ(clickRepeatedly(downArrow, 27, false), expected);
}

TEST(ControlPanel, TheUpArrowStepsTheThumbFourPixelsAtATime) {
    std::vector<int> expected;
    for (int top = 153; top >= 81; top -= 4) expected.push_back(top);
    expected.push_back(79);
    expected.push_back(79);
    ASSERT_EQ(expected.size(), 21u);
    EXPECT_EQ(clickRepeatedly(upArrow, 21, true), expected);
}

TEST(ControlPanel, AnArrowReleasedAwayFromItStillSteps) {
    ProgramHarness program;
    program.press(100, downArrow.centreX(), downArrow.centreY());
    program.move(120, 120, 150);
    program.release(140, 120, 150);
    program.at(200, [] { EXPECT_EQ(AppState::scroll->thumbRect().top, 82); });
    program.close(300);
    EXPECT_EQ(program.run(), 0);
}

TEST(ControlPanel, RecordShowsPressedWhileHeldAndDoesNothingOnRelease) {
    ProgramHarness program;
    program.click(100, playButton.centreX(), playButton.centreY());
    program.press(200, record.centreX(), record.centreY());
    program.at(260, [] { EXPECT_TRUE(windowShowsBitmap(IDB_RECORD_PRESSED, 198, 56)); });
    program.release(300, record.centreX(), record.centreY());
    program.at(360, [] {
        EXPECT_TRUE(windowShowsBitmap(IDB_RECORD, 198, 56));
        EXPECT_TRUE(AppState::play->isPressed());
        EXPECT_FALSE(AppState::pause->isPressed());
        EXPECT_EQ(AppState::scroll->thumbRect().top, 79);
        EXPECT_TRUE(headless::messageBoxes().empty());
    });
    program.close(400);
    EXPECT_EQ(program.run(), 0);
}

TEST(ControlPanel, InfoOpensTheAboutBoxWhichStopsFramesButNotTheControls) {
    ProgramHarness program;
    int presentsWhenOpened = -1;
    program.click(100, info.centreX(), info.centreY());
    program.at(150, [&] {
        ASSERT_TRUE(headless::messageBoxOpen());
        presentsWhenOpened = headless::presentCount();
    });
    program.click(300, playButton.centreX(), playButton.centreY());  // unseen, but it works
    program.click(400, info.centreX(), info.centreY());              // a second box over the first
    program.at(500, [&] {
        EXPECT_EQ(headless::presentCount(), presentsWhenOpened) << "no frame while the box is open";
        EXPECT_TRUE(AppState::play->isPressed());
    });
    headless::dismissMessageBox(600);
    headless::dismissMessageBox(700);
    program.at(800, [&] { EXPECT_GT(headless::presentCount(), presentsWhenOpened) << "frames go on"; });
    program.close(900);
    EXPECT_EQ(program.run(), 0);

    const auto& boxes = headless::messageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    for (const auto& box : boxes) {
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_EQ(box.text, "Information shit");
        EXPECT_EQ(box.caption, "about brisko music disk");
        EXPECT_EQ(box.type, MB_OK);
    }
}

TEST(ControlPanel, CloseEndsTheProgramWithZeroFromInsideTheReleaseWalk) {
    ProgramHarness program;
    int presentsAtRelease = -1;
    program.press(100, closeButton.centreX(), closeButton.centreY());
    program.at(130, [&] { presentsAtRelease = headless::presentCount(); });
    program.release(130, closeButton.centreX(), closeButton.centreY());
    program.click(500, playButton.centreX(), playButton.centreY());  // never reached
    EXPECT_EQ(program.run(), 0);
    EXPECT_EQ(headless::presentCount(), presentsAtRelease);
    EXPECT_FALSE(headless::timedOut());
    EXPECT_LT(headless::nowMs(), 500u);
    EXPECT_FALSE(AppState::play->isPressed());
}

TEST(ControlPanel, DraggingASliderLeavesTheTransportTogglesAlone) {
    ProgramHarness program;
    program.click(100, playButton.centreX(), playButton.centreY());
    program.press(200, volumeThumb.centreX(), volumeThumb.centreY());
    for (int i = 1; i <= 20; ++i) program.move(200 + 5 * uint64_t(i), volumeThumb.centreX(), volumeThumb.centreY() + i);
    program.release(320, volumeThumb.centreX(), volumeThumb.centreY() + 20);
    program.at(400, [] {
        EXPECT_TRUE(AppState::play->isPressed());
        EXPECT_FALSE(AppState::pause->isPressed());
        EXPECT_EQ(AppState::volume->thumbRect().top, 97);
        EXPECT_TRUE(windowShowsBitmap(IDB_PLAY_PRESSED, 151, 56));
        EXPECT_TRUE(windowShowsBitmap(IDB_VOLUME_THUMB, 35, 97));
    });
    program.close(500);
    EXPECT_EQ(program.run(), 0);
}

}  // namespace
