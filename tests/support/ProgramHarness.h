// Runs the whole program, WinMain to its return, on the headless backend,
// with a script of pointer events given in the window's client coordinates.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "Dib.h"

class ProgramHarness {
public:
    static constexpr int screenWidth = 1024;
    static constexpr int screenHeight = 768;

    // A fresh layer, the program's resources and the program's globals as
    // they are before the entry point runs.
    explicit ProgramHarness(int screenW = screenWidth, int screenH = screenHeight);

    // Where the client origin of the centred window lies on the screen.
    POINT origin() const { return origin_; }

    void press(uint64_t atMs, int x, int y, WPARAM modifiers = 0);
    void move(uint64_t atMs, int x, int y, WPARAM modifiers = 0);
    void release(uint64_t atMs, int x, int y, WPARAM modifiers = 0);
    // A press and, 30 ms later, its release at the same point.
    void click(uint64_t atMs, int x, int y);
    void close(uint64_t atMs);
    void at(uint64_t atMs, std::function<void()> check);

    int run();

private:
    POINT origin_;
};

// The program's globals back to their state before the entry point.
void resetProgramState();

// A pixel of a resource bitmap, as 0x00BBGGRR.
struct ResourceBitmap {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;  // top-down
    COLORREF at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};
ResourceBitmap loadResourceBitmap(int id);

// Whether the window shows the bitmap with its top-left corner at (x, y);
// on failure names the first pixel that differs and writes the window to a PNG.
::testing::AssertionResult windowShowsBitmap(int id, int x, int y);

// Writes what the window shows to a PNG file (outside the region transparent).
bool saveWindowPng(const std::string& path);
