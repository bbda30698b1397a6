// The controller through the real DirectInput layer on an SDL virtual pad:
// enumeration, axis ranges, polling, unplugging mid-game; and the bounded
// re-acquire against a device that never recovers.
#include "shell_test_support.h"

namespace {

class VirtualPadTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
        CreateTestWindow();
        SDL_VirtualJoystickDesc desc = {};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "Test Pad";
        int index = SDL_JoystickAttachVirtualEx(&desc);
        ASSERT_GE(index, 0) << SDL_GetError();
        pad = SDL_JoystickOpen(index);
        ASSERT_NE(pad, nullptr) << SDL_GetError();
        padId = SDL_JoystickInstanceID(pad);
    }

    void TearDown() override {
        if (inputDevices.controller) inputDevices.controller->Release();
        if (inputDevices.directInput) inputDevices.directInput->Release();
        inputDevices = InputDevices();
        Unplug();
        if (pad) SDL_JoystickClose(pad);
        ShellTest::TearDown();
    }

    void Unplug() {
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == padId) SDL_JoystickDetachVirtual(i);
    }

    void Move(SDL_GameControllerAxis axis, Sint16 value) { SDL_JoystickSetVirtualAxis(pad, axis, value); }
    void Press(SDL_GameControllerButton button) { SDL_JoystickSetVirtualButton(pad, button, SDL_PRESSED); }

    SDL_Joystick* pad = nullptr;
    SDL_JoystickID padId = -1;
};

TEST_F(VirtualPadTest, PadIsFoundRangedAndPolledIntoTheControllerRecord) {
    ASSERT_EQ(CreateController(appState.window), 0);
    ASSERT_NE(inputDevices.controller, nullptr);

    Move(SDL_CONTROLLER_AXIS_LEFTX, 32767);
    Move(SDL_CONTROLLER_AXIS_LEFTY, -32768);
    Move(SDL_CONTROLLER_AXIS_RIGHTX, 16384);
    Move(SDL_CONTROLLER_AXIS_RIGHTY, 0);
    Press(SDL_CONTROLLER_BUTTON_Y);
    Press(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
    Press(SDL_CONTROLLER_BUTTON_RIGHTSTICK);

    // The first poll fails (not yet acquired), acquires, and reads nothing.
    inputState.controller.lX = 42;
    PollController();
    EXPECT_EQ(inputState.controller.lX, 42);
    PollController();

    const DIJOYSTATE2& state = inputState.controller;
    EXPECT_EQ(state.lX, 1000);
    EXPECT_EQ(state.lY, -1000);  // stick pushed up reads negative
    EXPECT_EQ(state.lRx, 500);
    EXPECT_EQ(state.lRy, 0);
    BYTE expected[128] = {};
    expected[3] = expected[5] = expected[9] = 0x80;  // north, right shoulder, right stick
    for (int i = 0; i < 128; ++i) EXPECT_EQ(state.rgbButtons[i], expected[i]) << "button " << i;
}

TEST_F(VirtualPadTest, UnpluggedPadEndsTheReacquireAndTheGameRunsOnKeys) {
    ASSERT_EQ(CreateController(appState.window), 0);
    Move(SDL_CONTROLLER_AXIS_LEFTX, -32768);
    PollController();
    PollController();
    ASSERT_EQ(inputState.controller.lX, -1000);

    Unplug();
    gameSteps.pollController = PollController;
    PushKey(SDL_SCANCODE_W, true);
    for (int pass = 0; pass < 50; ++pass) ASSERT_TRUE(RunMainLoop());
    EXPECT_EQ(inputState.keyUp, 1);
    EXPECT_GT(stepLog.frames, 0);
    EXPECT_EQ(inputState.controller.lX, -1000);  // the last values stay
    EXPECT_EQ(inputDevices.controller->Poll(), DIERR_NOTACQUIRED);
    EXPECT_EQ(inputDevices.controller->Acquire(), DIERR_UNPLUGGED);
}

TEST_F(VirtualPadTest, ForegroundDeviceNeedsFocusUnlessBackgroundInputIsAllowed) {
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "0");
    ASSERT_EQ(CreateController(appState.window), 0);
    // The test window is hidden, so it cannot have the focus.
    EXPECT_EQ(inputDevices.controller->Acquire(), DIERR_OTHERAPPHASPRIO);
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    EXPECT_EQ(inputDevices.controller->Acquire(), DI_OK);
    EXPECT_EQ(inputDevices.controller->Acquire(), S_FALSE);
}

