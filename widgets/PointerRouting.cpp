#include "PointerRouting.h"

#include "../app/AppState.h"
#include "ToggleButton.h"
#include "Widget.h"
#include "WidgetList.h"

namespace {

Widget* held = nullptr;

// A move may only continue what the press started: a drag step for a held
// slider, nothing for a held push button. A toggle already switched at the
// press and must not switch again with every move.
bool takesMoves(Widget* widget) { return dynamic_cast<ToggleButton*>(widget) == nullptr; }

bool isListed(Widget* widget) {
    for (WidgetList::Node* node = AppState::widgets.head; node; node = node->next)
        if (node->widget == widget) return true;
    return false;
}

}  // namespace

Widget* heldWidget() { return held; }

// The first control whose hit test accepts the point takes the press; a
// press on no control moves the window as if its caption had been pressed.
void pressAt(uint16_t x, uint16_t y) {
    for (WidgetList::Node* node = AppState::widgets.head; node; node = node->next) {
        if (node->widget->hitTest(x, y)) {
            held = node->widget;
            node->widget->press();
            return;
        }
    }
    held = nullptr;
    SendMessageA(AppState::window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

// Only the control that took the current press gets the move, and only
// while it is still held: a toggle that is merely on never takes a move.
void dragAt(uint16_t, uint16_t) {
    if (held && takesMoves(held) && isListed(held) && held->isPressed()) held->press();
}

// Every control is released, in list order; each that was pressed (or each
// toggle with a pending action) acts during the walk.
void releaseAt(uint16_t, uint16_t) {
    held = nullptr;
    for (WidgetList::Node* node = AppState::widgets.head; node; node = node->next) node->widget->release();
}
