#include "DumpOnFailure.h"

#include "ImageDump.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <utility>

namespace layer::test {

namespace {
constexpr int kPngScale = 8;
}

DumpOnFailure::DumpOnFailure(const TestCanvas& canvas, std::string label) : canvas_(canvas), label_(std::move(label)) {}

std::string DumpOnFailure::directory() {
    const char* configured = std::getenv("FONT_TEST_DUMP_DIR");
    return configured && *configured ? configured : "/tmp/font-test-dumps";
}

DumpOnFailure::~DumpOnFailure() {
    if (!::testing::Test::HasFailure()) return;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name() + "." + label_;
    for (char& c : name)
        if (c == '/' || c == ' ') c = '_';

    std::error_code ignored;
    std::filesystem::create_directories(directory(), ignored);
    const std::string base = directory() + "/" + name;
    const bool saved =
        ImageDump::writePpm(base + ".ppm", canvas_) && ImageDump::writePng(base + ".png", canvas_, kPngScale);
    std::cerr << (saved ? "saved failing surface to " : "could not save failing surface to ") << base << ".{ppm,png}\n";
}

}  // namespace layer::test
