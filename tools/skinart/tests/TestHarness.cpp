#include "TestHarness.h"

#include "PngEncoder.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <vector>

namespace {

struct Registered {
    const char* name;
    TestHarness::TestFunction test;
};

std::vector<Registered>& registry() {
    static std::vector<Registered> tests;
    return tests;
}

const char* currentTest = "";
int failuresInCurrentTest = 0;

void writePng(const std::string& path, const Image& image) {
    const auto bytes = PngEncoder::encode(image);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

bool TestHarness::add(const char* name, TestFunction test) {
    registry().push_back({name, test});
    return true;
}

void TestHarness::fail(const std::string& what, const char* file, int line) {
    ++failuresInCurrentTest;
    std::cerr << file << ":" << line << ": " << currentTest << ": " << what << "\n";
}

std::string TestHarness::describe(Rgb colour) {
    char text[16];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", colour.r, colour.g, colour.b);
    return text;
}

void TestHarness::expectPixels(const Image& image, const Rect& area, const std::function<bool(int, int, Rgb)>& accept,
                               const std::string& label, const char* file, int line) {
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const Rgb colour = image.at(x, y);
            if (!accept(x, y, colour)) {
                const std::string dump = std::string(currentTest) + "-" + label + ".png";
                writePng(dump, image);
                fail(label + ": pixel (" + std::to_string(x) + "," + std::to_string(y) + ") is " + describe(colour) +
                         " (image written to " + dump + ")",
                     file, line);
                return;
            }
        }
    }
}

int TestHarness::runAll() {
    int failedTests = 0;
    for (const Registered& r : registry()) {
        currentTest = r.name;
        failuresInCurrentTest = 0;
        try {
            r.test();
        } catch (const std::exception& e) {
            fail(std::string("unexpected exception: ") + e.what(), __FILE__, __LINE__);
        }
        if (failuresInCurrentTest > 0) {
            ++failedTests;
        }
        std::cout << (failuresInCurrentTest > 0 ? "FAIL " : "ok   ") << r.name << "\n";
    }
    std::cout << registry().size() - static_cast<std::size_t>(failedTests) << "/" << registry().size()
              << " tests passed\n";
    return failedTests == 0 ? 0 : 1;
}

int main() { return TestHarness::runAll(); }
