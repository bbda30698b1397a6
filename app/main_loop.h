// The main loop and the game window's procedure: one pass hands a waiting
// message to the input handling, or else runs a frame; the window's
// destruction releases the renderer and posts the quit message.
#pragma once

#include <windows.h>

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// One pass of the main loop; false once it has ended (Escape or WM_QUIT).
bool RunMainLoop();
