#include "ControlPanel.h"

#include <new>

#include "../res/resource.h"
#include "../widgets/PushButton.h"
#include "../widgets/Slider.h"
#include "../widgets/ToggleButton.h"
#include "AppState.h"

using namespace AppState;

namespace {

constexpr double scrollStep = 0.05;

// A control that cannot be allocated is left out; the rest still work.
template <class Control>
Control* place(Control* control, Action action) {
    if (!control) return nullptr;
    if (action != noAction) control->setAction(action);
    widgets.append(control);
    return control;
}

}  // namespace

// Creation order is also the order of hit testing, drawing and release.
void buildControls() {
    place(new (std::nothrow) PushButton(instance, IDB_INFO, IDB_INFO_PRESSED, Rect{187, 202, 201, 211}), showAbout);
    place(new (std::nothrow) PushButton(instance, IDB_CLOSE, IDB_CLOSE_PRESSED, Rect{185, 23, 199, 38}), closeApp);
    place(new (std::nothrow) PushButton(instance, IDB_MINIMISE, IDB_MINIMISE_PRESSED, Rect{172, 23, 185, 38}),
          minimizeApp);
    AppState::pause =
        place(new (std::nothrow) ToggleButton(instance, IDB_PAUSE, IDB_PAUSE_PRESSED, Rect{173, 56, 184, 67}), onPause);
    play = place(new (std::nothrow) ToggleButton(instance, IDB_PLAY, IDB_PLAY_PRESSED, Rect{151, 56, 162, 67}), onPlay);
    place(new (std::nothrow) PushButton(instance, IDB_STOP, IDB_STOP_PRESSED, Rect{162, 56, 173, 67}), onStop);
    place(new (std::nothrow) PushButton(instance, IDB_RECORD, IDB_RECORD_PRESSED, Rect{198, 56, 209, 67}), noAction);
    place(new (std::nothrow) PushButton(instance, IDB_DOWN, IDB_DOWN_PRESSED, Rect{207, 182, 214, 189}), scrollDown);
    place(new (std::nothrow) PushButton(instance, IDB_UP, IDB_UP_PRESSED, Rect{207, 71, 214, 78}), scrollUp);
    scroll =
        place(new (std::nothrow) Slider(instance, IDB_THUMB, IDB_THUMB_PRESSED, 24, Rect{207, 79, 214, 181}), noAction);
    volume = place(new (std::nothrow) Slider(instance, IDB_VOLUME_THUMB, IDB_VOLUME_THUMB, 8, Rect{35, 77, 44, 146}),
                   noAction);
}

void showAbout() { MessageBoxA(nullptr, "Information shit", "about brisko music disk", MB_OK); }

void closeApp() { SendMessageA(window, WM_CLOSE, 0, 0); }

void minimizeApp() { CloseWindow(window); }

// Switching play on ends a pause.
void onPlay() {
    if (AppState::pause && AppState::pause->isPressed()) AppState::pause->press();
}

// Pause only holds while playing; otherwise it springs straight back off.
void onPause() {
    if (play && play->isPressed()) return;
    if (AppState::pause) AppState::pause->press();
}

void onStop() {
    if (play && play->isPressed()) play->press();
    if (AppState::pause && AppState::pause->isPressed()) AppState::pause->press();
}

void scrollUp() {
    if (scroll) scroll->setValue(float(scroll->value() - scrollStep));
}

void scrollDown() {
    if (scroll) scroll->setValue(float(scroll->value() + scrollStep));
}
