#include "WebPage.h"

#include <emscripten.h>

// Each call goes to the desktop the page handed the program when it started
// it (Module.desktop).

EM_JS(void, brisko_screen_size, (int* size), {
    const screen = Module.desktop.screenSize();
    HEAP32[size >> 2] = screen[0];
    HEAP32[(size >> 2) + 1] = screen[1];
});
EM_JS(double, brisko_device_pixel_ratio, (), { return Module.desktop.devicePixelRatio(); });
EM_JS(void, brisko_cursor, (int* point), {
    const cursor = Module.desktop.cursor();
    HEAP32[point >> 2] = cursor[0];
    HEAP32[(point >> 2) + 1] = cursor[1];
});
EM_JS(void, brisko_show_window, (int id, const char* title, int x, int y, int width, int height),
      { Module.desktop.showWindow(id, UTF8ToString(title), x, y, width, height); });
EM_JS(void, brisko_hide_window, (int id), { Module.desktop.hideWindow(id); });
EM_JS(void, brisko_place_window, (int id, int x, int y), { Module.desktop.placeWindow(id, x, y); });
EM_JS(void, brisko_shape_window, (int id, const int* rects, int count), {
    const list = count < 0 ? null : Array.from(HEAP32.subarray(rects >> 2, (rects >> 2) + 4 * count));
    Module.desktop.shapeWindow(id, list);
});
EM_JS(void, brisko_show_rows, (int id, const uint8_t* rgba, int width, int top, int bottom),
      { Module.desktop.showRows(id, HEAPU8.buffer, rgba, width, top, bottom); });
EM_JS(void, brisko_minimize_window, (int id), { Module.desktop.minimizeWindow(id); });
EM_JS(int, brisko_open_box, (const char* caption, const char* text),
      { return Module.desktop.openBox(UTF8ToString(caption), UTF8ToString(text)); });
EM_JS(int, brisko_box_open, (int id), { return Module.desktop.boxOpen(id) ? 1 : 0; });
EM_JS(void, brisko_close_box, (int id), { Module.desktop.closeBox(id); });
EM_JS(int, brisko_take_event, (int* fields), {
    const event = Module.desktop.takeEvent();
    if (!event) return 0;
    HEAP32[fields >> 2] = event.kind;
    HEAP32[(fields >> 2) + 1] = event.x;
    HEAP32[(fields >> 2) + 2] = event.y;
    HEAP32[(fields >> 2) + 3] = event.modifiers;
    return 1;
});
EM_JS(void, brisko_program_ended, (int exitCode), { Module.desktop.programEnded(exitCode); });

namespace layer {

SIZE WebPage::screenSize() {
    int size[2] = {0, 0};
    brisko_screen_size(size);
    return SIZE{size[0], size[1]};
}

double WebPage::devicePixelRatio() { return brisko_device_pixel_ratio(); }

POINT WebPage::cursor() {
    int point[2] = {0, 0};
    brisko_cursor(point);
    return POINT{point[0], point[1]};
}

void WebPage::showWindow(int id, const std::string& title, int x, int y, int width, int height) {
    brisko_show_window(id, title.c_str(), x, y, width, height);
}

void WebPage::hideWindow(int id) { brisko_hide_window(id); }

void WebPage::placeWindow(int id, int x, int y) { brisko_place_window(id, x, y); }

void WebPage::shapeWindow(int id, const int* rects, int count) { brisko_shape_window(id, rects, count); }

void WebPage::showRows(int id, const uint8_t* rgba, int width, int top, int bottom) {
    brisko_show_rows(id, rgba, width, top, bottom);
}

void WebPage::minimizeWindow(int id) { brisko_minimize_window(id); }

int WebPage::openBox(const std::string& caption, const std::string& text) {
    return brisko_open_box(caption.c_str(), text.c_str());
}

bool WebPage::boxOpen(int id) { return brisko_box_open(id) != 0; }

void WebPage::closeBox(int id) { brisko_close_box(id); }

WebPage::Event WebPage::takeEvent() {
    int fields[4] = {};
    if (!brisko_take_event(fields)) return Event{};
    return Event{EventKind(fields[0]), fields[1], fields[2], fields[3]};
}

void WebPage::programEnded(int exitCode) { brisko_program_ended(exitCode); }

}  // namespace layer
