// The main loop driven through SDL's real event queue: what each message does,
// when frames run, and how the loop ends.
#include "shell_test_support.h"

namespace {

class MainLoopTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        CreateTestWindow();
        DrainMessages();
    }

    // Runs passes until one runs a frame, i.e. every queued message is handled.
    bool RunUntilFrame(int maxPasses = 1000) {
        int framesBefore = stepLog.frames;
        for (int pass = 0; pass < maxPasses; ++pass) {
            bool running = RunMainLoop();
            EXPECT_TRUE(running) << "the loop ended early";
            if (stepLog.frames > framesBefore) return running;
        }
        ADD_FAILURE() << "no frame ran";
        return false;
    }
};

TEST_F(MainLoopTest, KeysSetFlagsOnPressOnlyAndAlwaysClearOnRelease) {
    PushKey(SDL_SCANCODE_W, true);
    PushKey(SDL_SCANCODE_D, true);
    PushKey(SDL_SCANCODE_KP_8, true);  // the keypad is not the digit row
    RunUntilFrame();
    EXPECT_EQ(inputState.keyUp, 1);
    EXPECT_EQ(inputState.keyRight, 1);
    EXPECT_EQ(inputState.keyDown, 0);

    // An auto-repeat must not set a flag again.
    inputState.keyUp = 0;
    PushKey(SDL_SCANCODE_W, true, true);
    RunUntilFrame();
    EXPECT_EQ(inputState.keyUp, 0);

    // Releases carry the previous-state bit, and still clear.
    PushKey(SDL_SCANCODE_8, true);
    PushKey(SDL_SCANCODE_D, false);
    PushKey(SDL_SCANCODE_4, true);
    RunUntilFrame();
    EXPECT_EQ(inputState.keyDown, 1);
    EXPECT_EQ(inputState.keyRight, 0);
    EXPECT_EQ(inputState.keyLeft, 1);
    EXPECT_EQ(appState.message.message, WM_KEYDOWN);
    EXPECT_EQ(appState.message.wParam, static_cast<WPARAM>('4'));
}

TEST_F(MainLoopTest, EscapeEndsTheLoopOnItsFirstPressOnly) {
    PushKey(SDL_SCANCODE_ESCAPE, true, true);
    RunUntilFrame();

    PushKey(SDL_SCANCODE_ESCAPE, true);
    bool running = true;
    int passes = 0;
    while (running && passes < 100) {
        running = RunMainLoop();
        ++passes;
    }
    EXPECT_FALSE(running);
    EXPECT_EQ(appState.message.message, WM_KEYDOWN);
    // Leaving by Escape neither destroys the window nor releases resources.
    EXPECT_TRUE(IsLiveWindow(appState.window));
    EXPECT_EQ(stepLog.releases, 0);
}

TEST_F(MainLoopTest, CloseRequestDestroysTheWindowAndEndsThroughQuit) {
    PushCloseRequest();
    bool running = true;
    int passes = 0;
    while (running && passes < 100) {
        running = RunMainLoop();
        ++passes;
        if (running) {
            EXPECT_NE(appState.message.message, WM_QUIT);
        }
    }
    EXPECT_FALSE(running);
    EXPECT_EQ(appState.message.message, WM_QUIT);
    EXPECT_EQ(appState.message.wParam, 0u);
    EXPECT_FALSE(IsLiveWindow(appState.window));
    EXPECT_EQ(stepLog.releases, 1);
    EXPECT_EQ(stepLog.frames, 0);
}

TEST_F(MainLoopTest, StreamOfMessagesRunsNoFrameUntilTheQueueIsEmpty) {
    // More moves than the ring holds, so it is refilled from SDL's queue.
    constexpr int kMoves = 600;
    for (int i = 0; i < kMoves; ++i) PushMotion(i, i % 720);
    for (int pass = 0; pass < kMoves; ++pass) RunMainLoop();
    EXPECT_EQ(stepLog.frames, 0);

    RunUntilFrame();
    int lastX = kMoves - 1, lastY = (kMoves - 1) % 720;
    EXPECT_FLOAT_EQ(inputState.cursorX, lastX / 1280.0f * 2.0f - 1.0f);
    EXPECT_FLOAT_EQ(inputState.cursorY, lastY / 720.0f * -2.0f + 1.0f);

    // A pass that runs a frame maps the last move again, to the same values.
    inputState.cursorX = 5.0f;
    RunMainLoop();
    EXPECT_EQ(stepLog.frames, 2);
    EXPECT_FLOAT_EQ(inputState.cursorX, lastX / 1280.0f * 2.0f - 1.0f);
}

TEST_F(MainLoopTest, MouseButtonsAndPositionsOutsideTheWindow) {
    PushButton(SDL_BUTTON_LEFT, true);
    PushButton(SDL_BUTTON_RIGHT, true);
    PushButton(SDL_BUTTON_MIDDLE, true);
    RunUntilFrame();
    EXPECT_EQ(inputState.leftButton, 1);
    EXPECT_EQ(inputState.rightButton, 1);

    // A captured mouse reports positions left of and above the window.
    PushMotion(-64, -36, SDL_BUTTON_LMASK | SDL_BUTTON_RMASK | SDL_BUTTON_MMASK);
    PushButton(SDL_BUTTON_LEFT, false);
    RunUntilFrame();
    EXPECT_EQ(inputState.leftButton, 0);
    EXPECT_EQ(inputState.rightButton, 1);
    EXPECT_FLOAT_EQ(inputState.cursorX, -1.1f);
    EXPECT_FLOAT_EQ(inputState.cursorY, 1.1f);
    EXPECT_EQ(appState.message.message, WM_LBUTTONUP);
    EXPECT_EQ(appState.message.wParam, MK_RBUTTON | MK_MBUTTON);
}

TEST_F(MainLoopTest, PostedQuitComesFirstAndStaleHandlesAreRefused) {
    PostMessageW(appState.window, WM_NULL, 0, 0);
    PostQuitMessage(3);
    MSG message = {};
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, WM_QUIT);
    EXPECT_EQ(message.wParam, 3u);

    HWND window = appState.window;
    ASSERT_TRUE(DestroyWindow(window));
    EXPECT_EQ(stepLog.releases, 1);
    EXPECT_FALSE(DestroyWindow(window));
    EXPECT_FALSE(ShowWindow(window, SW_SHOWDEFAULT));
    EXPECT_FALSE(PostMessageW(window, WM_NULL, 0, 0));
    message.hwnd = window;
    message.message = WM_CLOSE;
    EXPECT_EQ(DispatchMessageW(&message), 0);
    EXPECT_EQ(stepLog.releases, 1);
}

}  // namespace
