#include "DesktopMessageBox.h"

#include <SDL.h>

#include <algorithm>
#include <vector>

#include "DesktopCanvas.h"
#include "X11Window.h"

namespace layer {

namespace {

constexpr int margin = 14;
constexpr int buttonWidth = 75;
constexpr int buttonHeight = 23;
constexpr int minimumWidth = 180;
constexpr COLORREF faceColour = RGB(240, 240, 240);
constexpr COLORREF buttonBorder = RGB(112, 112, 112);
constexpr COLORREF buttonFace = RGB(225, 225, 225);

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return lines;
        start = end + 1;
    }
}

// The widest line and the tallest; empty without a font to measure with.
std::optional<SIZE> measureLines(const DesktopCanvas& canvas, const std::vector<std::string>& lines) {
    SIZE block{0, 0};
    for (const std::string& line : lines) {
        SIZE size{0, 0};
        if (!canvas.measure(line.empty() ? " " : line, size)) return std::nullopt;
        block.cx = std::max(block.cx, size.cx);
        block.cy = std::max(block.cy, size.cy);
    }
    if (block.cy <= 0) return std::nullopt;
    return block;
}

void drawButton(DesktopCanvas& canvas, const RECT& button, const std::string& label) {
    canvas.fill(button, buttonBorder);
    canvas.fill(RECT{button.left + 1, button.top + 1, button.right - 1, button.bottom - 1}, buttonFace);
    SIZE size{0, 0};
    canvas.measure(label, size);
    canvas.write(label, (button.left + button.right - size.cx) / 2, (button.top + button.bottom - size.cy) / 2);
}

}  // namespace

std::optional<DesktopMessageBox::Picture> DesktopMessageBox::draw(const std::string& text) {
    DesktopCanvas canvas;
    std::vector<std::string> lines = linesOf(text);
    std::optional<SIZE> block = measureLines(canvas, lines);
    if (!block) return std::nullopt;
    int width = std::max<int>(minimumWidth, block->cx + 2 * margin);
    int textBottom = margin + block->cy * int(lines.size());
    int height = textBottom + margin + buttonHeight + margin;
    Bitmap* surface = canvas.makeSurface(width, height);
    if (!surface) return std::nullopt;

    canvas.fill(RECT{0, 0, width, height}, faceColour);
    for (std::size_t i = 0; i < lines.size(); ++i) canvas.write(lines[i], margin, margin + block->cy * int(i));
    RECT ok{(width - buttonWidth) / 2, textBottom + margin, (width + buttonWidth) / 2,
            textBottom + margin + buttonHeight};
    drawButton(canvas, ok, "OK");
    return Picture{*surface, ok};
}

std::unique_ptr<DesktopMessageBox> DesktopMessageBox::open(const char* caption, const char* text, int scale) {
    std::optional<Picture> picture = draw(text);
    if (!picture) return nullptr;
    SDL_Window* window =
        SDL_CreateWindow(caption, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, picture->pixels.width() * scale,
                         picture->pixels.height() * scale, SDL_WINDOW_HIDDEN);
    if (!window) return nullptr;
    std::unique_ptr<DesktopMessageBox> box(new DesktopMessageBox(window, std::move(*picture), scale));
    box->presenter_ = X11Presenter::open(X11Window::of(window), box->picture_.pixels.width() * scale,
                                         box->picture_.pixels.height() * scale);
    if (!box->presenter_ && !SDL_GetWindowSurface(window)) return nullptr;
    SDL_ShowWindow(window);
    box->repaint();
    // Without a window manager nothing hands the keyboard to a new window.
    X11Window x11 = X11Window::of(window);
    if (x11.valid() && !x11.windowManagerRunning()) x11.takeFocus();
    SDL_RaiseWindow(window);
    return box;
}

DesktopMessageBox::DesktopMessageBox(SDL_Window* window, Picture picture, int scale)
    : window_(window), id_(SDL_GetWindowID(window)), picture_(std::move(picture)), scale_(scale) {}

// The image's connection goes first, as for the program's windows.
DesktopMessageBox::~DesktopMessageBox() {
    presenter_.reset();
    if (window_) SDL_DestroyWindow(window_);
}

void DesktopMessageBox::abandon() {
    if (presenter_) presenter_->abandon();
    window_ = nullptr;
}

void DesktopMessageBox::repaint() {
    SDL_Surface* surface = presenter_ ? &presenter_->imageToWrite() : SDL_GetWindowSurface(window_);
    if (!surface) return;
    copy_.forget();
    DesktopFrameCopy::Band rows = copy_.copy(picture_.pixels, *surface, scale_, DesktopFrameCopy::everyRow);
    if (presenter_)
        presenter_->put(rows.top, rows.bottom);
    else
        SDL_UpdateWindowSurface(window_);
}

bool DesktopMessageBox::isOkClick(const SDL_Event& event) const {
    if (event.button.windowID != id_ || event.button.button != SDL_BUTTON_LEFT) return false;
    const RECT& ok = picture_.okButton;
    int x = event.button.x / scale_;
    int y = event.button.y / scale_;
    return event.button.x >= 0 && event.button.y >= 0 && x >= ok.left && x < ok.right && y >= ok.top && y < ok.bottom;
}

bool DesktopMessageBox::take(const SDL_Event& event) {
    if (dismissed_ || !closes(event)) return false;
    dismissed_ = true;
    return true;
}

bool DesktopMessageBox::closes(const SDL_Event& event) {
    switch (event.type) {
        case SDL_MOUSEBUTTONUP:
            return isOkClick(event);
        case SDL_KEYDOWN: {
            // Keys reach the box only; 0 is a key SDL saw with no window focused.
            if (event.key.windowID != id_ && event.key.windowID != 0) return false;
            SDL_Keycode key = event.key.keysym.sym;
            return key == SDLK_RETURN || key == SDLK_KP_ENTER || key == SDLK_ESCAPE || key == SDLK_SPACE;
        }
        case SDL_WINDOWEVENT:
            if (event.window.windowID != id_) return false;
            if (event.window.event == SDL_WINDOWEVENT_EXPOSED) repaint();
            return event.window.event == SDL_WINDOWEVENT_CLOSE;
        default:
            return false;
    }
}

}  // namespace layer
