// Shared by the shell's tests: SDL events pushed into the real queue, a game
// window, and step fakes that record what the shell called.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "app/app_state.h"
#include "app/input.h"
#include "platform/sdl_window.h"

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

extern StepLog stepLog;

// Fakes for every step the shell calls; the controller poll is left out.
GameSteps FakeSteps();

inline void PushSdl(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError(); }

inline Uint32 WindowId() { return IsLiveWindow(appState.window) ? SDL_GetWindowID(appState.window->sdlWindow) : 0; }

inline void PushKey(SDL_Scancode scancode, bool down, bool repeat = false) {
    SDL_Event event = {};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = WindowId();
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
    PushSdl(event);
}

inline void PushMotion(int x, int y, Uint32 buttonState = 0) {
    SDL_Event event = {};
    event.type = SDL_MOUSEMOTION;
    event.motion.state = buttonState;
    event.motion.windowID = WindowId();
    event.motion.x = x;
    event.motion.y = y;
    PushSdl(event);
}

inline void PushButton(Uint8 button, bool down) {
    SDL_Event event = {};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.windowID = WindowId();
    event.button.button = button;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    PushSdl(event);
}

inline void PushCloseRequest() {
    SDL_Event event = {};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = WindowId();
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    PushSdl(event);
}

// Empties both SDL's queue and ours, including a posted quit.
void DrainMessages();
// Registers the game's class once and creates a hidden window into appState.
void CreateTestWindow();

// Gives each test fresh shell state and puts the real steps back afterwards.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};
