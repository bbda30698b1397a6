#include "shell_test_support.h"

#include "app/startup_failure.h"

StepLog stepLog;

namespace {

HRESULT FakeInitSounds(HWND) {
    stepLog.calls += 'S';
    NoteStartupFailure("the sound set-up's reason must not be printed");
    return E_FAIL;
}
void FakeNewGame() { stepLog.calls += 'N'; }
HRESULT FakeDevice(HWND window) {
    stepLog.calls += 'D';
    stepLog.deviceWindow = window;
    if (stepLog.deviceReason) NoteStartupFailure("%s", stepLog.deviceReason);
    return stepLog.deviceResult;
}
HRESULT FakeBatch() {
    stepLog.calls += 'B';
    return stepLog.batchResult;
}
void NoPoll() {}
void FakeFrame() {
    ++stepLog.frames;
    if (stepLog.calls.size() < 64) stepLog.calls += 'F';
    if (stepLog.onFrame) stepLog.onFrame(stepLog.frames);
}
void FakeRelease() {
    ++stepLog.releases;
    stepLog.calls += 'R';
}

}  // namespace

GameSteps FakeSteps() {
    return GameSteps{FakeInitSounds, FakeNewGame, FakeDevice, FakeBatch, NoPoll, FakeFrame, FakeRelease};
}

void DrainMessages() {
    SDL_PumpEvents();
    MSG message;
    for (int i = 0; i < 100000 && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
    }
}

void CreateTestWindow() {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.lpszClassName = L"Quillfrost";
    windowClass.hInstance = GetModuleHandleW(nullptr);
    RegisterClassExW(&windowClass);  // already registered after the first test
    appState.instance = windowClass.hInstance;
    appState.window = CreateWindowExW(0, L"Quillfrost", L"Quillfrost", WS_OVERLAPPEDWINDOW, 0, 0, 1280, 720, nullptr,
                                      nullptr, appState.instance, nullptr);
    ASSERT_NE(appState.window, nullptr) << SDL_GetError();
    appState.screenWidth = 1280.0f;
    appState.screenHeight = 720.0f;
}

void ShellTest::SetUp() {
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    gameSteps = FakeSteps();
    stepLog = StepLog();
    appState = AppState();
    inputState = InputState();
    ClearStartupFailure();
    DrainMessages();
}

void ShellTest::TearDown() {
    if (IsLiveWindow(appState.window)) DestroyWindow(appState.window);
    DrainMessages();
    gameSteps = DefaultGameSteps();
}
