// The backend for a web page: the page is the desktop. Each window is a
// canvas at its place on the page, transparent outside its region and taking
// the pointer only inside it; the program's Sleep gives the browser its turn
// (the program's own loop runs unchanged, suspended and resumed around each
// sleep), and input comes from the page's pointer events.
//
// On a screen of devicePixelRatio 2 or more, every pixel of the program
// becomes a whole-number block of device pixels, as on a scaled desktop.
#pragma once

#include <map>
#include <memory>

#include "Backend.h"
#include "WebFrame.h"
#include "WebPage.h"

namespace layer {

class WebBackend : public Backend {
public:
    SIZE screenSize() override { return WebPage::screenSize(); }
    int scale() override;
    LONGLONG counterFrequency() override { return ticksPerSecond; }
    LONGLONG counter() override;
    void sleep(DWORD milliseconds) override;
    POINT cursorPosition() override { return WebPage::cursor(); }
    bool showWindow(Window& window, std::string& whyNot) override;
    void hideWindow(Window& window) override;
    void present(Window& window) override;
    void reshape(Window& window) override;
    void place(Window& window) override;
    void minimize(Window& window) override;
    bool nextEvent(BackendEvent& event, bool wait) override;
    int messageBox(HWND owner, const char* text, const char* caption, UINT type) override;
    void idle() override;

    // The counter runs in microseconds, from the page's monotonic clock.
    static constexpr LONGLONG ticksPerSecond = 1'000'000;

private:
    struct Shown {
        int id = 0;
        WebFrame frame;
        bool presented = false;  // the program has shown a frame in it
    };

    Shown* shownOf(const Window& window);
    void showFrame(Window& window, Shown& shown, Window::Rows rows);
    static bool translate(const WebPage::Event& pageEvent, BackendEvent& event);

    int scale_ = 0;  // 0 until first asked
    int nextId_ = 1;
    std::map<int, std::unique_ptr<Shown>> shown_;
    int idleSpins_ = 0;
};

}  // namespace layer
