// gdi32 and user32: regions, and the region that cuts a window's outline.
#include <windows.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "Layer.h"
#include "Region.h"
#include "Window.h"

using layer::Creation;
using layer::Layer;
using layer::Region;

namespace {

bool isTranslation(const XFORM& t) { return t.eM11 == 1.0f && t.eM22 == 1.0f && t.eM12 == 0.0f && t.eM21 == 0.0f; }

// A move by whole pixels that 32-bit coordinates can take.
bool translationOf(const XFORM& t, int64_t& dx, int64_t& dy) {
    constexpr float limit = 2147483648.0f;
    if (!isTranslation(t) || !(std::fabs(t.eDx) < limit) || !(std::fabs(t.eDy) < limit)) return false;
    dx = int64_t(t.eDx);
    dy = int64_t(t.eDy);
    return true;
}

bool fitsCoordinate(int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; }

}  // namespace

extern "C" {

// Reads exactly the bytes it was given: a block that is short, has a header
// of the wrong size or type, or claims more rectangles than it holds gives
// no region.
HRGN WINAPI ExtCreateRegion(const XFORM* transform, DWORD count, const RGNDATA* data) {
    if (!data || count < sizeof(RGNDATAHEADER)) return nullptr;
    RGNDATAHEADER header;
    std::memcpy(&header, data, sizeof header);
    if (header.dwSize != sizeof(RGNDATAHEADER) || header.iType != RDH_RECTANGLES) return nullptr;
    if (uint64_t(header.nCount) * sizeof(RECT) > uint64_t(count) - sizeof(RGNDATAHEADER)) return nullptr;
    int64_t dx = 0, dy = 0;
    if (transform && !translationOf(*transform, dx, dy)) return nullptr;

    std::vector<RECT> rects(header.nCount);
    const char* bytes = reinterpret_cast<const char*>(data) + sizeof(RGNDATAHEADER);
    if (!rects.empty()) std::memcpy(rects.data(), bytes, rects.size() * sizeof(RECT));
    for (RECT& r : rects) {
        int64_t left = r.left + dx, right = r.right + dx, top = r.top + dy, bottom = r.bottom + dy;
        if (!fitsCoordinate(left) || !fitsCoordinate(right) || !fitsCoordinate(top) || !fitsCoordinate(bottom))
            return nullptr;
        r = RECT{LONG(left), LONG(top), LONG(right), LONG(bottom)};
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
