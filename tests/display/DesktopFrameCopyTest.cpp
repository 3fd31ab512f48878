// The frame copy into SDL surfaces: every pixel format a display may give a
// window, frames in either row order, and the rows a copy reports changed.
#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "Bitmap.h"
#include "DesktopFrameCopy.h"

namespace {

using layer::Bitmap;
using layer::DesktopFrameCopy;

uint8_t red(COLORREF c) { return uint8_t(c & 0xFF); }
uint8_t green(COLORREF c) { return uint8_t((c >> 8) & 0xFF); }
uint8_t blue(COLORREF c) { return uint8_t((c >> 16) & 0xFF); }

struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using Surface = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

Surface makeSurface(Uint32 format, int width, int height) {
    return Surface(SDL_CreateRGBSurfaceWithFormat(0, width, height, SDL_BITSPERPIXEL(format), format));
}

// Every pixel a different colour, so that swapped channels, rows or columns show.
void paintPattern(Bitmap& frame) {
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) frame.setPixel(x, y, RGB(x * 37 + y, y * 53 + 7, (x ^ y) * 29 + 3));
}

SDL_Color surfacePixel(const SDL_Surface& surface, int x, int y) {
    const uint8_t* at =
        static_cast<const uint8_t*>(surface.pixels) + y * surface.pitch + x * surface.format->BytesPerPixel;
    Uint32 value = 0;
    switch (surface.format->BytesPerPixel) {
        case 2:
            value = *reinterpret_cast<const Uint16*>(at);
            break;
        case 3:
            value =
                SDL_BYTEORDER == SDL_LIL_ENDIAN ? at[0] | at[1] << 8 | at[2] << 16 : at[2] | at[1] << 8 | at[0] << 16;
            break;
        default:
            value = *reinterpret_cast<const Uint32*>(at);
            break;
    }
    SDL_Color colour{0, 0, 0, 0};
    SDL_GetRGB(value, surface.format, &colour.r, &colour.g, &colour.b);
    return colour;
}

// What the surface can hold of a colour: its channels cut to the format's depth.
SDL_Color representable(const SDL_PixelFormat& format, COLORREF colour) {
    Uint32 value = SDL_MapRGB(&format, red(colour), green(colour), blue(colour));
    SDL_Color result{0, 0, 0, 0};
    SDL_GetRGB(value, &format, &result.r, &result.g, &result.b);
    return result;
}

void expectSurfaceShows(const SDL_Surface& surface, const Bitmap& frame, int top = 0, int bottom = -1) {
    if (bottom < 0) bottom = frame.height();
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < frame.width(); ++x) {
            SDL_Color got = surfacePixel(surface, x, y);
            SDL_Color wanted = representable(*surface.format, frame.pixel(x, y));
            ASSERT_TRUE(got.r == wanted.r && got.g == wanted.g && got.b == wanted.b)
                << "pixel (" << x << "," << y << ") in " << SDL_GetPixelFormatName(surface.format->format) << " is "
                << int(got.r) << "," << int(got.g) << "," << int(got.b) << ", expected " << int(wanted.r) << ","
                << int(wanted.g) << "," << int(wanted.b);
        }
}

struct FormatCase {
    Uint32 format;
    bool bottomUp;
};

void PrintTo(const FormatCase& c, std::ostream* out) {
    *out << SDL_GetPixelFormatName(c.format) << (c.bottomUp ? ", bottom-up" : ", top-down");
}

class FrameCopyFormats : public testing::TestWithParam<FormatCase> {};

TEST_P(FrameCopyFormats, EveryPixelArrivesInTheSurfacesFormat) {
    Bitmap frame(13, 7, GetParam().bottomUp);
    paintPattern(frame);
    Surface surface = makeSurface(GetParam().format, 13, 7);
    ASSERT_TRUE(surface) << SDL_GetError();

    DesktopFrameCopy copy;
    DesktopFrameCopy::Band band = copy.copy(frame, *surface, 1, DesktopFrameCopy::everyRow);

    EXPECT_EQ(band.top, 0);
    EXPECT_EQ(band.bottom, 7);
    expectSurfaceShows(*surface, frame);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, FrameCopyFormats,
    testing::Values(FormatCase{SDL_PIXELFORMAT_RGB888, false}, FormatCase{SDL_PIXELFORMAT_RGB888, true},
                    FormatCase{SDL_PIXELFORMAT_ARGB8888, false}, FormatCase{SDL_PIXELFORMAT_BGR888, false},
                    FormatCase{SDL_PIXELFORMAT_RGBA8888, true}, FormatCase{SDL_PIXELFORMAT_ABGR8888, false},
                    FormatCase{SDL_PIXELFORMAT_RGB565, true}, FormatCase{SDL_PIXELFORMAT_RGB24, false},
                    FormatCase{SDL_PIXELFORMAT_BGR24, true}),
    [](const testing::TestParamInfo<FormatCase>& info) {
        std::string name = SDL_GetPixelFormatName(info.param.format);
        name = name.substr(name.rfind('_') + 1);
        return name + (info.param.bottomUp ? "_bottomUp" : "_topDown");
    });

