#pragma once

#include "Rect.h"

// Where the program puts its controls, in window client pixels. The art is
// drawn around these rectangles; each button bitmap fills its rectangle exactly.
namespace SkinLayout {

inline constexpr int kWindowWidth = 326;
inline constexpr int kWindowHeight = 272;

inline constexpr Rect kInfo{187, 202, 201, 211};
inline constexpr Rect kClose{185, 23, 199, 38};
inline constexpr Rect kMinimise{172, 23, 185, 38};
inline constexpr Rect kPlay{151, 56, 162, 67};
inline constexpr Rect kStop{162, 56, 173, 67};
inline constexpr Rect kPause{173, 56, 184, 67};
inline constexpr Rect kRecord{198, 56, 209, 67};
inline constexpr Rect kUpArrow{207, 71, 214, 78};
inline constexpr Rect kDownArrow{207, 182, 214, 189};

inline constexpr Rect kScrollTrack{207, 79, 214, 181};
inline constexpr int kScrollThumbHeight = 24;
inline constexpr Rect kVolumeTrack{35, 77, 44, 146};
inline constexpr int kVolumeThumbHeight = 8;

inline constexpr Rect kAnimationBar{219, 101, 226, 162};
inline constexpr Rect kRedSquare{246, 42, 293, 93};

// The program writes "Volume: 100" (about 55 x 11 px) with its top-left at
// kReadoutText; kReadout is the olive field behind it, with margin.
inline constexpr Rect kReadout{44, 193, 112, 209};
inline constexpr int kReadoutTextX = 47;
inline constexpr int kReadoutTextY = 196;

}  // namespace SkinLayout
