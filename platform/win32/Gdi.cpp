// gdi32: bitmaps, memory device contexts, object selection and deletion, and
// the block copy.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "Bitmap.h"
#include "Debug.h"
#include "DeviceContext.h"
#include "Font.h"
#include "Layer.h"
#include "Surfaces.h"
#include "Window.h"

using layer::Bitmap;
using layer::Creation;
using layer::DeviceContext;
using layer::Layer;
using layer::ObjectKind;

namespace layer {

Bitmap* drawingSurface(DeviceContext& dc) {
    if (dc.kind == DeviceContext::Kind::Screen) return nullptr;  // the screen is not drawn on
    if (dc.kind == DeviceContext::Kind::Window) {
        Window* window = Layer::get().window(dc.window);
        return window ? &window->surface : nullptr;
    }
    return Layer::get().bitmap(dc.bitmap);
}

Window* windowOf(DeviceContext& dc) { return dc.window ? Layer::get().window(dc.window) : nullptr; }

void surfaceChanged(DeviceContext& dc, int top, int bottom) {
    Window* window = windowOf(dc);
    if (!window) return;
    window->markChanged(top, bottom);
    Layer::get().backend().present(*window);
}

}  // namespace layer

namespace {

// Bitmaps larger than this are refused, as a real driver refuses what it
// cannot allocate.
constexpr int64_t maxBitmapPixels = int64_t(1) << 26;

bool acceptableDibHeader(const BITMAPINFOHEADER& header) {
    if (header.biSize < sizeof(BITMAPINFOHEADER)) return false;
    if (header.biWidth <= 0 || header.biHeight == 0 || header.biHeight == INT32_MIN) return false;
    if (header.biPlanes != 1 || header.biBitCount != 24 || header.biCompression != BI_RGB) return false;
    int64_t height = header.biHeight < 0 ? -int64_t(header.biHeight) : header.biHeight;
    return int64_t(header.biWidth) * height <= maxBitmapPixels;
}

// A DC takes hold of an object, or lets go of it; an object whose deletion
// waited on its last DC goes with that DC's letting go.
void hold(HGDIOBJ handle) {
    if (layer::LayerObject* object = Layer::get().object(handle)) ++object->selections;
}

void letGo(HGDIOBJ handle) {
    Layer& layer = Layer::get();
    layer::LayerObject* object = layer.object(handle);
    if (!object || object->selections == 0) return;
    if (--object->selections == 0 && object->deletePending) layer.objects.remove(Layer::value(handle));
}

void releaseBitmap(DeviceContext& dc) {
    if (Bitmap* selected = Layer::get().bitmap(dc.bitmap)) selected->selectedInto = nullptr;
    letGo(dc.bitmap);
    dc.bitmap = nullptr;
}

HGDIOBJ selectBitmap(HDC dcHandle, DeviceContext& dc, HBITMAP bitmapHandle, Bitmap& bitmap) {
    if (dc.kind != DeviceContext::Kind::Memory) return nullptr;  // only a memory DC holds a bitmap
    if (dc.bitmap == bitmapHandle) return bitmapHandle;
    if (bitmap.selectedInto) {  // one bitmap, one DC at a time
        LAYER_TRACE(Gdi, "SelectObject: bitmap %p is already in DC %p", (void*)bitmapHandle,
                    (void*)bitmap.selectedInto);
        return nullptr;
    }
    HBITMAP previous = dc.bitmap;
    releaseBitmap(dc);
    bitmap.selectedInto = dcHandle;
    hold(bitmapHandle);
    dc.bitmap = bitmapHandle;
    return previous;
}

// Fonts and brushes may be held by many DCs at once.
template <class Handle>
HGDIOBJ selectShared(Handle& slot, Handle object, HGDIOBJ stock) {
    HGDIOBJ previous = slot ? slot : stock;
    if (object == previous) return previous;
    if (object != stock) hold(object);  // stock objects are never deleted
    letGo(slot);
    slot = object == stock ? nullptr : object;
    return previous;
}

}  // namespace