TEST(FrameCopy, OpaqueFormatsGetFullAlpha) {
    Bitmap frame(4, 2, false);
    paintPattern(frame);
    Surface surface = makeSurface(SDL_PIXELFORMAT_ARGB8888, 4, 2);
    DesktopFrameCopy().copy(frame, *surface, 1, DesktopFrameCopy::everyRow);
    const auto* pixels = static_cast<const Uint32*>(surface->pixels);
    EXPECT_EQ(pixels[0] & 0xFF000000u, 0xFF000000u);
}

// A deep-colour screen's 10-bit channels: each 8-bit value repeats its top
// bits below it, so that white is the brightest white there (0x3FF).
TEST(FrameCopy, TenBitChannelsAreFilledByRepeatingTheTopBits) {
    Bitmap frame(13, 7, false);
    paintPattern(frame);
    Surface surface = makeSurface(SDL_PIXELFORMAT_ARGB2101010, 13, 7);
    ASSERT_TRUE(surface) << SDL_GetError();
    DesktopFrameCopy().copy(frame, *surface, 1, DesktopFrameCopy::everyRow);
    auto wide = [](unsigned value) { return (value << 2) | (value >> 6); };
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x) {
            Uint32 pixel = static_cast<const Uint32*>(surface->pixels)[y * surface->pitch / 4 + x];
            COLORREF colour = frame.pixel(x, y);
            Uint32 wanted = wide(red(colour)) << 20 | wide(green(colour)) << 10 | wide(blue(colour));
            ASSERT_EQ(pixel & 0x3FFFFFFFu, wanted) << "pixel (" << x << "," << y << ")";
        }
}

TEST(FrameCopy, OnlyTheOverlapOfFrameAndSurfaceIsCopied) {
    Bitmap frame(6, 6, false);
    paintPattern(frame);
    Surface surface = makeSurface(SDL_PIXELFORMAT_RGB888, 4, 9);
    SDL_FillRect(surface.get(), nullptr, 0x123456);

    DesktopFrameCopy::Band band = DesktopFrameCopy().copy(frame, *surface, 1, DesktopFrameCopy::everyRow);

    EXPECT_EQ(band.bottom, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 4; ++x) {
            SDL_Color got = surfacePixel(*surface, x, y);
            EXPECT_EQ(RGB(got.r, got.g, got.b), frame.pixel(x, y)) << x << "," << y;
        }
    EXPECT_EQ(static_cast<const Uint32*>(surface->pixels)[7 * surface->pitch / 4] & 0xFFFFFF, 0x123456u);
}

// The rows the layer says changed are converted, and no others: a row
// outside them keeps what the surface held.
struct ChangeCase {
    const char* name;
    DesktopFrameCopy::Band given;
    int top;
    int bottom;
};

class FrameCopyChanges : public testing::TestWithParam<ChangeCase> {};

TEST_P(FrameCopyChanges, ConvertsTheGivenRowsOnly) {
    Bitmap frame(10, 12, true);
    paintPattern(frame);
    Surface surface = makeSurface(SDL_PIXELFORMAT_RGB888, 10, 12);
    DesktopFrameCopy copy;
    copy.copy(frame, *surface, 1, DesktopFrameCopy::everyRow);
    Bitmap before = frame;

    for (int y = 0; y < 12; ++y) frame.setPixel(y % 10, y, RGB(1, 2, 3));
    DesktopFrameCopy::Band band = copy.copy(frame, *surface, 1, GetParam().given);

    EXPECT_EQ(band.top, GetParam().top);
    EXPECT_EQ(band.bottom, GetParam().bottom);
    EXPECT_EQ(band.empty(), GetParam().top == GetParam().bottom);
    expectSurfaceShows(*surface, frame, band.top, band.bottom);
    expectSurfaceShows(*surface, before, 0, band.empty() ? 12 : band.top);
    if (!band.empty()) expectSurfaceShows(*surface, before, band.bottom, 12);
}

