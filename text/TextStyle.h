#pragma once

#include <windows.h>

#include <cstdint>

// How one line of text looks, and the drawing of a line with it. The font is
// created for each draw and deleted after it.
class TextStyle {
public:
    TextStyle() = default;

    void set(const char* newFace, int32_t newSize, int32_t newTextColour, int32_t newBackColour, bool newBold,
             bool newItalic, bool newUnderline, bool newStrikeOut);
    void draw(const char* text, HDC dc, int32_t x, int32_t y);
    // 0xRRGGBB to the platform's 0x00BBGGRR.
    COLORREF toColorRef(int32_t colour) const;

    // The LOGFONTA that draw creates its font from in a context of that resolution.
    LOGFONTA logFont(int dotsPerInch) const;

    const char* face = "Times New Roman";
    int32_t size = 12;  // points
    int32_t textColour = 0xFFFFFF;
    int32_t backColour = 0x000000;
    uint8_t italic = false;
    uint8_t bold = false;
    uint8_t underline = false;
    uint8_t strikeOut = false;
    uint8_t pitchAndFamily = VARIABLE_PITCH | FF_ROMAN;
    uint8_t charSet = DEFAULT_CHARSET;
};