BOOL CALLBACK CountObject(LPCDIDEVICEOBJECTINSTANCEW object, LPVOID context) {
    int* counts = static_cast<int*>(context);
    if (object->dwType & DIDFT_AXIS) ++counts[0];
    if (object->dwType & DIDFT_BUTTON) ++counts[1];
    return DIENUM_CONTINUE;
}

TEST_F(VirtualPadTest, DeviceChecksEveryClaimItIsGiven) {
    ASSERT_EQ(CreateController(appState.window), 0);
    IDirectInputDevice8W* device = inputDevices.controller;
    int counts[2] = {};
    EXPECT_EQ(device->EnumObjects(CountObject, counts, DIDFT_ALL), DI_OK);
    EXPECT_EQ(counts[0], 4);
    EXPECT_EQ(counts[1], 10);

    DIPROPRANGE range = {{sizeof(DIPROPRANGE), sizeof(DIPROPHEADER), 0, DIPH_DEVICE}, -5, 5};
    range.diph.dwSize = 20;
    EXPECT_EQ(device->SetProperty(DIPROP_RANGE, &range.diph), DIERR_INVALIDPARAM);
    range.diph.dwSize = sizeof(DIPROPRANGE);
    range.lMin = 6;
    EXPECT_EQ(device->SetProperty(DIPROP_RANGE, &range.diph), DIERR_INVALIDPARAM);
    range.lMin = -5;
    range.diph.dwHow = DIPH_BYID;
    range.diph.dwObj = DIDFT_PSHBUTTON | DIDFT_MAKEINSTANCE(0);
    EXPECT_EQ(device->SetProperty(DIPROP_RANGE, &range.diph), DIERR_OBJECTNOTFOUND);

    DIDATAFORMAT lookalike = c_dfDIJoystick2;
    EXPECT_EQ(device->SetDataFormat(&lookalike), DIERR_UNSUPPORTED);
    EXPECT_EQ(device->SetCooperativeLevel(nullptr, DISCL_EXCLUSIVE | DISCL_FOREGROUND), DIERR_INVALIDPARAM);

    DIJOYSTATE2 state = {};
    EXPECT_EQ(device->Acquire(), DI_OK);
    EXPECT_EQ(device->GetDeviceState(sizeof state - 1, &state), DIERR_INVALIDPARAM);
    EXPECT_EQ(device->SetProperty(DIPROP_RANGE, &range.diph), DIERR_ACQUIRED);
}

// A device whose input stays lost: Acquire keeps reporting it.
class LostDevice final : public IDirectInputDevice8W {
public:
    explicit LostDevice(int recoverAfter) : recoverAfter(recoverAfter) {}
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    HRESULT SetDataFormat(LPCDIDATAFORMAT) override { return DI_OK; }
    HRESULT SetCooperativeLevel(HWND, DWORD) override { return DI_OK; }
    HRESULT EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKW, LPVOID, DWORD) override { return DI_OK; }
    HRESULT SetProperty(REFGUID, LPCDIPROPHEADER) override { return DI_OK; }
    HRESULT Acquire() override { return ++acquires > recoverAfter ? DI_OK : DIERR_INPUTLOST; }
    HRESULT Unacquire() override { return DI_OK; }
    HRESULT Poll() override { return DIERR_INPUTLOST; }
    HRESULT GetDeviceState(DWORD, LPVOID) override {
        ++reads;
        return DI_OK;
    }
    int recoverAfter;
    int acquires = 0;
    int reads = 0;
};

TEST(ReacquireTest, LostInputIsRetriedBoundedlyAndNothingIsRead) {
    LostDevice forever(1 << 30);
    inputDevices.controller = &forever;
    PollController();
    PollController();
    EXPECT_EQ(forever.acquires, 2 * kMaxAcquireAttempts);
    EXPECT_EQ(forever.reads, 0);

    LostDevice recovering(2);
    inputDevices.controller = &recovering;
    PollController();
    EXPECT_EQ(recovering.acquires, 3);
    inputDevices.controller = nullptr;
}

}  // namespace
