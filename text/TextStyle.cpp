#include "TextStyle.h"

#include <cstring>

void TextStyle::set(const char* newFace, int32_t newSize, int32_t newTextColour, int32_t newBackColour, bool newBold,
                    bool newItalic, bool newUnderline, bool newStrikeOut) {
    face = newFace;
    size = newSize;
    textColour = newTextColour;
    backColour = newBackColour;
    bold = newBold;
    italic = newItalic;
    underline = newUnderline;
    strikeOut = newStrikeOut;
}

COLORREF TextStyle::toColorRef(int32_t colour) const {
    uint32_t c = uint32_t(colour);
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// A face name longer than the LOGFONTA field allows is cut to its first 31
// characters, so the field always ends in a NUL.
LOGFONTA TextStyle::logFont(int dotsPerInch) const {
    LOGFONTA font;
    std::memset(&font, 0, sizeof font);
    font.lfHeight = -MulDiv(size, dotsPerInch, 72);
    font.lfWidth = 0;
    font.lfEscapement = 0;
    font.lfOrientation = 0;
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = italic;
    font.lfUnderline = underline;
    font.lfStrikeOut = strikeOut;
    font.lfCharSet = charSet;
    font.lfOutPrecision = 0;
    font.lfClipPrecision = 0;
    font.lfQuality = 0;
    font.lfPitchAndFamily = pitchAndFamily;
    if (face) std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return font;
}

// The background mode is the caller's; the colours stay set in dc afterwards.
void TextStyle::draw(const char* text, HDC dc, int32_t x, int32_t y) {
    int length = int(std::strlen(text));
    LOGFONTA description = logFont(GetDeviceCaps(dc, LOGPIXELSY));
    HFONT font = CreateFontIndirectA(&description);
    HGDIOBJ previous = SelectObject(dc, font);
    SetBkColor(dc, toColorRef(backColour));
    SetTextColor(dc, toColorRef(textColour));
    SIZE extent{0, 0};
    GetTextExtentPoint32A(dc, text, length, &extent);
    RECT cell{x, y, x + extent.cx, y + extent.cy};
    ExtTextOutA(dc, x, y, 0, &cell, text, UINT(length), nullptr);
    SelectObject(dc, previous);
    DeleteObject(font);
}
