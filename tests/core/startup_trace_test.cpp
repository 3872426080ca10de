// The developer trace of start-up steps that fail: silent by default, one line per failure on
// standard error when switched on, and start-up carries on either way.
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "app/Editor.h"
#include "support/TestSupport.h"

namespace tolvane::app {
namespace {

// Sets or clears the trace switch in this process's environment, on either system.
void SetTrace(const char* value) {
#ifdef _WIN32
    _putenv_s("TOLVANE_TRACE", value ? value : "");
#else
    if (value) setenv("TOLVANE_TRACE", value, 1);
    else unsetenv("TOLVANE_TRACE");
#endif
}

// A progress display that cannot show anything: every step that uses it fails.
struct BrokenProgress : platform::Progress {
    int failures = 0;
    void show(const std::string&) override {
        ++failures;
        throw std::runtime_error("no progress window");
    }
    void hide() override {}
};

struct TraceFixture : ::testing::Test {
    test::TempDir dir;
    platform::FileSystem fs{dir.path()};
    test::ScriptedDialogs dialogs;
    BrokenProgress progress;
    test::RecordingLauncher launcher;

    std::string StartUpStderr() {
        Editor e(fs, dialogs, progress, launcher);
        ::testing::internal::CaptureStderr();
        e.StartUp();
        const std::string err = ::testing::internal::GetCapturedStderr();
        // The steps after the failing ones still ran.
        EXPECT_EQ(e.state.strConfigName, "default");
        EXPECT_FALSE(e.main.windowTitle.empty());
        return err;
    }
    void TearDown() override { SetTrace(nullptr); }
};

TEST_F(TraceFixture, OffByDefaultAndForOtherValues) {
    SetTrace(nullptr);
    EXPECT_EQ(StartUpStderr(), "");
    SetTrace("0");
    EXPECT_EQ(StartUpStderr(), "");
    EXPECT_GT(progress.failures, 0);
    EXPECT_TRUE(dialogs.messages.empty());  // nothing reaches the user either
}

TEST_F(TraceFixture, OneLinePerSwallowedFailureNamingTheStepAndTheReason) {
    SetTrace("1");
    const std::string err = StartUpStderr();
    ASSERT_GT(progress.failures, 0);
    int lines = 0;
    for (std::size_t at = 0; (at = err.find('\n', at)) != std::string::npos; ++at) ++lines;
    EXPECT_EQ(lines, progress.failures);
    EXPECT_NE(err.find("tolvane: trace: start-up step at src/app/Editor.cpp:"), std::string::npos) << err;
    EXPECT_NE(err.find("failed: no progress window\n"), std::string::npos) << err;
}

}  // namespace
}  // namespace tolvane::app
