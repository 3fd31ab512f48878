#include "DesktopWindow.h"

#include <SDL.h>

#include <string>
#include <vector>

#include "RectArithmetic.h"
#include "Window.h"

namespace layer {

namespace {

// A screen of too few colours (8 bits: a colour map) is refused by name: the
// skin cannot be shown on it.
std::string noSurfaceReason(const X11Window& x11) {
    int depth = x11.depth();
    if (depth > 0 && depth < 15)
        return "its screen has a depth of " + std::to_string(depth) + " bits; it needs 15 bits or more (true colour)";
    return std::string("no window surface (SDL: ") + SDL_GetError() + ")";
}

}  // namespace

std::unique_ptr<DesktopWindow> DesktopWindow::open(Window& window, int scale, POINT origin, std::string& whyNot) {
    // Created hidden so that the outline and the first pixels are in place
    // before the window is mapped.
    SDL_Window* created =
        SDL_CreateWindow(window.title.c_str(), window.deviceX + int(origin.x), window.deviceY + int(origin.y),
                         window.width * scale, window.height * scale, SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN);
    if (!created) {
        whyNot = std::string("no window (SDL: ") + SDL_GetError() + ")";
        return nullptr;
    }
    std::unique_ptr<DesktopWindow> opened(new DesktopWindow(created, scale, window));
    opened->presenter_ = X11Presenter::open(opened->x11_, window.width * scale, window.height * scale);
    // Without an image of its own, the window shows SDL's software surface,
    // made before the shape is set: making it must not replace the X window
    // the shape belongs to.
    if (!opened->presenter_ && !SDL_GetWindowSurface(created)) {
        whyNot = noSurfaceReason(opened->x11_);
        return nullptr;
    }
    opened->reshape(window);
    opened->show(window.surface);
    SDL_ShowWindow(created);
    opened->repaint();
    return opened;
}

DesktopWindow::DesktopWindow(SDL_Window* window, int scale, Window& owner)
    : window_(window), id_(SDL_GetWindowID(window)), scale_(scale), x11_(X11Window::of(window)), owner_(&owner) {}

// The image's connection is done with the window (closing it waits for the
// server) before SDL destroys the window: a put still on its way would meet
// a window that is no more.
DesktopWindow::~DesktopWindow() {
    presenter_.reset();
    if (window_) SDL_DestroyWindow(window_);
}

void DesktopWindow::abandon() {
    if (presenter_) presenter_->abandon();
    window_ = nullptr;
}

SDL_Surface* DesktopWindow::target() {
    if (presenter_) return &presenter_->imageToWrite();
    return SDL_GetWindowSurface(window_);
}

void DesktopWindow::show(const Bitmap& frame, DesktopFrameCopy::Band rows) {
    SDL_Surface* surface = target();
    if (!surface) return;
    bool locked = SDL_MUSTLOCK(surface);
    if (locked && SDL_LockSurface(surface) != 0) return;
    DesktopFrameCopy::Band changed = copy_.copy(frame, *surface, scale_, rows);
    if (locked) SDL_UnlockSurface(surface);
    if (changed.empty()) return;
    if (presenter_) {
        presenter_->put(changed.top, changed.bottom);
        return;
    }
    SDL_Rect band{0, changed.top, surface->w, changed.bottom - changed.top};
    SDL_UpdateWindowSurfaceRects(window_, &band, 1);
}

// The image (or window surface) still holds the last frame; putting it on
// the screen again is all a repaint needs.
void DesktopWindow::repaint() {
    if (presenter_)
        presenter_->put(DesktopFrameCopy::everyRow.top, DesktopFrameCopy::everyRow.bottom);
    else
        SDL_UpdateWindowSurface(window_);
}

// Each rectangle of the region covers whole blocks, so the outline is exact.
void DesktopWindow::reshape(const Window& window) {
    if (!window.region) {
        x11_.setShape(nullptr);
        return;
    }
    std::vector<RECT> blocks = window.region->rects();
    for (RECT& r : blocks) r = scaledRect(r, scale_);
    x11_.setShape(&blocks);
}

// Straight to the X server: SDL would wait up to 100 ms for each move to
// show, and a window manager may not let it.
void DesktopWindow::moveTo(POINT root) {
    if (x11_.valid())
        x11_.moveTo(root);
    else
        SDL_SetWindowPosition(window_, int(root.x), int(root.y));
}

void DesktopWindow::minimize() { SDL_MinimizeWindow(window_); }

}  // namespace layer
