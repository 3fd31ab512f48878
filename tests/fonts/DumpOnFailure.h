#pragma once

#include "TestCanvas.h"

#include <string>

namespace layer::test {

// Declared next to a canvas in a test; if the test has failed by the time it
// goes out of scope, the canvas is saved as PPM and an enlarged PNG under
// $FONT_TEST_DUMP_DIR (or /tmp/font-test-dumps) and the paths are logged.
class DumpOnFailure {
public:
    DumpOnFailure(const TestCanvas& canvas, std::string label);
    ~DumpOnFailure();
    DumpOnFailure(const DumpOnFailure&) = delete;
    DumpOnFailure& operator=(const DumpOnFailure&) = delete;

    static std::string directory();

private:
    const TestCanvas& canvas_;
    std::string label_;
};

}  // namespace layer::test
