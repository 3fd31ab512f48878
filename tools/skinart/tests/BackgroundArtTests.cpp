// The background against the window region and the control layout: the
// outline follows the region, and each control has the colour it needs
// underneath.

#include "BackgroundArt.h"
#include "Palette.h"
#include "SkinLayout.h"
#include "TestHarness.h"
#include "WindowRegion.h"

namespace {

const Image& background() {
    static const Image image = BackgroundArt::paint();
    return image;
}

bool isRed(Rgb c) { return c.r >= 160 && c.g <= 60 && c.b <= 60; }

bool isOliveFamily(Rgb c) { return c.r == c.g && c.b == 0 && c.r >= 0x50 && c.r <= 0xB0; }

// Pixels the region shows, minus the outline (which always wins).
std::function<bool(int, int, Rgb)> insideNonEdge(bool (*accept)(Rgb)) {
    return [accept](int x, int y, Rgb c) {
        const WindowRegion& r = WindowRegion::skin();
        return !r.contains(x, y) || r.isEdge(x, y) || accept(c);
    };
}

}  // namespace

SKINART_TEST(backgroundOutlineFollowsTheRegionExactly) {
    const Image& bg = background();
    CHECK(bg.width() == 326 && bg.height() == 272);
    const WindowRegion& region = WindowRegion::skin();
    EXPECT_PIXELS(
        bg, bg.bounds(),
        [&](int x, int y, Rgb c) {
            if (!region.contains(x, y)) {
                return c == Palette::kOutside;
            }
            return region.isEdge(x, y) ? c == Palette::kOutline : c != Palette::kOutline && c != Palette::kOutside;
        },
        "outline");
}

SKINART_TEST(backgroundShellIsLitFromTheTopLeft) {
    const Image& bg = background();
    const auto brightness = [](Rgb c) { return c.r * 2 + c.g * 5 + c.b; };
    // Just inside the left edge and the bottom edge; just inside a bar's top and bottom.
    CHECK(brightness(bg.at(28, 120)) > brightness(bg.at(100, 212)) + 400);
    CHECK(brightness(bg.at(236, 46)) > brightness(bg.at(236, 48)) + 400);
    // The beige shell away from any feature.
    const Rgb shell = bg.at(120, 200);
    CHECK(shell.r > shell.g && shell.g > shell.b && shell.b > 120);
}

SKINART_TEST(buttonsSitOnRedPlates) {
    using namespace SkinLayout;
    for (const Rect& button : {kInfo, kClose, kMinimise, kPlay, kStop, kPause, kRecord, kUpArrow, kDownArrow}) {
        EXPECT_PIXELS(background(), button.inflated(1), insideNonEdge(isRed), "red-under-button");
    }
    EXPECT_PIXELS(background(), kAnimationBar, insideNonEdge(isRed), "red-under-animation");
}

SKINART_TEST(slidersRunInOliveTracks) {
    using namespace SkinLayout;
    EXPECT_PIXELS(background(), kScrollTrack, insideNonEdge(isOliveFamily), "scroll-track");
    EXPECT_PIXELS(background(), kVolumeTrack, insideNonEdge(isOliveFamily), "volume-track");
    // Where the thumbs stop halfway down, the track is true olive beside the groove.
    CHECK(background().at(kScrollTrack.left + 1, 130) == Rgb::hex(0x808000));
    CHECK(background().at(kVolumeTrack.left + 1, 110) == Rgb::hex(0x808000));
}

SKINART_TEST(readoutFieldIsOliveAroundTheVolumeText) {
    using namespace SkinLayout;
    const WindowRegion& region = WindowRegion::skin();
    // "Volume: 100" is about 55 x 11 from (47, 196); allow a few pixels more.
    const Rect text{kReadoutTextX - 2, kReadoutTextY - 2, kReadoutTextX + 64, kReadoutTextY + 13};
    EXPECT_PIXELS(
        background(), text, [](int, int, Rgb c) { return c == Palette::kReadoutOlive; }, "readout");
    EXPECT_PIXELS(
        background(), kReadout.inflated(1),
        [&](int x, int y, Rgb) { return region.contains(x, y) && !region.isEdge(x, y); }, "readout-in-region");
    CHECK(!kReadout.inflated(1).intersects(kInfo.inflated(1)));
}

SKINART_TEST(sidePanelSquareIsSolidRedAndDisplayIsBlue) {
    EXPECT_PIXELS(
        background(), SkinLayout::kRedSquare, [](int, int, Rgb c) { return c == Palette::kRed; }, "red-square");
    EXPECT_PIXELS(
        background(), (Rect{60, 90, 190, 180}), [](int, int, Rgb c) { return c.b > c.r + 60 && c.b > c.g + 30; },
        "display");
}