INSTANTIATE_TEST_SUITE_P(Changes, FrameCopyChanges,
                         testing::Values(ChangeCase{"none", {0, 0}, 0, 0}, ChangeCase{"first", {0, 1}, 0, 1},
                                         ChangeCase{"last", {11, 12}, 11, 12}, ChangeCase{"middle", {4, 8}, 4, 8},
                                         ChangeCase{"past_the_end", {9, 40}, 9, 12},
                                         ChangeCase{"before_the_start", {-5, 2}, 0, 2},
                                         ChangeCase{"all", DesktopFrameCopy::everyRow, 0, 12}),
                         [](const testing::TestParamInfo<ChangeCase>& info) { return std::string(info.param.name); });

TEST(FrameCopy, AnotherSurfaceGetsEveryRow) {
    Bitmap frame(5, 5, false);
    paintPattern(frame);
    Surface first = makeSurface(SDL_PIXELFORMAT_RGB888, 5, 5);
    Surface second = makeSurface(SDL_PIXELFORMAT_RGB888, 5, 5);
    DesktopFrameCopy copy;
    copy.copy(frame, *first, 1, DesktopFrameCopy::everyRow);

    DesktopFrameCopy::Band band = copy.copy(frame, *second, 1, DesktopFrameCopy::Band{});

    EXPECT_EQ(band.top, 0);
    EXPECT_EQ(band.bottom, 5);
    expectSurfaceShows(*second, frame);
}

TEST(FrameCopy, AfterForgetEveryRowIsCopiedAgain) {
    Bitmap frame(5, 5, false);
    paintPattern(frame);
    Surface surface = makeSurface(SDL_PIXELFORMAT_RGB888, 5, 5);
    DesktopFrameCopy copy;
    copy.copy(frame, *surface, 1, DesktopFrameCopy::everyRow);
    SDL_FillRect(surface.get(), nullptr, 0);  // as when something else drew into it

    copy.forget();
    DesktopFrameCopy::Band band = copy.copy(frame, *surface, 1, DesktopFrameCopy::Band{});

    EXPECT_EQ(band.bottom - band.top, 5);
    expectSurfaceShows(*surface, frame);
}

// Every pixel becomes a block of exactly its colour, in every format, and a
// change reports the surface rows of whole blocks.
struct ScaledCase {
    Uint32 format;
    int scale;
};

void PrintTo(const ScaledCase& c, std::ostream* out) {
    *out << SDL_GetPixelFormatName(c.format) << " at scale " << c.scale;
}

class FrameCopyScaled : public testing::TestWithParam<ScaledCase> {};

void expectBlocks(const SDL_Surface& surface, const Bitmap& frame, int scale) {
    for (int y = 0; y < frame.height() * scale; ++y)
        for (int x = 0; x < frame.width() * scale; ++x) {
            SDL_Color got = surfacePixel(surface, x, y);
            SDL_Color wanted = representable(*surface.format, frame.pixel(x / scale, y / scale));
            ASSERT_TRUE(got.r == wanted.r && got.g == wanted.g && got.b == wanted.b)
                << "device pixel (" << x << "," << y << ") of frame pixel (" << x / scale << "," << y / scale << ") is "
                << int(got.r) << "," << int(got.g) << "," << int(got.b);
        }
}

TEST_P(FrameCopyScaled, EveryPixelIsABlockOfItsColour) {
    const int scale = GetParam().scale;
    Bitmap frame(7, 5, true);
    paintPattern(frame);
    Surface surface = makeSurface(GetParam().format, 7 * scale, 5 * scale);
    ASSERT_TRUE(surface) << SDL_GetError();
    DesktopFrameCopy copy;

    DesktopFrameCopy::Band band = copy.copy(frame, *surface, scale, DesktopFrameCopy::everyRow);
    EXPECT_EQ(band.top, 0);
    EXPECT_EQ(band.bottom, 5 * scale);
    expectBlocks(*surface, frame, scale);

    frame.setPixel(6, 3, RGB(250, 1, 2));
    band = copy.copy(frame, *surface, scale, DesktopFrameCopy::Band{3, 4});
    EXPECT_EQ(band.top, 3 * scale);
    EXPECT_EQ(band.bottom, 4 * scale);
    expectBlocks(*surface, frame, scale);
}

INSTANTIATE_TEST_SUITE_P(Scales, FrameCopyScaled,
                         testing::Values(ScaledCase{SDL_PIXELFORMAT_RGB888, 2}, ScaledCase{SDL_PIXELFORMAT_RGB888, 3},
                                         ScaledCase{SDL_PIXELFORMAT_RGB565, 2}, ScaledCase{SDL_PIXELFORMAT_RGB24, 3},
                                         ScaledCase{SDL_PIXELFORMAT_ABGR8888, 4}));

}  // namespace
