#pragma once

#include <cstdint>

class Widget;

// The window's left-button messages carried to the controls of the global
// widget list. x and y are the message's client coordinates.
void pressAt(uint16_t x, uint16_t y);
void dragAt(uint16_t x, uint16_t y);
void releaseAt(uint16_t x, uint16_t y);

// The control that took the current press and has not been released yet.
Widget* heldWidget();
