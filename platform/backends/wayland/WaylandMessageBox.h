// The message box on a Wayland desktop: a toplevel of its own, drawn as the
// desktop backend draws its box, closed by a left click on OK or by Return,
// Enter, Escape or Space while it has the keyboard, or by the compositor's
// close.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "DesktopMessageBox.h"
#include "WaylandToplevel.h"

struct wl_surface;

namespace layer {

class WaylandConnection;

class WaylandMessageBox {
public:
    // Null when the box cannot be drawn (no usable font) or shown.
    // whenDismissed runs once, when the box is dismissed.
    static std::unique_ptr<WaylandMessageBox> open(WaylandConnection& connection, const char* caption, const char* text,
                                                   int scale, std::function<void()> whenDismissed);

    wl_surface* surface() const { return toplevel_->surface(); }
    bool dismissed() const { return dismissed_; }
    void dismiss();

    // Whether a left button's release at (x, y) of the box is on OK.
    bool onOk(double x, double y) const;
    static bool keyCloses(uint32_t keysym);

private:
    WaylandMessageBox(DesktopMessageBox::Picture picture, std::function<void()> whenDismissed)
        : picture_(std::move(picture)), whenDismissed_(std::move(whenDismissed)) {}

    DesktopMessageBox::Picture picture_;
    std::function<void()> whenDismissed_;
    std::unique_ptr<WaylandToplevel> toplevel_;
    bool dismissed_ = false;
};

}  // namespace layer
