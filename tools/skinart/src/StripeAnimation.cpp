#include "StripeAnimation.h"

#include "Palette.h"

#include <array>

namespace {

// Brightness per column (256 = full): darker at the sides so the bar looks
// like a rounded glass tube, with its brightest line left of centre where
// the light comes from.
constexpr std::array<int, StripeAnimation::kWidth> kColumnShade = {150, 212, 256, 248, 230, 200, 140};

}  // namespace

int StripeAnimation::phase(int x, int y, int index) {
    // Adding kFrameCount * kHeight keeps the operand positive for any frame index.
    return (x + y - index + kFrameCount * kHeight) % kFrameCount;
}

Image StripeAnimation::frame(int index) {
    Image bar(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const Rgb stripe = phase(x, y, index) < kFrameCount / 2 ? Palette::kStripeGreen : Palette::kStripeWhite;
            bar.set(x, y, stripe.scaled(kColumnShade[static_cast<std::size_t>(x)]));
        }
    }
    return bar;
}
