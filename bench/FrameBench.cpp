// One frame of composition, with the program's surfaces, controls and
// read-out font set up as WinMain sets them up, against the machine's limit
// for a frame: two plain copies of a 326 x 272 24-bit frame (the back buffer
// filled from the background, then copied to the window).
//
// The pieces of a frame are measured too, so that a slow frame shows where
// its time goes: the block copies, the read-out's font, its text.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/ControlPanel.h"
#include "app/FrameComposer.h"
#include "app/MainWindow.h"
#include "app/Skin.h"
#include "layer/Resources.h"
#include "layer/Testing.h"

namespace {

// A frame's bytes: rows of 326 pixels at 3 bytes, padded to 4-byte multiples.
constexpr std::size_t frameStride = ((windowWidth * 24 + 31) / 32) * 4;
constexpr std::size_t frameBytes = frameStride * windowHeight;
static_assert(frameBytes == 266560);

// The start-up of WinMain up to its message loop, on a fresh headless layer.
void startProgram() {
    layer::testing::resetHeadless();
    layer::installResources(programResources, programResourceCount);
    AppState::widgets.clear();
    AppState::play = AppState::pause = nullptr;
    AppState::scroll = AppState::volume = nullptr;
    AppState::instance = GetModuleHandleA(nullptr);
    if (!createMainWindow(AppState::instance)) std::fprintf(stderr, "frame_bench: no window\n");
    initSkin();
    buildControls();
    AppState::runState = AppState::running;
    AppState::clock.start();
}

void composeOneFrame(benchmark::State& state) {
    startProgram();
    uint32_t t = 0;
    for (auto _ : state) {
        composeFrame(t);
        t += frameDelayMs;  // the animation steps as it does on screen
    }
}

void twoFrameCopies(benchmark::State& state) {
    std::vector<unsigned char> background(frameBytes, 0x5A), back(frameBytes), window(frameBytes);
    for (auto _ : state) {
        std::memcpy(back.data(), background.data(), frameBytes);
        benchmark::ClobberMemory();
        std::memcpy(window.data(), back.data(), frameBytes);
        benchmark::ClobberMemory();
    }
    benchmark::DoNotOptimize(window.data());
}

// The frame's two whole-window block copies through the layer, nothing else.
void twoWindowBlits(benchmark::State& state) {
    startProgram();
    for (auto _ : state) {
        BitBlt(AppState::backDC, 0, 0, windowWidth, windowHeight, AppState::backgroundDC, 0, 0, SRCCOPY);
        HDC windowDC = GetDC(AppState::window);
        BitBlt(windowDC, 0, 0, windowWidth, windowHeight, AppState::backDC, 0, 0, SRCCOPY);
        ReleaseDC(AppState::window, windowDC);
    }
}

// The read-out's font made and thrown away, as each frame does, without drawing.
void readoutFontCreateDelete(benchmark::State& state) {
    startProgram();
    AppState::readoutStyle.set("Verdana", 7, 0x0DCC0D, 0x000000, false, false, false, false);
    LOGFONTA description = AppState::readoutStyle.logFont(GetDeviceCaps(AppState::backDC, LOGPIXELSY));
    for (auto _ : state) {
        HFONT font = CreateFontIndirectA(&description);
        HGDIOBJ previous = SelectObject(AppState::backDC, font);
        SIZE extent{0, 0};
        GetTextExtentPoint32A(AppState::backDC, "V", 1, &extent);  // the font is resolved on first use
        SelectObject(AppState::backDC, previous);
        DeleteObject(font);
        benchmark::DoNotOptimize(extent);
    }
}

// The whole read-out as the frame draws it: font, measure, text, delete.
void readoutText(benchmark::State& state) {
    startProgram();
    SetBkMode(AppState::backDC, TRANSPARENT);
    for (auto _ : state) {
        AppState::readoutStyle.set("Verdana", 7, 0x0DCC0D, 0x000000, false, false, false, false);
        AppState::readoutStyle.draw("Volume: 100", AppState::backDC, 47, 196);
    }
}

BENCHMARK(composeOneFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(twoFrameCopies)->Unit(benchmark::kMicrosecond);
BENCHMARK(twoWindowBlits)->Unit(benchmark::kMicrosecond);
BENCHMARK(readoutFontCreateDelete)->Unit(benchmark::kMicrosecond);
BENCHMARK(readoutText)->Unit(benchmark::kMicrosecond);

// The console report, keeping each benchmark's time per iteration for the
// summary; with repetitions the median stands for the benchmark.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            std::string name = run.run_name.function_name;
            bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Iteration && medians_.count(name)) continue;
            if (run.run_type == Run::RT_Aggregate && !median) continue;
            microseconds_[name] = toMicroseconds(run.GetAdjustedRealTime(), run.time_unit);
            if (median) medians_[name] = true;
        }
    }

    double microseconds(const std::string& name) const {
        auto found = microseconds_.find(name);
        return found == microseconds_.end() ? 0.0 : found->second;
    }

private:
    static double toMicroseconds(double value, benchmark::TimeUnit unit) {
        switch (unit) {
            case benchmark::kNanosecond:
                return value / 1e3;
            case benchmark::kMillisecond:
                return value * 1e3;
            case benchmark::kSecond:
                return value * 1e6;
            default:
                return value;
        }
    }

    std::map<std::string, double> microseconds_;
    std::map<std::string, bool> medians_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::fflush(stderr);

    double compose = reporter.microseconds("composeOneFrame");
    double copies = reporter.microseconds("twoFrameCopies");
    if (compose > 0 && copies > 0) {
        std::printf("\ncompose one frame:          %8.2f us\n", compose);
        std::printf("two copies of a frame:      %8.2f us  (2 x %zu bytes)\n", copies, frameBytes);
        std::printf("compose/two-copies ratio:   %8.2f  (target: at most 3)\n", compose / copies);
        std::printf("frame budget used at 50 fps: %7.3f %%\n", compose / (frameDelayMs * 1e3) * 100.0);
    }
    return 0;
}
