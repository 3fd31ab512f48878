#pragma once

#include "Image.h"

#include <functional>
#include <string>

// A minimal test runner: tests register themselves, checks record failures
// and carry on, and the process exits non-zero if any check failed.
class TestHarness {
public:
    using TestFunction = void (*)();

    static bool add(const char* name, TestFunction test);
    static int runAll();

    static void fail(const std::string& what, const char* file, int line);

    // Checks `accept` for every pixel of `area`; on the first pixel that
    // fails, reports it with its colour and writes the image to
    // "<test>-<label>.png" in the working directory for a look.
    static void expectPixels(const Image& image, const Rect& area, const std::function<bool(int, int, Rgb)>& accept,
                             const std::string& label, const char* file, int line);

    static std::string describe(Rgb colour);
};

#define SKINART_TEST(name)                                                               \
    static void name();                                                                  \
    [[maybe_unused]] static const bool name##Registered = TestHarness::add(#name, name); \
    static void name()

#define CHECK(condition)                                       \
    do {                                                       \
        if (!(condition)) {                                    \
            TestHarness::fail(#condition, __FILE__, __LINE__); \
        }                                                      \
    } while (false)

#define CHECK_EQ(actual, expected)                                                                           \
    do {                                                                                                     \
        const auto& checkActual = (actual);                                                                  \
        const auto& checkExpected = (expected);                                                              \
        if (!(checkActual == checkExpected)) {                                                               \
            TestHarness::fail(std::string(#actual " == " #expected ": got ") + std::to_string(checkActual) + \
                                  ", expected " + std::to_string(checkExpected),                             \
                              __FILE__, __LINE__);                                                           \
        }                                                                                                    \
    } while (false)

#define EXPECT_PIXELS(image, area, accept, label) \
    TestHarness::expectPixels((image), (area), (accept), (label), __FILE__, __LINE__)
