// Mouse capture and the cursor's display counter, on SDL's mouse functions.
#include "platform/desktop/sdl_window.h"

namespace {
HWND captureWindow = nullptr;
int cursorCounter = 0;  // the cursor shows while this is 0 or more
}  // namespace

// The capture is recorded at once; SDL only grabs the pointer for the window
// with keyboard focus, so the grab is (re)applied whenever that window gains it.
HWND SetCapture(HWND window) {
    HWND previous = captureWindow;
    captureWindow = IsLiveWindow(window) ? window : nullptr;
    if (captureWindow) ReapplyCapture(captureWindow);
    return IsLiveWindow(previous) ? previous : nullptr;
}

void ReapplyCapture(HWND window) {
    if (window && window == captureWindow && (SDL_GetWindowFlags(window->sdlWindow) & SDL_WINDOW_INPUT_FOCUS))
        SDL_CaptureMouse(SDL_TRUE);
}

int ShowCursor(BOOL show) {
    cursorCounter += show ? 1 : -1;
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(cursorCounter >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return cursorCounter;
}
