#include "WebBackend.h"

#include <emscripten.h>

#include <cmath>
#include <vector>

#include "Layer.h"
#include "RectArithmetic.h"
#include "Window.h"

namespace layer {

namespace {

// While a modal loop waits for input, it looks this often.
constexpr unsigned waitSliceMs = 4;
// A program that polls this often without sleeping is spinning (it does
// while it shuts down); it gives the page a turn now and then, or the page
// would freeze.
constexpr int spinsBeforeYield = 1000;

}  // namespace

int WebBackend::scale() {
    // Fixed at the first question: the program's geometry must not change
    // under it if the page is zoomed later.
    if (scale_ == 0) scale_ = std::max(1, int(std::floor(WebPage::devicePixelRatio())));
    return scale_;
}

LONGLONG WebBackend::counter() { return LONGLONG(emscripten_get_now() * 1000.0); }

void WebBackend::sleep(DWORD milliseconds) {
    idleSpins_ = 0;
    emscripten_sleep(milliseconds);
}

void WebBackend::idle() {
    if (++idleSpins_ < spinsBeforeYield) return;
    idleSpins_ = 0;
    emscripten_sleep(0);
}

WebBackend::Shown* WebBackend::shownOf(const Window& window) { return static_cast<Shown*>(window.backendData); }

bool WebBackend::showWindow(Window& window, std::string&) {
    auto shown = std::make_unique<Shown>();
    shown->id = nextId_++;
    window.backendData = shown.get();
    WebPage::showWindow(shown->id, window.title, window.deviceX, window.deviceY, window.width * scale(),
                        window.height * scale());
    shown_[shown->id] = std::move(shown);
    reshape(window);
    return true;
}

void WebBackend::hideWindow(Window& window) {
    Shown* shown = shownOf(window);
    if (!shown) return;
    WebPage::hideWindow(shown->id);
    window.backendData = nullptr;
    shown_.erase(shown->id);
}

void WebBackend::showFrame(Window& window, Shown& shown, Window::Rows rows) {
    Window::Rows written = shown.frame.copy(window.surface, rows);
    if (!written.empty())
        WebPage::showRows(shown.id, shown.frame.pixels(), shown.frame.width(), written.top, written.bottom);
}

void WebBackend::present(Window& window) {
    Shown* shown = shownOf(window);
    if (!shown) return;
    shown->presented = true;
    showFrame(window, *shown, window.takeChanged());
}

// The canvas takes the pointer only inside the outline: the page gets the
// rest. Its pixels outside it turn transparent. A window that has not yet
// shown a frame stays transparent all over: it has nothing to show.
void WebBackend::reshape(Window& window) {
    Shown* shown = shownOf(window);
    if (!shown) return;
    int n = scale();
    shown->frame.shape(window.width, window.height, n, window.region.get());
    if (window.region) {
        std::vector<int> rects;
        for (const RECT& rect : window.region->rects()) {
            RECT scaled = scaledRect(rect, n);
            rects.insert(rects.end(), {int(scaled.left), int(scaled.top), int(scaled.right), int(scaled.bottom)});
        }
        WebPage::shapeWindow(shown->id, rects.data(), int(rects.size() / 4));
    } else {
        WebPage::shapeWindow(shown->id, nullptr, -1);
    }
    if (shown->presented) showFrame(window, *shown, Window::Rows{0, window.height});
}

void WebBackend::place(Window& window) {
    if (Shown* shown = shownOf(window)) WebPage::placeWindow(shown->id, window.deviceX, window.deviceY);
}

void WebBackend::minimize(Window& window) {
    if (Shown* shown = shownOf(window)) WebPage::minimizeWindow(shown->id);
}

bool WebBackend::translate(const WebPage::Event& pageEvent, BackendEvent& event) {
    using Kind = WebPage::EventKind;
    using Type = BackendEvent::Type;
    switch (pageEvent.kind) {
        case Kind::PointerMove:
            event.type = Type::PointerMove;
            break;
        case Kind::PointerDown:
            event.type = Type::PointerDown;
            break;
        case Kind::PointerUp:
            event.type = Type::PointerUp;
            break;
        case Kind::DismissBox:
            event.type = Type::DismissBox;
            break;
        case Kind::Restore:
            event.type = Type::Restore;
            break;
        default:
            return false;
    }
    event.screenX = pageEvent.x;
    event.screenY = pageEvent.y;
    event.modifiers = WPARAM(pageEvent.modifiers) & (MK_SHIFT | MK_CONTROL);
    return true;
}

bool WebBackend::nextEvent(BackendEvent& event, bool wait) {
    for (;;) {
        for (WebPage::Event pageEvent = WebPage::takeEvent(); pageEvent.kind != WebPage::EventKind::None;
             pageEvent = WebPage::takeEvent())
            if (translate(pageEvent, event)) return true;
        if (!wait) return false;
        emscripten_sleep(waitSliceMs);
    }
}

// The box has no owner: while it is up the windows go on taking input, as
// on the desktop, but no frame runs until it is closed.
int WebBackend::messageBox(HWND, const char* text, const char* caption, UINT) {
    int box = WebPage::openBox(caption, text);
    BackendEvent event;
    while (WebPage::boxOpen(box) && pumpModal() && nextEvent(event, true))
        if (event.type != BackendEvent::Type::DismissBox) deliverEvent(event);
    if (WebPage::boxOpen(box)) WebPage::closeBox(box);
    return IDOK;
}

}  // namespace layer
