// Every input of the fuzzer's committed corpus, and every input it ever
// crashed on (tests/fuzz/regressions/), replayed through the whole program in
// this build, sanitizers or not: each ends with 0 and breaks no invariant.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "InputScript.h"
#include "ProgramHarness.h"
#include "app/AppState.h"
#include "layer/Headless.h"
#include "widgets/Slider.h"

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> inputsIn(const fs::path& directory) {
    std::vector<fs::path> files;
    if (fs::is_directory(directory))
        for (const fs::directory_entry& entry : fs::directory_iterator(directory))
            if (entry.is_regular_file() && entry.path().filename().string().front() != '.')
                files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<uint8_t> bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void replay(const fs::path& file) {
    std::vector<uint8_t> bytes = bytesOf(file);
    inputscript::Outcome outcome = inputscript::play(bytes.data(), bytes.size(), [](const std::string&) {});
    EXPECT_EQ(outcome.violation, "") << file;
    EXPECT_EQ(outcome.exitCode, 0) << file;
    EXPECT_GT(outcome.checks, 0) << file;
}

// An input the fuzzer crashed on goes into regressions/ once the fault is fixed.
TEST(FuzzInputs, TheCorpusAndEveryInputTheFuzzerCrashedOnPlayThroughWithEveryInvariantHolding) {
    std::vector<fs::path> corpus = inputsIn(fs::path(BRISKO_FUZZ_DIR) / "corpus");
    ASSERT_FALSE(corpus.empty()) << "no corpus in " << BRISKO_FUZZ_DIR;
    std::vector<fs::path> regressions = inputsIn(fs::path(BRISKO_FUZZ_DIR) / "regressions");
    corpus.insert(corpus.end(), regressions.begin(), regressions.end());
    for (const fs::path& file : corpus) replay(file);
}

struct Breakage {
    const char* what;
    std::function<void()> apply;
    const char* reported;
};

// The checks themselves: each kind of broken state is named.
TEST(FuzzInputs, TheInvariantsCatchABrokenState) {
    const Breakage breakages[] = {
        {"the volume track moved below its thumb", [] { AppState::volume->setRect(35, 200, 44, 269); },
         "volume thumb (35, 77, 44, 85) in track (35, 200, 44, 269): outside its track"},
        {"the scroll track moved a column right", [] { AppState::scroll->setRect(208, 79, 215, 181); },
         "scroll thumb (207, 79, 214, 103) in track (208, 79, 215, 181): off its track's columns"},
        {"the play toggle gone", [] { AppState::play = nullptr; }, "a control was not built"},
        {"the run state lost", [] { AppState::runState = 7; }, "run state 7"},
    };
    for (const Breakage& b : breakages) {
        ProgramHarness program;
        program.close(100);
        ASSERT_EQ(program.run(), 0);
        EXPECT_EQ(inputscript::brokenInvariant(), "") << "before " << b.what;
        b.apply();
        EXPECT_EQ(inputscript::brokenInvariant(), b.reported) << b.what;
    }
}

}  // namespace
