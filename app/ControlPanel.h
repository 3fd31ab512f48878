#pragma once

// The eleven controls of the skin, in their places, with their actions.
void buildControls();

void showAbout();
void closeApp();
void minimizeApp();
void onPlay();
void onPause();
void onStop();
void scrollUp();
void scrollDown();
