// Shared by the shell's tests: SDL events pushed into the real queue, a game
// window, and step fakes that record what the shell called.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "app/app_state.h"
#include "app/input.h"
#include "app/main_loop.h"
#include "app/startup_failure.h"
#include "platform/desktop/sdl_window.h"

struct StepLog {
    std::string calls;  // one letter per step: S N D B F R
    HWND deviceWindow = nullptr;
    int frames = 0;
    int releases = 0;
    HRESULT deviceResult = S_OK;
    HRESULT batchResult = 1;
    const char* deviceReason = nullptr;
    void (*onFrame)(int frame) = nullptr;
};

inline StepLog stepLog;

// Fakes for every step the shell calls; the controller poll does nothing.
inline GameSteps FakeSteps() {
    GameSteps steps;
    steps.initSounds = [](HWND) {
        stepLog.calls += 'S';
        NoteStartupFailure("the sound set-up's reason must not be printed");
        return E_FAIL;
    };
    steps.newGame = [] { stepLog.calls += 'N'; };
    steps.createDeviceAndResources = [](HWND window) {
        stepLog.calls += 'D';
        stepLog.deviceWindow = window;
        if (stepLog.deviceReason) NoteStartupFailure("%s", stepLog.deviceReason);
        return stepLog.deviceResult;
    };
    steps.createBatchBuffer = [] {
        stepLog.calls += 'B';
        return stepLog.batchResult;
    };
    steps.pollController = [] {};
    steps.runFrame = [] {
        ++stepLog.frames;
        if (stepLog.calls.size() < 64) stepLog.calls += 'F';
        if (stepLog.onFrame) stepLog.onFrame(stepLog.frames);
    };
    steps.releaseResources = [] {
        stepLog.calls += 'R';
        ++stepLog.releases;
    };
    return steps;
}

inline Uint32 WindowId() { return IsLiveWindow(appState.window) ? SDL_GetWindowID(appState.window->sdlWindow) : 0; }

inline void PushSdl(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError(); }

inline void PushKey(SDL_Scancode code, bool down, bool repeat = false) {
    PushSdl({.key = {Uint32(down ? SDL_KEYDOWN : SDL_KEYUP), 0, WindowId(), Uint8(down ? SDL_PRESSED : SDL_RELEASED),
                     repeat, 0, 0, {code, SDL_GetKeyFromScancode(code), 0, 0}}});
}

inline void PushMotion(int x, int y, Uint32 buttonState = 0) {
    PushSdl({.motion = {SDL_MOUSEMOTION, 0, WindowId(), 0, buttonState, x, y, 0, 0}});
}

inline void PushButton(Uint8 button, bool down) {
    PushSdl({.button = {Uint32(down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP), 0, WindowId(), 0, button,
                        Uint8(down ? SDL_PRESSED : SDL_RELEASED), 1, 0, 0, 0}});
}

inline void PushCloseRequest() {
    PushSdl({.window = {SDL_WINDOWEVENT, 0, WindowId(), SDL_WINDOWEVENT_CLOSE, 0, 0, 0, 0, 0}});
}

// Empties both SDL's queue and ours, including a posted quit.
inline void DrainMessages() {
    SDL_PumpEvents();
    MSG message;
    for (int i = 0; i < 100000 && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
    }
}

// Registers the game's class once and creates a hidden window into appState.
inline void CreateTestWindow() {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.lpszClassName = L"Quillfrost";
    windowClass.hInstance = appState.instance = GetModuleHandleW(nullptr);
    RegisterClassExW(&windowClass);  // already registered after the first test
    appState.window = CreateWindowExW(0, L"Quillfrost", L"Quillfrost", WS_OVERLAPPEDWINDOW, 0, 0, 1280, 720, nullptr,
                                      nullptr, appState.instance, nullptr);
    ASSERT_NE(appState.window, nullptr) << SDL_GetError();
    appState.screenWidth = 1280.0f;
    appState.screenHeight = 720.0f;
}

// Gives each test fresh shell state and puts the real steps back afterwards.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        gameSteps = FakeSteps();
        stepLog = StepLog();
        appState = AppState();
        inputState = InputState();
        ClearStartupFailure();
        DrainMessages();
    }
    void TearDown() override {
        if (IsLiveWindow(appState.window)) DestroyWindow(appState.window);
        DrainMessages();
        gameSteps = DefaultGameSteps();
    }
};