namespace layer {

// What a DC holds goes back when the DC goes: deletions waiting on it happen.
void releaseSelections(DeviceContext& dc) {
    releaseBitmap(dc);
    letGo(dc.font);
    letGo(dc.brush);
    dc.font = nullptr;
    dc.brush = nullptr;
    Layer::get().objects.remove(Layer::value(dc.defaultBitmap));
}

}  // namespace layer

namespace {

bool coversWholeRows(const Bitmap& from, int fromX, const Bitmap& to, int toX, int width) {
    return fromX == 0 && toX == 0 && width == from.width() && width == to.width() && from.stride() == to.stride() &&
           from.bottomUp() == to.bottomUp();
}

void copyRows(const Bitmap& from, int fromX, int fromY, Bitmap& to, int toX, int toY, int width, int height) {
    if (&from == &to) {
        // Overlapping copies within one bitmap must read rows before they are overwritten.
        bool downward = toY > fromY;
        for (int i = 0; i < height; ++i) {
            int row = downward ? height - 1 - i : i;
            std::memmove(to.row(toY + row) + 3 * toX, from.row(fromY + row) + 3 * fromX, std::size_t(width) * 3);
        }
        return;
    }
    if (coversWholeRows(from, fromX, to, toX, width)) {
        // Whole rows in the same layout lie in one block: copy it at once.
        int first = from.bottomUp() ? fromY + height - 1 : fromY;
        int firstTarget = to.bottomUp() ? toY + height - 1 : toY;
        std::memcpy(to.row(firstTarget), from.row(first), std::size_t(from.stride()) * std::size_t(height));
        return;
    }
    for (int row = 0; row < height; ++row)
        std::memcpy(to.row(toY + row) + 3 * toX, from.row(fromY + row) + 3 * fromX, std::size_t(width) * 3);
}

// For a window's surface: only rows whose pixels differ are written, and
// their span is returned, so that the backend shows no more than changed.
// Most of a frame is the one before it again.
layer::Window::Rows copyChangedRows(const Bitmap& from, int fromX, int fromY, Bitmap& to, int toX, int toY, int width,
                                    int height) {
    layer::Window::Rows changed{toY + height, toY};
    std::size_t bytes = std::size_t(width) * 3;
    for (int row = 0; row < height; ++row) {
        const uint8_t* source = from.row(fromY + row) + 3 * fromX;
        uint8_t* target = to.row(toY + row) + 3 * toX;
        if (std::memcmp(target, source, bytes) == 0) continue;
        std::memcpy(target, source, bytes);
        changed.top = std::min(changed.top, toY + row);
        changed.bottom = toY + row + 1;
    }
    return changed;
}

}  // namespace

extern "C" {

HGDIOBJ WINAPI GetStockObject(int object) {
    Layer& layer = Layer::get();
    if (object >= 0 && object < int(std::size(layer.stockBrushes))) return layer.stockBrushes[object];
    return nullptr;
}

HBITMAP WINAPI CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE, DWORD) {
    if (bits) *bits = nullptr;
    if (!info || usage != DIB_RGB_COLORS || !acceptableDibHeader(info->bmiHeader)) return nullptr;
    const BITMAPINFOHEADER& header = info->bmiHeader;
    bool bottomUp = header.biHeight > 0;
    int height = bottomUp ? header.biHeight : -header.biHeight;
    auto bitmap = std::make_unique<Bitmap>(header.biWidth, height, bottomUp);
    uint8_t* pixels = bitmap->bits();
    HBITMAP handle = Layer::get().create<HBITMAP>(Creation::Bitmap, std::move(bitmap));
    if (handle && bits) *bits = pixels;
    return handle;
}

