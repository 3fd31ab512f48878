// Pointer input from raw X events: which events count, where they happened
// on the screen, and the modifier keys held.
// gtest first: Xlib's macros (None, Bool) would break its headers.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <cctype>
#include <optional>
#include <ostream>
#include <string>

#include "X11PointerEvent.h"

namespace {

using layer::BackendEvent;
using Type = BackendEvent::Type;

XEvent buttonEvent(int type, unsigned int button, unsigned int state) {
    XEvent event{};
    event.xbutton.type = type;
    event.xbutton.button = button;
    event.xbutton.state = state;
    event.xbutton.x = 5;  // window-relative: reported beside the screen position
    event.xbutton.y = 6;
    event.xbutton.x_root = 612;
    event.xbutton.y_root = -40;
    return event;
}

XEvent motionEvent(unsigned int state) {
    XEvent event{};
    event.xmotion.type = MotionNotify;
    event.xmotion.state = state;
    event.xmotion.x = 1;
    event.xmotion.y = 2;
    event.xmotion.x_root = 612;
    event.xmotion.y_root = -40;
    return event;
}

struct Case {
    const char* what;
    XEvent event;
    POINT inWindow;
    std::optional<Type> expected;  // nothing: the event is not pointer input
    WPARAM modifiers;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.what; }

std::string testName(const testing::TestParamInfo<Case>& info) {
    std::string name;
    for (const char* p = info.param.what; *p; ++p)
        if (std::isalnum(static_cast<unsigned char>(*p)))
            name += *p;
        else
            name += '_';
    return name;
}

class X11PointerEvents : public testing::TestWithParam<Case> {};

TEST_P(X11PointerEvents, TranslateToScreenPositionsAndModifiers) {
    const Case& c = GetParam();
    BackendEvent translated{Type::CloseRequest, -1, -1, 0xFFFF};
    bool taken = layer::translateX11PointerEvent(c.event, translated);
    ASSERT_EQ(taken, c.expected.has_value()) << c.what;
    if (!taken) return;
    EXPECT_EQ(translated.type, *c.expected) << c.what;
    EXPECT_EQ(translated.screenX, 612) << c.what;
    EXPECT_EQ(translated.screenY, -40) << c.what;
    EXPECT_EQ(translated.windowX, c.inWindow.x) << c.what;
    EXPECT_EQ(translated.windowY, c.inWindow.y) << c.what;
    EXPECT_EQ(translated.modifiers, c.modifiers) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Events, X11PointerEvents,
    testing::Values(Case{"left press", buttonEvent(ButtonPress, Button1, 0), POINT{5, 6}, Type::PointerDown, 0},
                    Case{"left release", buttonEvent(ButtonRelease, Button1, Button1Mask), POINT{5, 6}, Type::PointerUp,
                         0},
                    Case{"left press with shift", buttonEvent(ButtonPress, Button1, ShiftMask), POINT{5, 6},
                         Type::PointerDown, MK_SHIFT},
                    Case{"left release with control and shift",
                         buttonEvent(ButtonRelease, Button1, ControlMask | ShiftMask | Mod1Mask), POINT{5, 6},
                         Type::PointerUp, MK_CONTROL | MK_SHIFT},
                    Case{"right press", buttonEvent(ButtonPress, Button3, 0), POINT{5, 6}, std::nullopt, 0},
                    Case{"middle release", buttonEvent(ButtonRelease, Button2, 0), POINT{5, 6}, std::nullopt, 0},
                    Case{"wheel", buttonEvent(ButtonPress, Button4, 0), POINT{5, 6}, std::nullopt, 0},
                    Case{"motion", motionEvent(0), POINT{1, 2}, Type::PointerMove, 0},
                    Case{"motion with the right button and control", motionEvent(Button3Mask | ControlMask),
                         POINT{1, 2}, Type::PointerMove, MK_CONTROL},
                    Case{"key press", buttonEvent(KeyPress, 0, ShiftMask), POINT{5, 6}, std::nullopt, 0},
                    Case{"enter", buttonEvent(EnterNotify, 0, 0), POINT{5, 6}, std::nullopt, 0}),
    testName);

}  // namespace
