#pragma once

#include "Widget.h"

// The plain button: shows its pressed bitmap while held and acts when released.
class PushButton : public Widget {
public:
    using Widget::Widget;

    void draw(HDC dc) override;
};
