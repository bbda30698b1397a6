// Internal to the platform layer: the SDL window behind a window handle, shared
// by the window functions and the OpenGL device. Game code never includes this.
#pragma once

#include <SDL.h>

#include "platform/windows.h"

struct HWND__ {
    SDL_Window* sdlWindow = nullptr;
    WNDPROC windowProc = nullptr;
    HINSTANCE instance = nullptr;
};

// Sets the GL attributes every game window is created with: a 3.3 core
// context, double buffering and a 16-bit depth buffer. Call before
// SDL_CreateWindow with SDL_WINDOW_OPENGL.
void SetGameWindowGlAttributes();
