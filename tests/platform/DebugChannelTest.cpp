// The layer's diagnostics: silent unless BRISKO_DEBUG names their channel,
// and never the user's message, which only the program's entry gives.
#include <cstdlib>
#include <string>

#include "../../platform/core/Debug.h"
#include "LayerTestSupport.h"
#include "layer/ProgramEntry.h"

namespace {

class DebugChannel : public LayerTest {
protected:
    void TearDown() override {
        unsetenv("BRISKO_DEBUG");
        layer::debug::reload();
        LayerTest::TearDown();
    }
    static std::string refusedCreationSays(const char* channels) {
        if (channels)
            setenv("BRISKO_DEBUG", channels, 1);
        else
            unsetenv("BRISKO_DEBUG");
        layer::debug::reload();
        ::testing::internal::CaptureStderr();
        HWND window = CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        EXPECT_EQ(window, nullptr);
        return ::testing::internal::GetCapturedStderr();
    }
};

TEST_F(DebugChannel, IsSilentByDefaultAndWhenOtherChannelsAreOn) {
    EXPECT_EQ(refusedCreationSays(nullptr), "");
    EXPECT_EQ(refusedCreationSays("gdi,region"), "");
    EXPECT_EQ(refusedCreationSays("windows"), "") << "only whole names count";
}

TEST_F(DebugChannel, TracesWhatItsChannelSaysWhenNamed) {
    const std::string line = "layer:window: CreateWindowExA refused: its window class is not registered\n";
    EXPECT_EQ(refusedCreationSays("window"), line);
    EXPECT_EQ(refusedCreationSays("gdi,window"), line);
    EXPECT_EQ(refusedCreationSays("all"), line);
}

TEST_F(DebugChannel, TheRefusalIsKeptForTheProgramsEntryToTell) {
    refusedCreationSays(nullptr);
    ASSERT_NE(layer::windowRefusal(), nullptr);
    EXPECT_STREQ(layer::windowRefusal(), "its window class is not registered");
    registerTestClass();
    createTestWindow(0, 0, 10, 10);
    EXPECT_EQ(layer::windowRefusal(), nullptr) << "once a window is open, the program did not fail to open one";
}

}  // namespace
