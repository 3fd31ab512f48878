#pragma once

#include "Image.h"

// The "busy" bar: diagonal green and white stripes that move down one pixel
// per frame. The stripe period equals the frame count, so the frame after the
// last is the first again and the loop has no jump.
class StripeAnimation {
public:
    static constexpr int kWidth = 7;
    static constexpr int kHeight = 61;
    static constexpr int kFrameCount = 4;

    static Image frame(int index);
    // 0..kFrameCount-1: which stripe colour pixel (x, y) shows in that frame.
    static int phase(int x, int y, int index);
};
