// 24-bit DIB sections: the stride and row order of the pixel bytes handed out,
// what GetObjectA reports, and the headers that are refused.
#include <cstring>

#include "LayerTestSupport.h"

namespace {

class DibSection : public LayerTest {};

struct StrideCase {
    int width;
    int stride;
};

TEST_F(DibSection, RowsArePaddedToFourBytesAndGetObjectDescribesTheBits) {
    const StrideCase cases[] = {{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}, {326, 980}};
    for (const StrideCase& c : cases)
        for (bool bottomUp : {true, false}) {
            SCOPED_TRACE("width " + std::to_string(c.width) + (bottomUp ? ", bottom-up" : ", top-down"));
            Dib dib = makeDib(c.width, 3, bottomUp);
            ASSERT_TRUE(dib.handle);
            BITMAP description{};
            ASSERT_EQ(GetObjectA(dib.handle, sizeof description, &description), int(sizeof description));
            EXPECT_EQ(description.bmWidth, c.width);
            EXPECT_EQ(description.bmHeight, 3) << "the height is reported without its sign";
            EXPECT_EQ(description.bmWidthBytes, c.stride);
            EXPECT_EQ(description.bmPlanes, 1);
            EXPECT_EQ(description.bmBitsPixel, 24);
            EXPECT_EQ(description.bmBits, dib.bits) << "GetObjectA points at the same bytes CreateDIBSection gave";
            // The last byte of the last row is in the allocation (AddressSanitizer checks).
            dib.bits[std::size_t(c.stride) * 3 - 1] = 0xAB;
        }
}

TEST_F(DibSection, GetObjectWithTooSmallABufferWritesNothing) {
    Dib dib = makeDib(4, 4);
    BITMAP description;
    std::memset(&description, 0x5A, sizeof description);
    EXPECT_EQ(GetObjectA(dib.handle, sizeof description - 1, &description), 0);
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&description);
    for (std::size_t i = 0; i < sizeof description; ++i) ASSERT_EQ(bytes[i], 0x5A) << "byte " << i << " was written";
}

struct Corner {
    int x, y;
    COLORREF colour;
};

// Fills single pixels through GDI and finds their bytes where Windows puts them:
// B, G, R at row * stride + 3 * x, rows counted from the bottom for a positive height.
TEST_F(DibSection, PixelBytesOfTheWindowSizedBitmapLieWhereWindowsPutsThem) {
    constexpr int width = 326, height = 272;
    for (bool bottomUp : {true, false}) {
        SCOPED_TRACE(bottomUp ? "bottom-up" : "top-down");
        layer::testing::resetHeadless();
        Dib dib = makeDib(width, height, bottomUp);
        ASSERT_TRUE(dib.handle);
        HDC dc = dcWith(dib.handle);
        const Corner corners[] = {{0, 0, RGB(0x11, 0x22, 0x33)},
                                  {1, 0, RGB(0x44, 0x55, 0x66)},
                                  {width - 1, 0, RGB(0x77, 0x88, 0x99)},
                                  {0, height - 1, RGB(0xAA, 0xBB, 0xCC)},
                                  {width - 1, height - 1, RGB(0xDD, 0xEE, 0xF1)},
                                  {100, 50, RGB(0x12, 0x34, 0x56)}};
        for (const Corner& c : corners) {
            SetBkColor(dc, c.colour);
            RECT one{c.x, c.y, c.x + 1, c.y + 1};
            ASSERT_TRUE(ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &one, "", 0, nullptr));
        }
        const std::size_t stride = 980;
        std::vector<uint8_t> expected(stride * height, 0);
        for (const Corner& c : corners) {
            std::size_t row = std::size_t(bottomUp ? height - 1 - c.y : c.y);
            uint8_t* p = expected.data() + row * stride + 3 * std::size_t(c.x);
            p[0] = uint8_t(c.colour >> 16);
            p[1] = uint8_t(c.colour >> 8);
            p[2] = uint8_t(c.colour);
        }
        ASSERT_EQ(expected.size(), 266560u);
        for (std::size_t i = 0; i < expected.size(); ++i)
            ASSERT_EQ(dib.bits[i], expected[i])
                << "byte " << i << " (row " << i / stride << " of the buffer, byte " << i % stride << " of the row)";
    }
}

struct HeaderCase {
    const char* what;
    void (*spoil)(BITMAPINFOHEADER&);
};

TEST_F(DibSection, HeadersOtherThanUncompressedTwentyFourBitAreRefused) {
    const HeaderCase cases[] = {
        {"1 bit per pixel", [](BITMAPINFOHEADER& h) { h.biBitCount = 1; }},
        {"8 bits per pixel", [](BITMAPINFOHEADER& h) { h.biBitCount = 8; }},
        {"16 bits per pixel", [](BITMAPINFOHEADER& h) { h.biBitCount = 16; }},
        {"32 bits per pixel", [](BITMAPINFOHEADER& h) { h.biBitCount = 32; }},
        {"0 bits per pixel", [](BITMAPINFOHEADER& h) { h.biBitCount = 0; }},
        {"run-length compression", [](BITMAPINFOHEADER& h) { h.biCompression = 1; }},
        {"bit fields", [](BITMAPINFOHEADER& h) { h.biCompression = 3; }},
        {"width 0", [](BITMAPINFOHEADER& h) { h.biWidth = 0; }},
        {"negative width", [](BITMAPINFOHEADER& h) { h.biWidth = -8; }},
        {"height 0", [](BITMAPINFOHEADER& h) { h.biHeight = 0; }},
        {"header size 0", [](BITMAPINFOHEADER& h) { h.biSize = 0; }},
        {"header one byte short", [](BITMAPINFOHEADER& h) { h.biSize = sizeof(BITMAPINFOHEADER) - 1; }},
        {"too large to allocate",
         [](BITMAPINFOHEADER& h) {
             h.biWidth = 0x7FFFFFFF;
             h.biHeight = 0x7FFFFFFF;
         }},
        {"too large, top-down",
         [](BITMAPINFOHEADER& h) {
             h.biWidth = 0x10000;
             h.biHeight = -0x10000;
         }},
        {"most negative height", [](BITMAPINFOHEADER& h) { h.biHeight = INT32_MIN; }},
    };
    std::size_t live = layer::testing::liveObjects();
    for (const HeaderCase& c : cases) {
        BITMAPINFO info = dibInfo(8, 8);
        c.spoil(info.bmiHeader);
        void* bits = nullptr;
        EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr) << c.what;
    }
    EXPECT_EQ(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, nullptr, nullptr, 0), nullptr) << "no header";
    EXPECT_EQ(layer::testing::liveObjects(), live) << "a refused DIB section leaves nothing behind";
}

}  // namespace
