#include "ProgramHarness.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "PngWriter.h"
#include "app/AppState.h"
#include "app/MainWindow.h"
#include "layer/Headless.h"
#include "layer/ProgramEntry.h"
#include "layer/Resources.h"
#include "layer/Testing.h"

namespace headless = layer::headless;

void resetProgramState() {
    using namespace AppState;
    widgets.clear();
    instance = nullptr;
    window = nullptr;
    runState = notStarted;
    AppState::clock = FrameClock();
    backBitmap = backgroundBitmap = nullptr;
    backDC = backgroundDC = nullptr;
    for (int i = 0; i < 4; ++i) {
        frameBitmaps[i] = nullptr;
        frameDCs[i] = nullptr;
    }
    play = AppState::pause = nullptr;
    scroll = volume = nullptr;
    readoutStyle = TextStyle();
}

ProgramHarness::ProgramHarness(int screenW, int screenH) {
    layer::testing::resetHeadless();
    layer::installResources(programResources, programResourceCount);
    headless::setScreenSize(screenW, screenH);
    resetProgramState();
    origin_ = POINT{centredOrigin(screenW, 326), centredOrigin(screenH, 272)};
}

void ProgramHarness::press(uint64_t atMs, int x, int y, WPARAM modifiers) {
    headless::buttonDown(atMs, origin_.x + x, origin_.y + y, modifiers);
}
void ProgramHarness::move(uint64_t atMs, int x, int y, WPARAM modifiers) {
    headless::moveTo(atMs, origin_.x + x, origin_.y + y, modifiers);
}
void ProgramHarness::release(uint64_t atMs, int x, int y, WPARAM modifiers) {
    headless::buttonUp(atMs, origin_.x + x, origin_.y + y, modifiers);
}
void ProgramHarness::click(uint64_t atMs, int x, int y) {
    press(atMs, x, y);
    release(atMs + 30, x, y);
}
void ProgramHarness::close(uint64_t atMs) { headless::requestClose(atMs); }
void ProgramHarness::at(uint64_t atMs, std::function<void()> check) { headless::at(atMs, std::move(check)); }

// As the program's own entry runs it, the line it ends with included.
int ProgramHarness::run() { return layer::runProgram(SW_SHOWNORMAL); }

ResourceBitmap loadResourceBitmap(int id) {
    ResourceBitmap result;
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    BITMAP info{};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info) || !info.bmBits) return result;
    result.width = info.bmWidth;
    result.height = info.bmHeight;
    const auto* bits = static_cast<const uint8_t*>(info.bmBits);
    for (int y = 0; y < info.bmHeight; ++y) {
        const uint8_t* row = bits + std::size_t(info.bmHeight - 1 - y) * info.bmWidthBytes;
        for (int x = 0; x < info.bmWidth; ++x) result.pixels.push_back(RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]));
    }
    DeleteObject(bitmap);
    return result;
}

namespace {

std::string failureImagePath() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = test ? std::string(test->test_suite_name()) + "." + test->name() : "window";
    for (char& c : name)
        if (c == '/') c = '_';
    return name + ".png";
}

}  // namespace

::testing::AssertionResult windowShowsBitmap(int id, int x, int y) {
    ResourceBitmap expected = loadResourceBitmap(id);
    if (expected.width == 0) return ::testing::AssertionFailure() << "bitmap " << id << " cannot be loaded";
    for (int row = 0; row < expected.height; ++row) {
        for (int column = 0; column < expected.width; ++column) {
            COLORREF shown = 0;
            if (!headless::windowPixel(x + column, y + row, shown)) continue;  // outside the region
            if (shown != expected.at(column, row)) {
                std::string path = failureImagePath();
                saveWindowPng(path);
                return ::testing::AssertionFailure()
                       << "bitmap " << id << " at (" << x << ", " << y << "): pixel (" << x + column << ", " << y + row
                       << ") is " << describeColour(shown) << ", expected " << describeColour(expected.at(column, row))
                       << "; the window is in " << path;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

bool saveWindowPng(const std::string& path) {
    SIZE size = headless::windowSize();
    if (size.cx <= 0 || size.cy <= 0) return false;
    std::vector<uint8_t> rgba;
    rgba.reserve(std::size_t(size.cx) * size.cy * 4);
    for (int y = 0; y < size.cy; ++y) {
        for (int x = 0; x < size.cx; ++x) {
            COLORREF colour = 0;
            bool shown = headless::windowPixel(x, y, colour);
            rgba.push_back(uint8_t(colour));
            rgba.push_back(uint8_t(colour >> 8));
            rgba.push_back(uint8_t(colour >> 16));
            rgba.push_back(shown ? 255 : 0);
        }
    }
    return writePng(path, size.cx, size.cy, rgba);
}
