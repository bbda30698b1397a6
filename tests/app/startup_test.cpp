// The whole entry with fake subsystem steps: start-up order, exit statuses,
// and the one line a failed start-up leaves on standard error.
#include "app/startup.h"
#include "shell_test_support.h"

namespace {

using StartupTest = ShellTest;

int WindowFlags() { return IsLiveWindow(appState.window) ? SDL_GetWindowFlags(appState.window->sdlWindow) : 0; }

// The window's size against the screen is checked by the end-to-end test.
TEST_F(StartupTest, RunsStepsInOrderShowsTheWindowAndAFirstEscapePressReturnsZero) {
    stepLog.onFrame = [](int frame) {
        if (frame == 1) {
            EXPECT_TRUE((WindowFlags() & SDL_WINDOW_SHOWN) && SDL_ShowCursor(SDL_QUERY) == SDL_DISABLE);
        }
        if (frame == 3) PushKey(SDL_SCANCODE_ESCAPE, true, true);  // an auto-repeat must not end the game
        if (frame == 4 || frame > 1000) PushKey(SDL_SCANCODE_ESCAPE, true);  // later: stop a broken loop
    };
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunGame(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    // Leaving by Escape neither destroys the window nor releases resources.
    EXPECT_EQ(stepLog.calls, "SNDBFFFF");
    EXPECT_TRUE(IsLiveWindow(appState.window));
    EXPECT_EQ(stepLog.deviceWindow, appState.window);
}

TEST_F(StartupTest, ClosingTheWindowReleasesResourcesAndReturnsZero) {
    stepLog.onFrame = [](int frame) {
        if (frame == 2 || frame > 1000) PushCloseRequest();
    };
    EXPECT_EQ(RunGame(), 0);
    EXPECT_EQ(stepLog.calls, "SNDBFFR");
    EXPECT_FALSE(IsLiveWindow(appState.window));
}

void ExpectFailedStart(const char* calls, const char* line) {
    testing::internal::CaptureStderr();
    EXPECT_NE(RunGame(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), line);
    EXPECT_EQ(stepLog.calls, calls);
    EXPECT_FALSE(WindowFlags() & SDL_WINDOW_SHOWN);
}

TEST_F(StartupTest, DeviceFailurePrintsItsReasonOnceAndReturnsNonZero) {
    stepLog.deviceResult = E_FAIL;
    stepLog.deviceReason = "no OpenGL 3.3 context: GLX unavailable";
    ExpectFailedStart("SND", "Quillfrost: no OpenGL 3.3 context: GLX unavailable\n");
}

TEST_F(StartupTest, UnexplainedBatchFailureNamesTheStep) {
    stepLog.batchResult = E_OUTOFMEMORY;
    ExpectFailedStart("SNDB", "Quillfrost: CreateBatchBuffer failed (0x8007000E)\n");
}

}  // namespace
