// The compressor: whatever goes in comes back out of a decoder written from
// the format's description, including matches as long and as far as the
// format allows, and repeats that lie beyond its window.

#include "Deflate.h"
#include "Inflater.h"
#include "TestHarness.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> pseudoRandom(std::size_t size, std::uint32_t seed) {
    std::vector<std::uint8_t> bytes(size);
    for (auto& byte : bytes) {
        seed = seed * 1103515245U + 12345U;
        byte = static_cast<std::uint8_t>(seed >> 16);
    }
    return bytes;
}

std::vector<std::uint8_t> repeated(const std::vector<std::uint8_t>& pattern, std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = pattern[i % pattern.size()];
    return bytes;
}

struct Case {
    const char* name;
    std::vector<std::uint8_t> data;
};

}  // namespace

SKINART_TEST(deflateOutputInflatesToItsInput) {
    const std::string text = "the quick brown fox jumps over the lazy dog; the quick brown fox again";
    const Case cases[] = {
        {"empty", {}},
        {"one byte", {200}},
        {"two bytes", {1, 2}},
        {"text", std::vector<std::uint8_t>(text.begin(), text.end())},
        {"a long run (matches of 258 at distance 1)", std::vector<std::uint8_t>(5000, 0)},
        {"every byte value", repeated(pseudoRandom(256, 1), 3000)},
        {"noise", pseudoRandom(70000, 7)},
        {"a repeat at the window's far edge", repeated(pseudoRandom(32768, 3), 70000)},
        {"a repeat beyond the window", repeated(pseudoRandom(40000, 5), 90000)},
    };
    for (const Case& c : cases) {
        const auto compressed = Deflate::compress(c.data);
        std::vector<std::uint8_t> back;
        try {
            back = Inflater::inflate(compressed);
        } catch (const std::exception& e) {
            TestHarness::fail(std::string(c.name) + ": " + e.what(), __FILE__, __LINE__);
            continue;
        }
        if (back != c.data) {
            TestHarness::fail(std::string(c.name) + ": " + std::to_string(c.data.size()) + " bytes came back as " +
                                  std::to_string(back.size()) + " different ones",
                              __FILE__, __LINE__);
        }
    }
}

SKINART_TEST(deflatePacksRepeatsIntoFewBytes) {
    // A run costs 13 bits per 258 bytes; a repeated block little more than itself.
    CHECK(Deflate::compress(std::vector<std::uint8_t>(65536, 9)).size() < 65536 / 100);
    CHECK(Deflate::compress(repeated(pseudoRandom(1000, 11), 30000)).size() < 30000 / 10);
}
