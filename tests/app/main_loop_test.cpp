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
    void RunUntilFrame() {
        int framesBefore = stepLog.frames;
        for (int pass = 0; pass < 1000 && stepLog.frames == framesBefore; ++pass)
            ASSERT_TRUE(RunMainLoop()) << "the loop ended early";
        ASSERT_GT(stepLog.frames, framesBefore) << "no frame ran";
    }
};

TEST_F(MainLoopTest, KeysSetFlagsOnPressOnlyAndAlwaysClearOnRelease) {
    PushKey(SDL_SCANCODE_W, true);
    PushKey(SDL_SCANCODE_D, true);
    PushKey(SDL_SCANCODE_KP_8, true);  // the keypad is not the digit row
    RunUntilFrame();
    EXPECT_EQ(std::make_tuple(inputState.keyUp, inputState.keyRight, inputState.keyDown), std::make_tuple(1, 1, 0));

    // An auto-repeat must not set a flag again; a release carries the
    // previous-state bit, and still clears.
    inputState.keyUp = 0;
    PushKey(SDL_SCANCODE_W, true, true);
    PushKey(SDL_SCANCODE_8, true);
    PushKey(SDL_SCANCODE_D, false);
    PushKey(SDL_SCANCODE_4, true);
    RunUntilFrame();
    EXPECT_EQ(std::make_tuple(inputState.keyUp, inputState.keyDown, inputState.keyRight, inputState.keyLeft),
              std::make_tuple(0, 1, 0, 1));
    EXPECT_EQ(std::make_pair(appState.message.message, appState.message.wParam), std::make_pair(UINT(WM_KEYDOWN), WPARAM('4')));
}

TEST_F(MainLoopTest, StreamOfMessagesRunsNoFrameUntilTheQueueIsEmpty) {
    // More moves than the ring holds, so it is refilled from SDL's queue.
    constexpr int kMoves = 600;
    for (int i = 0; i < kMoves; ++i) PushMotion(i, i % 720);
    for (int pass = 0; pass < kMoves; ++pass) RunMainLoop();
    EXPECT_EQ(stepLog.frames, 0);
    RunUntilFrame();
    const float lastX = (kMoves - 1) / 1280.0f * 2.0f - 1.0f;
    EXPECT_FLOAT_EQ(inputState.cursorX, lastX);
    EXPECT_FLOAT_EQ(inputState.cursorY, (kMoves - 1) % 720 / 720.0f * -2.0f + 1.0f);
    // A pass that runs a frame maps the last move again, to the same values.
    inputState.cursorX = 5.0f;
    RunMainLoop();
    EXPECT_EQ(stepLog.frames, 2);
    EXPECT_FLOAT_EQ(inputState.cursorX, lastX);
}

TEST_F(MainLoopTest, MouseButtonsAndPositionsOutsideTheWindow) {
    PushButton(SDL_BUTTON_LEFT, true);
    PushButton(SDL_BUTTON_RIGHT, true);
    PushButton(SDL_BUTTON_MIDDLE, true);
    RunUntilFrame();
    EXPECT_EQ(std::make_pair(inputState.leftButton, inputState.rightButton), std::make_pair(1, 1));
    // A captured mouse reports positions left of and above the window.
    PushMotion(-64, -36, SDL_BUTTON_LMASK | SDL_BUTTON_RMASK | SDL_BUTTON_MMASK);
    PushButton(SDL_BUTTON_LEFT, false);
    RunUntilFrame();
    EXPECT_EQ(std::make_pair(inputState.leftButton, inputState.rightButton), std::make_pair(0, 1));
    EXPECT_EQ(std::make_pair(inputState.cursorX, inputState.cursorY), std::make_pair(-1.1f, 1.1f));
    EXPECT_EQ(std::make_pair(appState.message.message, appState.message.wParam),
              std::make_pair(UINT(WM_LBUTTONUP), WPARAM(MK_RBUTTON | MK_MBUTTON)));
}

TEST_F(MainLoopTest, PostedQuitComesFirstAndStaleHandlesAreRefused) {
    PostMessageW(appState.window, WM_NULL, 0, 0);
    PostQuitMessage(3);
    MSG message = {};
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(std::make_pair(message.message, message.wParam), std::make_pair(UINT(WM_QUIT), WPARAM(3)));

    HWND window = appState.window;
    ASSERT_TRUE(DestroyWindow(window));
    EXPECT_EQ(std::make_tuple(DestroyWindow(window), ShowWindow(window, SW_SHOWDEFAULT), PostMessageW(window, WM_NULL, 0, 0)),
              std::make_tuple(FALSE, FALSE, FALSE));
    message = {window, WM_CLOSE, 0, 0, 0, {}};
    EXPECT_EQ(DispatchMessageW(&message), 0);
    EXPECT_EQ(stepLog.releases, 1);
}

}  // namespace
