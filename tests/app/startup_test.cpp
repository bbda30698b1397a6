// The whole entry with fake subsystem steps: start-up order, exit statuses,
// and the one line a failed start-up leaves on standard error.
#include "app/startup.h"
#include "shell_test_support.h"

namespace {

using StartupTest = ShellTest;

void PushEscapeOnThirdFrame(int frame) {
    if (frame == 3) PushKey(SDL_SCANCODE_ESCAPE, true);
    if (frame > 1000) PushKey(SDL_SCANCODE_ESCAPE, true);  // stop a broken loop
}

void PushCloseOnSecondFrame(int frame) {
    if (frame == 2 || frame > 1000) PushCloseRequest();
}

int WindowFlags() { return IsLiveWindow(appState.window) ? SDL_GetWindowFlags(appState.window->sdlWindow) : 0; }

TEST_F(StartupTest, RunsStepsInOrderShowsADesktopSizedWindowAndEscapeReturnsZero) {
    stepLog.onFrame = [](int frame) {
        if (frame == 1) {
            EXPECT_TRUE(WindowFlags() & SDL_WINDOW_SHOWN);
            EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
        }
        PushEscapeOnThirdFrame(frame);
    };
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunGame(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(stepLog.calls, "SNDBFFF");
    EXPECT_EQ(stepLog.deviceWindow, appState.window);

    SDL_DisplayMode desktop;
    ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
    EXPECT_EQ(appState.screenWidth, static_cast<float>(desktop.w));
    EXPECT_EQ(appState.screenHeight, static_cast<float>(desktop.h));
    int width = 0, height = 0;
    SDL_GetWindowSize(appState.window->sdlWindow, &width, &height);
    EXPECT_EQ(width, desktop.w);
    EXPECT_EQ(height, desktop.h);
    EXPECT_EQ(stepLog.releases, 0);
}

TEST_F(StartupTest, ClosingTheWindowReleasesResourcesAndReturnsZero) {
    stepLog.onFrame = PushCloseOnSecondFrame;
    EXPECT_EQ(RunGame(), 0);
    EXPECT_EQ(stepLog.calls, "SNDBFFR");
    EXPECT_FALSE(IsLiveWindow(appState.window));
}

TEST_F(StartupTest, DeviceFailurePrintsItsReasonOnceAndReturnsNonZero) {
    stepLog.deviceResult = E_FAIL;
    stepLog.deviceReason = "no OpenGL 3.3 context: GLX unavailable";
    testing::internal::CaptureStderr();
    EXPECT_NE(RunGame(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Quillfrost: no OpenGL 3.3 context: GLX unavailable\n");
    EXPECT_EQ(stepLog.calls, "SND");
    EXPECT_FALSE(WindowFlags() & SDL_WINDOW_SHOWN);
}

TEST_F(StartupTest, UnexplainedBatchFailureNamesTheStep) {
    stepLog.batchResult = E_OUTOFMEMORY;
    testing::internal::CaptureStderr();
    EXPECT_NE(RunGame(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Quillfrost: CreateBatchBuffer failed (0x8007000E)\n");
    EXPECT_EQ(stepLog.calls, "SNDB");
    EXPECT_FALSE(WindowFlags() & SDL_WINDOW_SHOWN);
}

}  // namespace
