// Windows placed at the far ends of the coordinate range: their rectangles
// and device positions are held to the range of an int instead of wrapping
// (UndefinedBehaviorSanitizer would see the overflow).
#include <climits>

#include "LayerTestSupport.h"

namespace {

class WindowPlacement : public LayerTest {};

struct PlacementCase {
    int x, y, width, height, scale;
    RECT rect;
    POINT device;
};

const PlacementCase placementCases[] = {
    {10, 20, 30, 40, 1, {10, 20, 40, 60}, {10, 20}},
    {INT_MAX - 10,
     INT_MAX - 5,
     100,
     100,
     1,
     {INT_MAX - 10, INT_MAX - 5, INT_MAX, INT_MAX},
     {INT_MAX - 10, INT_MAX - 5}},
    {INT_MIN, INT_MIN + 1, 50, 60, 1, {INT_MIN, INT_MIN + 1, INT_MIN + 50, INT_MIN + 61}, {INT_MIN, INT_MIN + 1}},
    {INT_MAX / 2,
     -(INT_MAX / 2),
     10,
     10,
     3,
     {INT_MAX / 2, -(INT_MAX / 2), INT_MAX / 2 + 10, -(INT_MAX / 2) + 10},
     {INT_MAX, INT_MIN}},
    {-7, 9, 1, 1, 2, {-7, 9, -6, 10}, {-14, 18}},
};

TEST_F(WindowPlacement, RectanglesAndDevicePositionsAreHeldToTheRangeOfAnInt) {
    for (const PlacementCase& c : placementCases) {
        layer::testing::resetHeadless();
        layer::headless::setScale(c.scale);
        registerTestClass();
        HWND window = createTestWindow(c.x, c.y, c.width, c.height, WS_POPUP);
        RECT rect{};
        ASSERT_TRUE(GetWindowRect(window, &rect));
        EXPECT_EQ(describeRect(rect), describeRect(c.rect)) << c.x << "," << c.y << " at scale " << c.scale;
        POINT device = layer::headless::windowDevicePosition();
        EXPECT_EQ(device.x, c.device.x) << c.x << " at scale " << c.scale;
        EXPECT_EQ(device.y, c.device.y) << c.y << " at scale " << c.scale;
    }
}

}  // namespace
