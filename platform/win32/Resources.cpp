// kernel32 and user32: the program's resources, and bitmaps made from them.
#include <windows.h>

#include <strings.h>
#include <algorithm>
#include <cstring>

#include "Bitmap.h"
#include "Debug.h"
#include "Layer.h"

using layer::Bitmap;
using layer::Creation;
using layer::Layer;
using layer::ResourceEntry;

namespace {

// The handle the program's own module has, as on Windows where an
// executable usually loads at this address.
HMODULE const programModule = reinterpret_cast<HMODULE>(uintptr_t{0x400000});

bool isProgramModule(HMODULE module) { return module == nullptr || module == programModule; }

// The resource script's keywords for the predefined types, which Windows
// stores as numbered types: a type asked for by name is a custom type and
// never one of these, and a numbered type is found only under its keyword.
struct PredefinedType {
    ULONG_PTR number;
    const char* keyword;
};
constexpr PredefinedType predefinedTypes[] = {{2, "BITMAP"}, {10, "RCDATA"}};  // RT_BITMAP, RT_RCDATA

const char* predefinedTypeName(ULONG_PTR number) {
    for (const PredefinedType& type : predefinedTypes)
        if (type.number == number) return type.keyword;
    return nullptr;
}

bool isPredefinedType(const char* name) {
    for (const PredefinedType& type : predefinedTypes)
        if (strcasecmp(name, type.keyword) == 0) return true;
    return false;
}

bool typeMatches(const ResourceEntry& entry, LPCSTR type) {
    if (IS_INTRESOURCE(type)) {
        const char* keyword = predefinedTypeName(reinterpret_cast<ULONG_PTR>(type));
        return keyword && strcasecmp(entry.type, keyword) == 0;
    }
    return !isPredefinedType(entry.type) && strcasecmp(entry.type, type) == 0;
}

bool isHidden(int id) {
    const auto& hidden = Layer::get().hiddenResources;
    return std::find(hidden.begin(), hidden.end(), id) != hidden.end();
}

const ResourceEntry* entryOf(HRSRC resource) {
    const auto& entries = Layer::get().resources;
    uintptr_t index = Layer::value(resource);
    return index >= 1 && index <= entries.size() ? entries[index - 1] : nullptr;
}

// A BITMAP resource is a DIB without its file header; only the 24-bit
// uncompressed kind the program carries is understood.
HBITMAP bitmapFromResource(const unsigned char* data, std::size_t size) {
    BITMAPINFOHEADER header;
    if (size < sizeof header) return nullptr;
    std::memcpy(&header, data, sizeof header);
    if (header.biSize < sizeof header || header.biSize > size) return nullptr;
    if (header.biWidth <= 0 || header.biHeight == 0 || header.biHeight == INT32_MIN) return nullptr;
    if (header.biWidth > 0x4000 || header.biHeight > 0x4000 || header.biHeight < -0x4000) return nullptr;
    if (header.biPlanes != 1 || header.biBitCount != 24 || header.biCompression != BI_RGB) return nullptr;
    bool bottomUp = header.biHeight > 0;
    int height = bottomUp ? header.biHeight : -header.biHeight;
    std::size_t offset = std::size_t(header.biSize) + std::size_t(header.biClrUsed) * sizeof(RGBQUAD);
    std::size_t pixelBytes = std::size_t(Bitmap::strideFor(header.biWidth)) * std::size_t(height);
    if (header.biClrUsed > 256 || offset > size || pixelBytes > size - offset) return nullptr;

    auto bitmap = std::make_unique<Bitmap>(header.biWidth, height, bottomUp);
    std::memcpy(bitmap->bits(), data + offset, pixelBytes);
    return Layer::get().create<HBITMAP>(Creation::Bitmap, std::move(bitmap));
}

HBITMAP loadBitmap(HINSTANCE instance, LPCSTR name) {
    if (!instance || !isProgramModule(instance)) return nullptr;
    HRSRC resource = FindResourceA(instance, name, RT_BITMAP);
    const ResourceEntry* entry = entryOf(resource);
    return entry ? bitmapFromResource(entry->data, entry->size) : nullptr;
}

}  // namespace

namespace layer {

void installResources(const ResourceEntry* entries, std::size_t count) {
    auto& installed = Layer::get().resources;
    installed.clear();
    for (std::size_t i = 0; i < count; ++i) installed.push_back(&entries[i]);
}

}  // namespace layer

extern "C" {

HMODULE WINAPI GetModuleHandleA(LPCSTR name) { return name ? nullptr : programModule; }

HRSRC WINAPI FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
    if (!isProgramModule(module) || !name || !type || !IS_INTRESOURCE(name)) return nullptr;
    int id = int(reinterpret_cast<ULONG_PTR>(name));
    if (isHidden(id)) return nullptr;
    const auto& entries = Layer::get().resources;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i]->id == id && typeMatches(*entries[i], type)) return Layer::handle<HRSRC>(i + 1);
    LAYER_TRACE(Resource, "FindResourceA: no resource %d of that type", id);
    return nullptr;
}

HGLOBAL WINAPI LoadResource(HMODULE module, HRSRC resource) {
    const ResourceEntry* entry = isProgramModule(module) ? entryOf(resource) : nullptr;
    return entry ? const_cast<unsigned char*>(entry->data) : nullptr;
}

DWORD WINAPI SizeofResource(HMODULE module, HRSRC resource) {
    const ResourceEntry* entry = isProgramModule(module) ? entryOf(resource) : nullptr;
    return entry ? DWORD(entry->size) : 0;
}

LPVOID WINAPI LockResource(HGLOBAL data) { return data; }

// Resources stay mapped for the life of the module; as on 32-bit Windows
// this does nothing and answers FALSE.
BOOL WINAPI FreeResource(HGLOBAL) { return FALSE; }

HBITMAP WINAPI LoadBitmapA(HINSTANCE instance, LPCSTR name) { return loadBitmap(instance, name); }

// Only whole bitmaps at their own size: scaling is not offered.
HANDLE WINAPI LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT) {
    if (type != IMAGE_BITMAP) return nullptr;
    HBITMAP bitmap = loadBitmap(instance, name);
    Bitmap* loaded = Layer::get().bitmap(bitmap);
    if (loaded && ((cx && cx != loaded->width()) || (cy && cy != loaded->height()))) {
        DeleteObject(bitmap);
        return nullptr;
    }
    return bitmap;
}

}  // extern "C"