HDC WINAPI CreateCompatibleDC(HDC) {
    Layer& layer = Layer::get();
    if (layer.shouldFail(Creation::DeviceContext)) return nullptr;
    auto dc = std::make_unique<DeviceContext>(DeviceContext::Kind::Memory);
    // A new memory DC holds a 1x1 monochrome bitmap until another is selected.
    // On Windows that bitmap is a stock object, which DeleteObject leaves
    // alone; here each DC has its own, freed with the DC.
    auto initial = std::make_unique<Bitmap>(1, 1, true, 1);
    initial->stock = true;
    DeviceContext* raw = dc.get();
    Bitmap* rawInitial = initial.get();
    uintptr_t dcValue = layer.objects.add(std::move(dc));
    if (!dcValue) return nullptr;
    uintptr_t initialValue = layer.objects.add(std::move(initial));
    if (!initialValue) {
        layer.objects.remove(dcValue);
        return nullptr;
    }
    HDC handle = Layer::handle<HDC>(dcValue);
    raw->defaultBitmap = Layer::handle<HBITMAP>(initialValue);
    rawInitial->selectedInto = handle;
    rawInitial->selections = 1;
    raw->bitmap = raw->defaultBitmap;
    return handle;
}

HGDIOBJ WINAPI SelectObject(HDC dcHandle, HGDIOBJ object) {
    Layer& layer = Layer::get();
    DeviceContext* dc = layer.dc(dcHandle);
    if (!dc) return nullptr;
    if (Bitmap* bitmap = layer.bitmap(object))
        return selectBitmap(dcHandle, *dc, static_cast<HBITMAP>(object), *bitmap);
    if (layer.font(object)) return selectShared(dc->font, static_cast<HFONT>(object), layer.stockFont);
    layer::LayerObject* found = layer.object(object);
    if (found && found->kind == ObjectKind::Brush)
        return selectShared(dc->brush, object, layer.stockBrushes[WHITE_BRUSH]);
    return nullptr;
}

BOOL WINAPI DeleteDC(HDC dcHandle) {
    Layer& layer = Layer::get();
    DeviceContext* dc = layer.dc(dcHandle);
    if (!dc || dc->fromGetDC()) return FALSE;  // a window's DC goes back through ReleaseDC
    layer::releaseSelections(*dc);
    layer.objects.remove(Layer::value(dcHandle));
    return TRUE;
}

// An object that a DC still holds is deleted once the last DC lets go of it
// (selects another, or is deleted or released), as GDI does.
BOOL WINAPI DeleteObject(HGDIOBJ object) {
    Layer& layer = Layer::get();
    layer::LayerObject* found = layer.object(object);
    if (!found) return FALSE;
    if (found->stock) return TRUE;
    switch (found->kind) {
        case ObjectKind::Bitmap:
        case ObjectKind::Font:
        case ObjectKind::Region:
        case ObjectKind::Brush:
            break;
        default:
            return FALSE;
    }
    if (found->selections > 0) {
        LAYER_TRACE(Gdi, "DeleteObject: %p is held by %d DC(s); deleted when the last lets go", object,
                    found->selections);
        found->deletePending = true;
        return TRUE;
    }
    layer.objects.remove(Layer::value(object));
    return TRUE;
}

// A font is described by the LOGFONTA it was made from.
static int describeFont(const layer::Font& font, int size, LPVOID buffer) {
    if (!buffer) return int(sizeof(LOGFONTA));
    int copied = std::min<int>(size, int(sizeof(LOGFONTA)));
    if (copied <= 0) return 0;
    std::memcpy(buffer, &font.logFont, std::size_t(copied));
    return copied;
}

