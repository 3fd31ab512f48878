// What the conformance checks share: small 24-bit DIB sections whose pixels
// can be read and written in Windows' own layout, and a window class whose
// procedure records the messages it is sent.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace conformance {

// A 24-bit DIB section selected into a memory DC of its own.
class Dib {
public:
    Dib(int width, int height, bool topDown = true);
    ~Dib();
    Dib(const Dib&) = delete;
    Dib& operator=(const Dib&) = delete;

    bool valid() const { return bitmap_ && dc_ && bits_; }
    HDC dc() const { return dc_; }
    HBITMAP bitmap() const { return bitmap_; }
    int width() const { return width_; }
    int height() const { return height_; }
    int stride() const { return ((width_ * 24 + 31) / 32) * 4; }
    uint8_t* bits() const { return static_cast<uint8_t*>(bits_); }

    // Pixel (x, y) counted from the top-left, read from the bits directly.
    COLORREF pixel(int x, int y) const;
    void setPixel(int x, int y, COLORREF colour);
    void fill(COLORREF colour);
    // Every pixel a colour of its own.
    void fillPattern();

private:
    uint8_t* at(int x, int y) const;
    int width_;
    int height_;
    bool topDown_;
    HBITMAP bitmap_ = nullptr;
    HBITMAP initial_ = nullptr;
    HDC dc_ = nullptr;
    void* bits_ = nullptr;
};

COLORREF patternColour(int x, int y);

// The messages a recording window was sent, in order.
extern std::vector<UINT> recordedMessages;
// What the recording procedure does on top of recording; null: DefWindowProcA.
extern LRESULT (*recordingReaction)(HWND, UINT, WPARAM, LPARAM);
constexpr const char* recordingClass = "ConformanceRecorder";
// Registers the recording class once.
void registerRecordingClass();
// The recorded messages that are among `wanted`, in order.
std::vector<UINT> recordedAmong(const std::vector<UINT>& wanted);

// Takes every message waiting for this thread, dispatching each.
void drainMessages();

}  // namespace conformance
