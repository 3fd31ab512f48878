// gdi32 and user32: regions, and the region that cuts a window's outline.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "Debug.h"
#include "Layer.h"
#include "Region.h"
#include "Window.h"

using layer::Creation;
using layer::Layer;
using layer::Region;

namespace {

// Where a transform puts a point, rounded to the nearest pixel (halves
// upward), or nothing when it lands outside 32-bit coordinates.
std::optional<POINT> transformed(const XFORM& t, LONG x, LONG y) {
    double tx = std::floor(x * double(t.eM11) + y * double(t.eM21) + double(t.eDx) + 0.5);
    double ty = std::floor(x * double(t.eM12) + y * double(t.eM22) + double(t.eDy) + 0.5);
    if (!(tx >= INT32_MIN && tx <= INT32_MAX && ty >= INT32_MIN && ty <= INT32_MAX)) return std::nullopt;
    return POINT{LONG(tx), LONG(ty)};
}

// A transform without rotation or shear keeps every rectangle a rectangle:
// the one its transformed corners span. Rotated and sheared regions are not
// offered (nothing the layer serves needs them).
bool transformRects(const XFORM& t, std::vector<RECT>& rects) {
    if (t.eM12 != 0.0f || t.eM21 != 0.0f) return false;
    for (RECT& r : rects) {
        std::optional<POINT> a = transformed(t, r.left, r.top), b = transformed(t, r.right, r.bottom);
        if (!a || !b) return false;
        r = RECT{std::min(a->x, b->x), std::min(a->y, b->y), std::max(a->x, b->x), std::max(a->y, b->y)};
    }
    return true;
}

}  // namespace

extern "C" {

// Reads exactly the bytes it was given: a block that is short, has a header
// of the wrong size or type, or claims more rectangles than it holds gives
// no region, as on Windows. A transform maps each rectangle's corners.
HRGN WINAPI ExtCreateRegion(const XFORM* transform, DWORD count, const RGNDATA* data) {
    if (!data || count < sizeof(RGNDATAHEADER)) return nullptr;
    RGNDATAHEADER header;
    std::memcpy(&header, data, sizeof header);
    if (header.dwSize != sizeof(RGNDATAHEADER) || header.iType != RDH_RECTANGLES) return nullptr;
    if (uint64_t(header.nCount) * sizeof(RECT) > uint64_t(count) - sizeof(RGNDATAHEADER)) {
        LAYER_TRACE(Region, "ExtCreateRegion: %u rectangles do not fit in %u bytes", unsigned(header.nCount),
                    unsigned(count));
        return nullptr;
    }

    std::vector<RECT> rects(header.nCount);
    const char* bytes = reinterpret_cast<const char*>(data) + sizeof(RGNDATAHEADER);
    if (!rects.empty()) std::memcpy(rects.data(), bytes, rects.size() * sizeof(RECT));
    if (transform && !transformRects(*transform, rects)) {
        LAYER_TRACE(Region, "ExtCreateRegion: the transform rotates, shears or leaves 32-bit coordinates");
        return nullptr;
    }
    return Layer::get().create<HRGN>(Creation::Region, std::make_unique<Region>(std::move(rects)));
}

BOOL WINAPI PtInRegion(HRGN handle, int x, int y) {
    Region* region = Layer::get().region(handle);
    return region && region->contains(x, y);
}

static int describeRegion(const Region& region, DWORD count, RGNDATA* data) {
    DWORD needed = DWORD(sizeof(RGNDATAHEADER) + region.rects().size() * sizeof(RECT));
    if (!data) return int(needed);
    if (count < needed) return 0;
    RGNDATAHEADER header{};
    header.dwSize = sizeof(RGNDATAHEADER);
    header.iType = RDH_RECTANGLES;
    header.nCount = DWORD(region.rects().size());
    header.nRgnSize = DWORD(region.rects().size() * sizeof(RECT));
    header.rcBound = region.bounds();
    std::memcpy(data, &header, sizeof header);
    if (!region.rects().empty())
        std::memcpy(reinterpret_cast<char*>(data) + sizeof header, region.rects().data(), header.nRgnSize);
    // The bytes written, however large the buffer was.
    return int(needed);
}

int WINAPI GetRegionData(HRGN handle, DWORD count, RGNDATA* data) {
    Region* region = Layer::get().region(handle);
    return region ? describeRegion(*region, count, data) : 0;
}

// On success the window owns the region and the caller's handle is no
// longer valid, as on Windows.
int WINAPI SetWindowRgn(HWND windowHandle, HRGN regionHandle, BOOL) {
    Layer& layer = Layer::get();
    layer::Window* window = layer.window(windowHandle);
    if (!window) return 0;
    std::unique_ptr<Region> owned;
    if (regionHandle) {
        Region* region = layer.region(regionHandle);
        if (!region) return 0;
        owned = std::make_unique<Region>(region->rects());
        layer.objects.remove(Layer::value(regionHandle));
    }
    window->region = std::move(owned);
    layer.backend().reshape(*window);
    return 1;
}

// Copies the window's region into an existing region object.
int WINAPI GetWindowRgn(HWND windowHandle, HRGN regionHandle) {
    Layer& layer = Layer::get();
    layer::Window* window = layer.window(windowHandle);
    Region* target = layer.region(regionHandle);
    if (!window || !target || !window->region) return ERROR;
    target->replace(window->region->rects());
    std::size_t count = window->region->rects().size();
    return count == 0 ? NULLREGION : count == 1 ? SIMPLEREGION : COMPLEXREGION;
}

}  // extern "C"
