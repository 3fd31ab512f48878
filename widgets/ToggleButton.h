#pragma once

#include "PushButton.h"

// A button that stays where a press leaves it: each press switches it on or
// off, and it acts once, at the release after a press that switched it on.
// The inherited pressed flag is its on state.
class ToggleButton : public PushButton {
public:
    ToggleButton(HINSTANCE instance, int normalId, int pressedId, const Rect& rect);

    void press() override;
    void release() override;

    // Whether the action of the last switching-on has still to run.
    bool hasPendingAction() const { return pending; }

protected:
    bool pending = false;  // switched on, action not yet run
};
