// The shell's one record (window, module, desktop size, the loop's message)
// and the other subsystems' steps as the shell calls them.
#pragma once

#include <windows.h>

struct AppState {
    HWND window = nullptr;
    HINSTANCE instance = nullptr;
    float screenWidth = 0.0f;
    float screenHeight = 0.0f;
    MSG message = {};
};

extern AppState appState;

// The other subsystems' steps as the shell calls them; tests put fakes in their place.
struct GameSteps {
    HRESULT (*initSounds)(HWND window);
    void (*newGame)();
    HRESULT (*createDeviceAndResources)(HWND window);
    HRESULT (*createBatchBuffer)();
    void (*pollController)();
    void (*runFrame)();
    void (*releaseResources)();
};

extern GameSteps gameSteps;
GameSteps DefaultGameSteps();
