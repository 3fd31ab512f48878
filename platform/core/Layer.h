// The layer's whole state: its objects, window classes, message queue,
// resources, backend and the failures a test asked for. One instance per
// process; tests start each run from a fresh one.
#pragma once

#include <windows.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "Backend.h"
#include "ObjectTable.h"
#include "layer/Testing.h"

namespace layer {

class Bitmap;
class DeviceContext;
class Region;
class Font;
class Window;

struct WindowClass {
    std::string name;
    WNDPROC procedure = nullptr;
    HINSTANCE instance = nullptr;
};

class Layer {
public:
    static Layer& get();

    // Drops every object, class, window and message, and installs a backend.
    void reset(std::unique_ptr<Backend> newBackend);

    Backend& backend() {
        if (!backend_) reset(makeDefaultBackend());
        return *backend_;
    }

    template <class Handle>
    static uintptr_t value(Handle h) {
        return reinterpret_cast<uintptr_t>(h);
    }
    template <class Handle>
    static Handle handle(uintptr_t v) {
        return reinterpret_cast<Handle>(v);
    }

    Bitmap* bitmap(HGDIOBJ h) const;
    DeviceContext* dc(HDC h) const;
    Region* region(HGDIOBJ h) const;
    Font* font(HGDIOBJ h) const;
    Window* window(HWND h) const;
    LayerObject* object(HGDIOBJ h) const { return objects.find(value(h)); }

    // Stores a new object and returns its handle, or null when a test has
    // asked this creation to fail.
    template <class Handle>
    Handle create(Creation kind, std::unique_ptr<LayerObject> object) {
        if (shouldFail(kind)) return nullptr;
        return handle<Handle>(objects.add(std::move(object)));
    }
    bool shouldFail(Creation kind);

    ObjectTable objects;
    std::vector<WindowClass> classes;
    std::vector<HWND> windows;
    std::deque<MSG> posted;
    bool quitPosted = false;
    bool leftButtonHeld = false;
    // Where the last left press was, and the pointer's moves and release
    // since, wherever they went: a move that this press starts is anchored
    // there and replays them, however late the program asks for it.
    POINT pressPosition{0, 0};
    std::vector<BackendEvent> sincePress;
    bool displayLost = false;
    int quitCode = 0;
    // Whether a window was ever made, and why the last refused one was not.
    bool windowOpened = false;
    std::string windowRefusal;
    HGDIOBJ stockBrushes[6] = {};
    HICON stockIcon = nullptr;
    HCURSOR stockCursor = nullptr;
    HFONT stockFont = nullptr;
    std::vector<const ResourceEntry*> resources;
    std::vector<int> hiddenResources;
    int failAt[int(Creation::Count)] = {};
    int creations[int(Creation::Count)] = {};

private:
    void createStockObjects();
    std::unique_ptr<Backend> backend_;
    bool started_ = false;
};

// Turns a backend event into the message it stands for, if the window takes it.
void deliverEvent(const BackendEvent& event);
// Dispatches every posted message but WM_QUIT, as a modal loop does; false
// once WM_QUIT has been posted.
bool pumpModal();

}  // namespace layer
