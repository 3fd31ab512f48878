#include "Layer.h"

#include "layer/ProgramEntry.h"

#include "Bitmap.h"
#include "DeviceContext.h"
#include "Font.h"
#include "Region.h"
#include "Window.h"

namespace layer {

namespace {

class StockObject : public LayerObject {
public:
    explicit StockObject(ObjectKind kind) : LayerObject(kind) { stock = true; }
};

}  // namespace

// The first call of any kind starts the layer on the default backend, so
// that stock objects exist before anything asks for them.
Layer& Layer::get() {
    static Layer instance;
    if (!instance.started_) {
        instance.started_ = true;
        instance.reset(makeDefaultBackend());
    }
    return instance;
}

void Layer::reset(std::unique_ptr<Backend> newBackend) {
    objects.clear();
    classes.clear();
    windows.clear();
    posted.clear();
    quitPosted = false;
    leftButtonHeld = false;
    pressPosition = POINT{0, 0};
    sincePress.clear();
    displayLost = false;
    quitCode = 0;
    windowOpened = false;
    windowRefusal.clear();
    hiddenResources.clear();
    for (int& n : failAt) n = 0;
    for (int& n : creations) n = 0;
    backend_ = std::move(newBackend);
    createStockObjects();
}

void Layer::createStockObjects() {
    for (HGDIOBJ& brush : stockBrushes)
        brush = handle<HGDIOBJ>(objects.add(std::make_unique<StockObject>(ObjectKind::Brush)));
    stockIcon = handle<HICON>(objects.add(std::make_unique<StockObject>(ObjectKind::Icon)));
    stockCursor = handle<HCURSOR>(objects.add(std::make_unique<StockObject>(ObjectKind::Icon)));
    LOGFONTA system{};
    system.lfHeight = -12;
    system.lfWeight = FW_NORMAL;
    system.lfCharSet = DEFAULT_CHARSET;
    const char face[] = "Sans";
    for (std::size_t i = 0; i < sizeof face; ++i) system.lfFaceName[i] = face[i];
    auto font = std::make_unique<Font>(system);
    font->stock = true;
    stockFont = handle<HFONT>(objects.add(std::move(font)));
}

bool Layer::shouldFail(Creation kind) {
    int index = int(kind);
    ++creations[index];
    return failAt[index] != 0 && creations[index] == failAt[index];
}

Bitmap* Layer::bitmap(HGDIOBJ h) const { return objects.findAs<Bitmap>(value(h), ObjectKind::Bitmap); }
DeviceContext* Layer::dc(HDC h) const { return objects.findAs<DeviceContext>(value(h), ObjectKind::DeviceContext); }
Region* Layer::region(HGDIOBJ h) const { return objects.findAs<Region>(value(h), ObjectKind::Region); }
Font* Layer::font(HGDIOBJ h) const { return objects.findAs<Font>(value(h), ObjectKind::Font); }
Window* Layer::window(HWND h) const { return objects.findAs<Window>(value(h), ObjectKind::Window); }

}  // namespace layer

namespace layer {

const char* windowRefusal() {
    const Layer& layer = Layer::get();
    return !layer.windowOpened && !layer.windowRefusal.empty() ? layer.windowRefusal.c_str() : nullptr;
}

}  // namespace layer
