// The buttons, thumbs and animation: how the pressed forms relate to the
// normal ones, and that the symbols are really there.

#include "ButtonArt.h"
#include "Palette.h"
#include "StripeAnimation.h"
#include "TestHarness.h"
#include "ThumbArt.h"

#include <algorithm>

namespace {

using Transport = ButtonArt::Transport;
using Arrow = ButtonArt::Arrow;

int brightness(Rgb c) { return c.r * 2 + c.g * 5 + c.b; }

int count(const Image& image, Rgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            n += image.at(x, y) == colour ? 1 : 0;
        }
    }
    return n;
}

// The normal key's symbol pixels must all reappear one pixel right and down
// when pressed, the pressed face must be darker and its top-left inner line
// darker still than the normal key's highlight there.
void checkSunken(const Image& normal, const Image& pressed, Rgb symbol, const char* name) {
    const std::string label = name;
    CHECK(normal.width() == pressed.width() && normal.height() == pressed.height());
    CHECK(count(normal, symbol) >= 5);
    EXPECT_PIXELS(
        normal, normal.bounds(), [&](int x, int y, Rgb c) { return c != symbol || pressed.at(x + 1, y + 1) == symbol; },
        label + "-symbol-moves-right-down");
    const int inner = normal.width() >= 11 ? 1 : 0;
    const int mid = normal.width() / 2;
    CHECK(brightness(pressed.at(mid, inner)) + 200 < brightness(normal.at(mid, inner)));
    CHECK(brightness(pressed.at(inner, mid + 2)) + 200 < brightness(normal.at(inner, mid + 2)));
    // The face, away from symbol and rim: bottom-right interior corner.
    const int fx = normal.width() - 2 - inner;
    const int fy = normal.height() - 2 - inner;
    CHECK(brightness(pressed.at(fx, fy)) < brightness(normal.at(fx, fy)));
}

}  // namespace

SKINART_TEST(transportKeysSinkWhenPressed) {
    checkSunken(ButtonArt::transport(Transport::Play, false), ButtonArt::transport(Transport::Play, true),
                Palette::kSymbol, "play");
    checkSunken(ButtonArt::transport(Transport::Stop, false), ButtonArt::transport(Transport::Stop, true),
                Palette::kSymbol, "stop");
    checkSunken(ButtonArt::transport(Transport::Pause, false), ButtonArt::transport(Transport::Pause, true),
                Palette::kSymbol, "pause");
    checkSunken(ButtonArt::transport(Transport::Record, false), ButtonArt::transport(Transport::Record, true),
                Palette::kRecordRed, "record");
}

SKINART_TEST(scrollArrowsSinkWhenPressedAndPointTheRightWay) {
    const Image up = ButtonArt::arrow(Arrow::Up, false);
    const Image down = ButtonArt::arrow(Arrow::Down, false);
    checkSunken(up, ButtonArt::arrow(Arrow::Up, true), Palette::kSymbol, "up");
    checkSunken(down, ButtonArt::arrow(Arrow::Down, true), Palette::kSymbol, "down");
    // The tip is a single pixel on the centre column, the base is wider, and
    // the base is below the tip for up, above it for down.
    CHECK(up.at(3, 2) == Palette::kSymbol && up.at(2, 2) != Palette::kSymbol);
    CHECK(up.at(1, 4) == Palette::kSymbol && up.at(5, 4) == Palette::kSymbol);
    CHECK(down.at(3, 4) == Palette::kSymbol && down.at(2, 4) != Palette::kSymbol);
    CHECK(down.at(1, 2) == Palette::kSymbol && down.at(5, 2) == Palette::kSymbol);
}

SKINART_TEST(capsDropOneRowUnderADarkLineWhenPressed) {
    const Image caps[][2] = {{ButtonArt::close(false), ButtonArt::close(true)},
                             {ButtonArt::minimise(false), ButtonArt::minimise(true)}};
    for (const auto& pair : caps) {
        const Image& normal = pair[0];
        const Image& pressed = pair[1];
        EXPECT_PIXELS(
            pressed, (Rect{0, 1, pressed.width(), pressed.height()}),
            [&](int x, int y, Rgb c) { return c == normal.at(x, y - 1); }, "cap-shifted-down");
        EXPECT_PIXELS(
            pressed, (Rect{0, 0, pressed.width(), 1}), [](int, int, Rgb c) { return brightness(c) < 8 * 80; },
            "cap-dark-top-row");
        CHECK(count(normal, Palette::kSymbol) >= 10);
    }
}

