#pragma once

// The off-screen surfaces every frame is composed on and from, and the
// window region that cuts the window to the skin's outline.
bool initSkin();
void releaseSkin();

constexpr int windowWidth = 326;
constexpr int windowHeight = 272;
constexpr int animationFrameCount = 4;
