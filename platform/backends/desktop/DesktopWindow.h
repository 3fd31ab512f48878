// One window of the layer on the desktop: a borderless SDL window drawn in
// software, its outline cut by the window's region through X11.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "DesktopFrameCopy.h"
#include "X11Window.h"

struct SDL_Window;

namespace layer {

class Bitmap;
class Window;

class DesktopWindow {
public:
    // Creates the window where the layer's window is, with its size, title,
    // region and current pixels, each pixel a scale x scale block, and puts
    // it on the screen. Null, with the reason, when SDL cannot.
    static std::unique_ptr<DesktopWindow> open(const Window& window, int scale, std::string& whyNot);
    ~DesktopWindow();
    DesktopWindow(const DesktopWindow&) = delete;
    DesktopWindow& operator=(const DesktopWindow&) = delete;

    // Shows a new frame, of which only these rows changed.
    void show(const Bitmap& frame, DesktopFrameCopy::Band changed = DesktopFrameCopy::everyRow);
    // Shows the last frame again, for parts of the window that were covered.
    void repaint();
    // Follows the layer window's region (null: the whole rectangle).
    void reshape(const Window& window);
    // To a place in device pixels.
    void moveTo(int x, int y);
    void minimize();

    uint32_t id() const { return id_; }

    // Lets go of the window without a word to the display, which has gone:
    // destroying it would wait for an answer that never comes.
    void abandon() { window_ = nullptr; }
    const X11Window& x11() const { return x11_; }

private:
    DesktopWindow(SDL_Window* window, int scale);

    SDL_Window* window_;
    uint32_t id_;
    int scale_;
    X11Window x11_;
    DesktopFrameCopy copy_;
};

}  // namespace layer