int WINAPI GetObjectA(HGDIOBJ object, int size, LPVOID buffer) {
    if (layer::Font* font = Layer::get().font(object)) return describeFont(*font, size, buffer);
    Bitmap* bitmap = Layer::get().bitmap(object);
    if (!bitmap) return 0;
    if (!buffer) return int(sizeof(BITMAP));
    if (size < int(sizeof(BITMAP))) return 0;
    BITMAP description{};
    description.bmWidth = bitmap->width();
    description.bmHeight = bitmap->height();
    // A DIB section's rows are padded to a DWORD, a device-dependent bitmap's to a WORD.
    description.bmWidthBytes =
        bitmap->bitsPerPixel() == 24 ? bitmap->stride() : ((bitmap->width() * bitmap->bitsPerPixel() + 15) / 16) * 2;
    description.bmPlanes = 1;
    description.bmBitsPixel = WORD(bitmap->bitsPerPixel());
    description.bmBits = bitmap->bitsPerPixel() == 24 ? bitmap->bits() : nullptr;
    std::memcpy(buffer, &description, sizeof description);
    return int(sizeof(BITMAP));
}

// Copies the overlap of the source and destination rectangles, each clipped
// to its own bitmap; pixels of the destination with no source stay as they were.
BOOL WINAPI BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop) {
    Layer& layer = Layer::get();
    DeviceContext* to = layer.dc(dest);
    DeviceContext* from = layer.dc(source);
    if (!to || !from || rop != SRCCOPY) return FALSE;
    Bitmap* target = layer::drawingSurface(*to);
    Bitmap* origin = layer::drawingSurface(*from);
    if (!target || !origin) return FALSE;
    // A negative extent names the pixels on the other side of the origin,
    // the origin's own included, in both bitmaps: nothing is mirrored.
    int64_t wide = width, high = height, fromLeft = sourceX, fromTop = sourceY, toLeft = x, toTop = y;
    if (wide < 0) {
        toLeft += wide + 1;
        fromLeft += wide + 1;
        wide = -wide;
    }
    if (high < 0) {
        toTop += high + 1;
        fromTop += high + 1;
        high = -high;
    }

    int64_t left = std::max<int64_t>({0, -toLeft, -fromLeft});
    int64_t top = std::max<int64_t>({0, -toTop, -fromTop});
    int64_t right = std::min<int64_t>({wide, target->width() - toLeft, origin->width() - fromLeft});
    int64_t bottom = std::min<int64_t>({high, target->height() - toTop, origin->height() - fromTop});
    layer::Window::Rows changed;
    if (right > left && bottom > top) {
        int fromX = int(fromLeft + left), fromY = int(fromTop + top), toX = int(toLeft + left), toY = int(toTop + top);
        int copiedWidth = int(right - left), copiedHeight = int(bottom - top);
        if (layer::windowOf(*to) && origin != target) {
            changed = copyChangedRows(*origin, fromX, fromY, *target, toX, toY, copiedWidth, copiedHeight);
        } else {
            copyRows(*origin, fromX, fromY, *target, toX, toY, copiedWidth, copiedHeight);
            changed = layer::Window::Rows{toY, toY + copiedHeight};
        }
    }
    // The backend hears of every copy to a window, changed rows or none.
    layer::surfaceChanged(*to, changed.top, changed.bottom);
    return TRUE;
}

int WINAPI GetDeviceCaps(HDC dc, int index) {
    if (!Layer::get().dc(dc)) return 0;
    switch (index) {
        case LOGPIXELSX:
        case LOGPIXELSY:
            return 96;
        default:
            return 0;
    }
}

int WINAPI SetBkMode(HDC dcHandle, int mode) {
    DeviceContext* dc = Layer::get().dc(dcHandle);
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    int previous = dc->backgroundMode;
    dc->backgroundMode = mode;
    return previous;
}

COLORREF WINAPI SetBkColor(HDC dcHandle, COLORREF colour) {
    DeviceContext* dc = Layer::get().dc(dcHandle);
    if (!dc) return CLR_INVALID;
    COLORREF previous = dc->backgroundColour;
    dc->backgroundColour = colour & 0x00FFFFFF;
    return previous;
}

COLORREF WINAPI SetTextColor(HDC dcHandle, COLORREF colour) {
    DeviceContext* dc = Layer::get().dc(dcHandle);
    if (!dc) return CLR_INVALID;
    COLORREF previous = dc->textColour;
    dc->textColour = colour & 0x00FFFFFF;
    return previous;
}

}  // extern "C"
