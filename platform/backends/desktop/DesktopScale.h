// How many device pixels along each axis show one of the program's pixels on
// this desktop: the desktop's own setting, whole numbers only, so that every
// pixel is an exact block.
#pragma once

namespace layer {

class DesktopScale {
public:
    // GDK_SCALE when it is a whole number from 1 up (the convention GTK and
    // many desktops follow); otherwise the Xft.dpi resource of the display's
    // resource database over 96, rounded down; at least 1, at most largest.
    static int choose(const char* gdkScale, const char* resourceDatabase);

    // The same, read from the environment and from the display SDL uses.
    static int ofDesktop();

    static constexpr int largest = 16;
};

}  // namespace layer
