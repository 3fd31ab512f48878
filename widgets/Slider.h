#pragma once

#include "Widget.h"

// A vertical slider: a thumb of fixed height that the pointer drags within
// the track (the inherited rect). Its value runs from 0 (thumb at the top)
// to 1 (thumb at the bottom).
class Slider : public Widget {
public:
    Slider(HINSTANCE instance, int normalId, int pressedId, int32_t thumbHeight, const Rect& track);

    void draw(HDC dc) override;
    void press() override;
    int hitTest(int32_t x, int32_t y) override;
    virtual double value();
    virtual void setValue(float v);

    const Rect& thumbRect() const { return thumb; }

protected:
    // The thumb's top clamped to the track: never above it, never past the
    // end of the travel.
    int32_t clampedTop(int32_t top) const;
    int32_t travel() const { return rect.bottom - thumbHeight - rect.top; }

    Rect thumb;
    int32_t anchorY = 0;  // the cursor's screen y at the last press or drag step
    int32_t thumbHeight = 0;
};
