// The message box of the desktop backend: a small window of its own, centred
// on the screen, with the text and an OK button, drawn with the layer's own
// fonts. Drawing it here, rather than through SDL's message box, means it
// needs no X core fonts or helper programs, and that the program's window
// goes on being repainted and taking input while the box is up, as it does
// on Windows for a box without an owner.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "Bitmap.h"
#include "DesktopFrameCopy.h"
#include "X11Presenter.h"

struct SDL_Window;
union SDL_Event;

namespace layer {

class DesktopMessageBox {
public:
    // Null when the box cannot be drawn (no usable font) or shown. Each of
    // its pixels is shown as a scale x scale block, like the program's.
    static std::unique_ptr<DesktopMessageBox> open(const char* caption, const char* text, int scale = 1);
    ~DesktopMessageBox();
    DesktopMessageBox(const DesktopMessageBox&) = delete;
    DesktopMessageBox& operator=(const DesktopMessageBox&) = delete;

    // Takes what is meant for the box: true for what closes it (a left
    // click on OK; Return, Enter, Escape or Space; the box window's own close
    // request), which marks it dismissed. Exposures are repainted on the way.
    bool take(const SDL_Event& event);
    bool dismissed() const { return dismissed_; }

    uint32_t id() const { return id_; }

    // Lets go of the window without a word to the display, which has gone:
    // destroying it would wait for an answer that never comes.
    void abandon();

    // The picture of a box with this text (lines split at '\n'), and where
    // its OK button is; empty when the layer has no font to draw it with.
    struct Picture {
        Bitmap pixels;
        RECT okButton;
    };
    static std::optional<Picture> draw(const std::string& text);

private:
    DesktopMessageBox(SDL_Window* window, Picture picture, int scale);
    void repaint();
    bool isOkClick(const SDL_Event& event) const;
    bool closes(const SDL_Event& event);

    SDL_Window* window_;
    // On X11 the box's pixels go through an image of its own, as the
    // program's window's do: SDL's window surface knows no deep-colour
    // screen. Null: SDL's window surface.
    std::unique_ptr<X11Presenter> presenter_;
    uint32_t id_;
    Picture picture_;
    int scale_;
    DesktopFrameCopy copy_;
    bool dismissed_ = false;
};

}  // namespace layer
