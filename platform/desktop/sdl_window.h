// Internal to the platform layer: the SDL window behind a window handle, shared
// by the window functions, the message queue, DirectInput and the OpenGL device.
// Game code never includes this.
#pragma once

#include <SDL.h>

#include <windows.h>

#include "platform/win32/message_queue.h"

struct HWND__ : WindowRecord {
    SDL_Window* sdlWindow = nullptr;
    Uint32 sdlWindowId = 0;
};

// Sets the GL attributes every game window is created with: a 3.3 core
// context, double buffering and a 16-bit depth buffer. Call before
// SDL_CreateWindow with SDL_WINDOW_OPENGL.
void SetGameWindowGlAttributes();

// Starts SDL's video subsystem on first use; false (with SDL_GetError) if it cannot.
bool EnsureSdlVideo();
// Sets the last error to `error`, whose text is now what SDL_GetError says.
void SetLastErrorFromSdl(DWORD error);

HWND WindowFromSdlId(Uint32 windowId);

// Turns one SDL event into a window message; false when the event has none.
bool TranslateSdlEvent(const SDL_Event& event, MSG* message);
// The virtual-key code of an SDL scancode, 0 for keys the layer does not map.
int VirtualKeyFromScancode(SDL_Scancode scancode);