SKINART_TEST(closeCrossIsSymmetricAndMinimisePointsDown) {
    const Image close = ButtonArt::close(false);
    // Mirror symmetric about the vertical centre line (the cap is 14 wide).
    EXPECT_PIXELS(
        close, close.bounds(),
        [&](int x, int y, Rgb c) { return (c == Palette::kSymbol) == (close.at(13 - x, y) == Palette::kSymbol); },
        "cross-mirror");
    CHECK(close.at(6, 7) == Palette::kSymbol && close.at(7, 7) == Palette::kSymbol);
    const Image minimise = ButtonArt::minimise(false);
    int previousWidth = 100;
    for (int y = 0; y < minimise.height(); ++y) {
        int width = 0;
        for (int x = 0; x < minimise.width(); ++x) {
            width += minimise.at(x, y) == Palette::kSymbol ? 1 : 0;
        }
        if (width > 0) {
            CHECK(width < previousWidth);  // narrower on every row: a downward point
            previousWidth = width;
        }
    }
    CHECK_EQ(previousWidth, 1);
}

SKINART_TEST(infoPressedOnlyTurnsTheInkOlive) {
    const Image normal = ButtonArt::info(false);
    const Image pressed = ButtonArt::info(true);
    EXPECT_PIXELS(
        pressed, pressed.bounds(),
        [&](int x, int y, Rgb c) {
            const Rgb n = normal.at(x, y);
            return n == Palette::kInfoInk ? c == Rgb::hex(0x808000) : c == n;
        },
        "info-olive-ink");
    // Four letters: four runs of inked columns separated by blank columns.
    int runs = 0;
    bool inRun = false;
    for (int x = 0; x < normal.width(); ++x) {
        bool inked = false;
        for (int y = 0; y < normal.height(); ++y) {
            inked = inked || normal.at(x, y) == Palette::kInfoInk;
        }
        runs += (inked && !inRun) ? 1 : 0;
        inRun = inked;
    }
    CHECK_EQ(runs, 4);
    CHECK(count(normal, Palette::kInfoInk) >= 25);
}

SKINART_TEST(scrollThumbIsBevelledNormallyAndFlatWhenPressed) {
    const Image pressed = ThumbArt::scrollThumbPressed();
    const Rgb flat = pressed.at(0, 0);
    EXPECT_PIXELS(
        pressed, pressed.bounds(), [&](int, int, Rgb c) { return c == flat; }, "thumb-pressed-flat");
    const Image thumb = ThumbArt::scrollThumb();
    const int h = thumb.height();
    const int w = thumb.width();
    CHECK(brightness(thumb.at(0, h / 3)) > brightness(thumb.at(w / 2, h / 3)));
    CHECK(brightness(thumb.at(w / 2, 0)) > brightness(thumb.at(w / 2, h / 3)));
    CHECK(brightness(thumb.at(w - 1, h / 3)) + 400 < brightness(thumb.at(w / 2, h / 3)));
    CHECK(brightness(thumb.at(w / 2, h - 1)) + 400 < brightness(thumb.at(w / 2, h / 3)));
}

SKINART_TEST(animationFramesMoveOnePixelAndLoop) {
    for (int k = 0; k < StripeAnimation::kFrameCount; ++k) {
        const Image current = StripeAnimation::frame(k);
        const Image next = StripeAnimation::frame((k + 1) % StripeAnimation::kFrameCount);
        CHECK(current != next);
        EXPECT_PIXELS(
            next, (Rect{0, 1, next.width(), next.height()}),
            [&](int x, int y, Rgb c) { return c == current.at(x, y - 1); }, "frame-" + std::to_string(k) + "-to-next");
        // Diagonal stripes: the same stripe (green or white) all along x + y.
        EXPECT_PIXELS(
            current, (Rect{1, 0, current.width(), current.height() - 1}),
            [&](int x, int y, Rgb c) { return (c.r > 100) == (current.at(x - 1, y + 1).r > 100); },
            "diagonal-" + std::to_string(k));
    }
    const Image first = StripeAnimation::frame(0);
    const Rgb centre = first.at(3, 30);
    const Rgb across = first.at(3, 32);
    CHECK(centre != across);
    CHECK(std::min(centre.r, across.r) < 40 && std::max(centre.r, across.r) > 200);  // one green, one white
}
