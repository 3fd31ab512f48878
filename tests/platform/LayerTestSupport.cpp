#include "LayerTestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

std::string describeRect(const RECT& rect) {
    char text[80];
    std::snprintf(text, sizeof text, "{%d, %d, %d, %d}", int(rect.left), int(rect.top), int(rect.right),
                  int(rect.bottom));
    return text;
}

COLORREF patternColour(int x, int y) { return RGB(10 + 17 * x, 20 + 13 * y, 0x80 + x + 3 * y); }

TailBuffer::TailBuffer(const std::vector<uint8_t>& bytes)
    : data_(std::make_unique<uint8_t[]>(bytes.size())), size_(bytes.size()) {
    if (!bytes.empty()) std::memcpy(data_.get(), bytes.data(), bytes.size());
}

BITMAPINFOHEADER bitmapResourceHeader(int width, int height) { return dibInfo(width, height).bmiHeader; }

std::vector<uint8_t> bitmapResource(const BITMAPINFOHEADER& header, const PixelFunction& colour) {
    std::vector<uint8_t> bytes(sizeof header);
    std::memcpy(bytes.data(), &header, sizeof header);
    int width = header.biWidth;
    int height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    int stride = ((width * 24 + 31) / 32) * 4;
    for (int row = 0; row < height; ++row) {
        int y = header.biHeight > 0 ? height - 1 - row : row;
        std::vector<uint8_t> line(std::size_t(stride), 0);
        for (int x = 0; x < width; ++x) {
            COLORREF c = colour(x, y);
            line[3 * x] = uint8_t((c >> 16) & 0xFF);
            line[3 * x + 1] = uint8_t((c >> 8) & 0xFF);
            line[3 * x + 2] = uint8_t(c & 0xFF);
        }
        bytes.insert(bytes.end(), line.begin(), line.end());
    }
    return bytes;
}

RGNDATAHEADER regionHeader(const std::vector<RECT>& rects) {
    RGNDATAHEADER header{};
    header.dwSize = sizeof(RGNDATAHEADER);
    header.iType = RDH_RECTANGLES;
    header.nCount = DWORD(rects.size());
    header.nRgnSize = DWORD(rects.size() * sizeof(RECT));
    if (!rects.empty()) {
        header.rcBound = rects.front();
        for (const RECT& r : rects) {
            header.rcBound.left = std::min(header.rcBound.left, r.left);
            header.rcBound.top = std::min(header.rcBound.top, r.top);
            header.rcBound.right = std::max(header.rcBound.right, r.right);
            header.rcBound.bottom = std::max(header.rcBound.bottom, r.bottom);
        }
    }
    return header;
}

std::vector<uint8_t> regionBlock(const RGNDATAHEADER& header, const std::vector<RECT>& rects) {
    std::vector<uint8_t> bytes(sizeof header + rects.size() * sizeof(RECT));
    std::memcpy(bytes.data(), &header, sizeof header);
    if (!rects.empty()) std::memcpy(bytes.data() + sizeof header, rects.data(), rects.size() * sizeof(RECT));
    return bytes;
}

HRGN regionOf(const std::vector<RECT>& rects) {
    std::vector<uint8_t> block = regionBlock(rects);
    HRGN region = ExtCreateRegion(nullptr, DWORD(block.size()), reinterpret_cast<const RGNDATA*>(block.data()));
    if (!region) ADD_FAILURE() << "ExtCreateRegion refused a well-formed block";
    return region;
}

std::vector<RECT> regionRects(HRGN region) {
    int needed = GetRegionData(region, 0, nullptr);
    if (needed < int(sizeof(RGNDATAHEADER))) {
        ADD_FAILURE() << "GetRegionData gave no size for the region";
        return {};
    }
    std::vector<uint8_t> bytes(std::size_t(needed), 0);
    if (GetRegionData(region, DWORD(needed), reinterpret_cast<RGNDATA*>(bytes.data())) == 0) {
        ADD_FAILURE() << "GetRegionData refused a buffer of the size it asked for";
        return {};
    }
    RGNDATAHEADER header;
    std::memcpy(&header, bytes.data(), sizeof header);
    if (sizeof header + std::size_t(header.nCount) * sizeof(RECT) > bytes.size()) {
        ADD_FAILURE() << "GetRegionData claims more rectangles than it wrote";
        return {};
    }
    std::vector<RECT> rects(header.nCount);
    if (!rects.empty()) std::memcpy(rects.data(), bytes.data() + sizeof header, rects.size() * sizeof(RECT));
    return rects;
}

void registerTestClass(WNDPROC procedure) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = testWindowClass;
    if (!RegisterClassExA(&windowClass)) ADD_FAILURE() << "RegisterClassExA refused the test's class";
}

HWND createTestWindow(int x, int y, int width, int height, DWORD style) {
    HWND window = CreateWindowExA(0, testWindowClass, "Layer test", style, x, y, width, height, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    if (!window) ADD_FAILURE() << "CreateWindowExA refused the test's window";
    return window;
}
