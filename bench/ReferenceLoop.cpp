// What any program with this frame loop must spend: every frame two plain
// copies of a 326 x 272 24-bit frame (the back buffer filled from the
// background, then copied to the window), then a 20 ms sleep. Nothing else:
// no window, no X connection. bench/cpu_usage.py runs it beside an idle X
// server and compares the program with it.
//
//   reference_loop [seconds]    (runs until killed without an argument)
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace {

// Rows of 326 pixels at 3 bytes, padded to 4-byte multiples, as the window's frames are.
constexpr std::size_t frameWidth = 326;
constexpr std::size_t frameHeight = 272;
constexpr std::size_t frameStride = ((frameWidth * 24 + 31) / 32) * 4;
constexpr std::size_t frameBytes = frameStride * frameHeight;
static_assert(frameStride == 980 && frameBytes == 266560);

constexpr auto frameDelay = std::chrono::milliseconds(20);

// Where each frame leaves a byte it copied, so that no copy can be left out.
volatile unsigned char frameSink;

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 0.0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);

    std::vector<unsigned char> background(frameBytes, 0x5A), back(frameBytes), window(frameBytes);
    for (std::size_t frame = 0; seconds <= 0 || std::chrono::steady_clock::now() < end; ++frame) {
        // A different background byte each frame: the copies are never the same twice.
        background[frame % frameBytes] = static_cast<unsigned char>(frame);
        std::memcpy(back.data(), background.data(), frameBytes);
        std::memcpy(window.data(), back.data(), frameBytes);
        frameSink = window[(frame * 7919) % frameBytes];
        std::this_thread::sleep_for(frameDelay);
    }
    std::printf("%u\n", static_cast<unsigned>(frameSink));
    return 0;
}
