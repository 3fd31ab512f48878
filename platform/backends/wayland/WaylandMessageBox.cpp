#include "WaylandMessageBox.h"

#include <xkbcommon/xkbcommon-keysyms.h>

#include <string>

namespace layer {

std::unique_ptr<WaylandMessageBox> WaylandMessageBox::open(WaylandConnection& connection, const char* caption,
                                                           const char* text, int scale,
                                                           std::function<void()> whenDismissed) {
    std::optional<DesktopMessageBox::Picture> picture = DesktopMessageBox::draw(text);
    if (!picture) return nullptr;
    std::unique_ptr<WaylandMessageBox> box(new WaylandMessageBox(std::move(*picture), std::move(whenDismissed)));
    std::string whyNot;
    WaylandMessageBox* opened = box.get();
    box->toplevel_ = WaylandToplevel::open(
        connection, caption, box->picture_.pixels.width(), box->picture_.pixels.height(), scale,
        [opened] { opened->dismiss(); }, whyNot);
    if (!box->toplevel_) return nullptr;
    box->toplevel_->show(box->picture_.pixels, 0, box->picture_.pixels.height());
    return box;
}

void WaylandMessageBox::dismiss() {
    if (dismissed_) return;
    dismissed_ = true;
    if (whenDismissed_) whenDismissed_();
}

bool WaylandMessageBox::onOk(double x, double y) const {
    const RECT& ok = picture_.okButton;
    return x >= ok.left && x < ok.right && y >= ok.top && y < ok.bottom;
}

bool WaylandMessageBox::keyCloses(uint32_t keysym) {
    return keysym == XKB_KEY_Return || keysym == XKB_KEY_KP_Enter || keysym == XKB_KEY_Escape ||
           keysym == XKB_KEY_space;
}

}  // namespace layer
