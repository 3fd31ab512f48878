// One frame of composition, with the program's surfaces, controls and
// read-out font set up as WinMain sets them up, against the machine's limit
// for a frame: two plain copies of a 326 x 272 24-bit frame (the back buffer
// filled from the background, then copied to the window).
//
// Both are measured warm, frame after frame with everything in the caches,
// and cold, with the caches evicted before each frame: the program sleeps
// 20 ms between frames while other programs run, so each of its frames
// starts cold.
//
// The pieces of a frame are measured too, so that a slow frame shows where
// its time goes: the block copies, the read-out's font, its text.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
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

// Enough bytes to push everything else out of the last-level cache. Virtual
// machines may report the whole host's cache, or none: the size is capped,
// and a cache that large is out of reach for any core anyway.
std::size_t evictionBytes() {
    constexpr std::size_t cap = std::size_t{128} << 20;
    long lastLevel = sysconf(_SC_LEVEL3_CACHE_SIZE);
    if (lastLevel <= 0) lastLevel = sysconf(_SC_LEVEL2_CACHE_SIZE);
    if (lastLevel <= 0) return cap;
    return std::min(cap, 2 * static_cast<std::size_t>(lastLevel));
}

// Each iteration of a cold case costs an eviction of tens of milliseconds
// beside a frame of microseconds: a fixed count keeps the run short.
constexpr benchmark::IterationCount coldIterations = 200;

class CacheEvictor {
public:
    CacheEvictor() : buffer_(evictionBytes(), 1) {}

    // A read and a write in every cache line: each line is fetched and
    // dirtied, which a plain memset need not do (large ones bypass the cache).
    void evict() {
        for (std::size_t i = 0; i < buffer_.size(); i += 64) buffer_[i] = static_cast<unsigned char>(buffer_[i] + 1);
        benchmark::ClobberMemory();
    }

    std::size_t bytes() const { return buffer_.size(); }

private:
    std::vector<unsigned char> buffer_;
};

// Times one call after the caches have been evicted; the eviction is not
// timed. Each frame is timed on its own with the wall clock (reading this
// thread's CPU clock costs microseconds in a virtual machine); on a shared
// machine a few frames lose the CPU part way, so the median frame stands for
// the case, published as frame_us.
template <typename Work>
void runCold(benchmark::State& state, Work work) {
    CacheEvictor evictor;
    std::vector<double> frameSeconds;
    frameSeconds.reserve(static_cast<std::size_t>(state.max_iterations));
    for (auto _ : state) {
        evictor.evict();
        auto start = std::chrono::steady_clock::now();
        work();
        std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
        frameSeconds.push_back(elapsed.count());
    }
    auto middle = frameSeconds.begin() + static_cast<std::ptrdiff_t>(frameSeconds.size() / 2);
    std::nth_element(frameSeconds.begin(), middle, frameSeconds.end());
    state.counters["frame_us"] = frameSeconds.empty() ? 0.0 : *middle * 1e6;
    state.counters["evicted_MiB"] = static_cast<double>(evictor.bytes() >> 20);
}

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

void composeOneFrameCold(benchmark::State& state) {
    startProgram();
    uint32_t t = 0;
    runCold(state, [&t] {
        composeFrame(t);
        t += frameDelayMs;
    });
}

// The three frames of the floor: the background, the back buffer, the window.
struct FloorFrames {
    std::vector<unsigned char> background = std::vector<unsigned char>(frameBytes, 0x5A);
    std::vector<unsigned char> back = std::vector<unsigned char>(frameBytes);
    std::vector<unsigned char> window = std::vector<unsigned char>(frameBytes);

    void copyTwice() {
        std::memcpy(back.data(), background.data(), frameBytes);
        benchmark::ClobberMemory();
        std::memcpy(window.data(), back.data(), frameBytes);
        benchmark::ClobberMemory();
    }
};

void twoFrameCopies(benchmark::State& state) {
    FloorFrames frames;
    for (auto _ : state) frames.copyTwice();
    benchmark::DoNotOptimize(frames.window.data());
}

void twoFrameCopiesCold(benchmark::State& state) {
    FloorFrames frames;
    runCold(state, [&frames] { frames.copyTwice(); });
    benchmark::DoNotOptimize(frames.window.data());
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
BENCHMARK(composeOneFrameCold)->Unit(benchmark::kMicrosecond)->UseManualTime()->Iterations(coldIterations);
BENCHMARK(twoFrameCopiesCold)->Unit(benchmark::kMicrosecond)->UseManualTime()->Iterations(coldIterations);
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
            microseconds_[name] = frameMicroseconds(run);
            if (median) medians_[name] = true;
        }
    }

    double microseconds(const std::string& name) const {
        auto found = microseconds_.find(name);
        return found == microseconds_.end() ? 0.0 : found->second;
    }

private:
    // A cold case's median frame; otherwise the CPU time per iteration: on a
    // shared machine the wall time also holds other programs' turns.
    static double frameMicroseconds(const Run& run) {
        auto median = run.counters.find("frame_us");
        if (median != run.counters.end()) return median->second.value;
        return toMicroseconds(run.GetAdjustedCPUTime(), run.time_unit);
    }

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

void printSummary(const char* caches, double compose, double copies) {
    if (compose <= 0 || copies <= 0) return;
    std::printf("\n%s:\n", caches);
    std::printf("compose one frame:          %8.2f us\n", compose);
    std::printf("two copies of a frame:      %8.2f us  (2 x %zu bytes)\n", copies, frameBytes);
    std::printf("compose/two-copies ratio:   %8.2f  (target: at most 3)\n", compose / copies);
    std::printf("frame budget used at 50 fps: %7.3f %%\n", compose / (frameDelayMs * 1e3) * 100.0);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::fflush(stderr);

    printSummary("warm caches", reporter.microseconds("composeOneFrame"), reporter.microseconds("twoFrameCopies"));
    printSummary("caches evicted before each frame", reporter.microseconds("composeOneFrameCold"),
                 reporter.microseconds("twoFrameCopiesCold"));
    return 0;
}
