#pragma once

#include "Image.h"

// The slider thumbs. The scroll thumb has a pressed form (flat, as if pushed
// into the track); the volume thumb is drawn the same in both states.
class ThumbArt {
public:
    static constexpr int kScrollWidth = 7;
    static constexpr int kScrollHeight = 24;
    static constexpr int kVolumeWidth = 9;
    static constexpr int kVolumeHeight = 8;

    static Image scrollThumb();
    static Image scrollThumbPressed();
    static Image volumeThumb();
};
