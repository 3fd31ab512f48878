#pragma once

#include <cstdint>

// Draws one complete frame off screen and copies it to the window in one piece.
void composeFrame(uint32_t t);

// The animation frame shown at t milliseconds: one step every 100 ms, four steps.
constexpr int animationFrameAt(uint32_t t) { return int((t / 100) % 4); }

// The read-out's percentage for a volume slider value: 100 at the top, 0 at the bottom.
int volumePercent(double value);
