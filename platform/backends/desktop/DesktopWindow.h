// One window of the layer on the desktop: a borderless SDL window drawn in
// software, its outline cut by the window's region through X11. On X11 its
// pixels go to the screen through an image of its own (X11Presenter);
// elsewhere through SDL's window surface.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "DesktopFrameCopy.h"
#include "X11Presenter.h"
#include "X11Window.h"

struct SDL_Surface;
struct SDL_Window;

namespace layer {

class Bitmap;
class Window;

class DesktopWindow {
public:
    // Creates the window where the layer's window is, with its size, title,
    // region and current pixels, each pixel a scale x scale block, and puts
    // it on the screen. Null, with the reason, when SDL cannot.
    // Screen coordinates have their origin at the given place of the root
    // window (the primary monitor's top-left corner).
    static std::unique_ptr<DesktopWindow> open(Window& window, int scale, POINT origin, std::string& whyNot);
    ~DesktopWindow();
    DesktopWindow(const DesktopWindow&) = delete;
    DesktopWindow& operator=(const DesktopWindow&) = delete;

    // Shows a new frame, of which only these rows changed.
    void show(const Bitmap& frame, DesktopFrameCopy::Band changed = DesktopFrameCopy::everyRow);
    // Shows the last frame again, for parts of the window that were covered.
    void repaint();
    // Follows the layer window's region (null: the whole rectangle).
    void reshape(const Window& window);
    // Asks for the window to go to a place in root coordinates.
    void moveTo(POINT root);
    void minimize();

    uint32_t id() const { return id_; }
    // The layer's window this one shows.
    Window& owner() const { return *owner_; }

    // Lets go of the window without a word to the display, which has gone:
    // destroying it would wait for an answer that never comes.
    void abandon();
    const X11Window& x11() const { return x11_; }

private:
    DesktopWindow(SDL_Window* window, int scale, Window& owner);
    // Where the pixels are written before they are shown; null when there
    // is nowhere.
    SDL_Surface* target();

    SDL_Window* window_;
    uint32_t id_;
    int scale_;
    X11Window x11_;
    std::unique_ptr<X11Presenter> presenter_;  // null: SDL's window surface
    Window* owner_;
    DesktopFrameCopy copy_;
};

}  // namespace layer
