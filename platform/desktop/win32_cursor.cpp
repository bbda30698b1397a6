// The mouse capture and the cursor on SDL's mouse functions.
#include "platform/desktop/sdl_window.h"

// SDL only grabs the pointer for the window with keyboard focus, so the grab
// is (re)applied whenever the capturing window gains it.
void backend::CaptureMouse(HWND window) {
    if (HoldsCapture(window) && (SDL_GetWindowFlags(window->sdlWindow) & SDL_WINDOW_INPUT_FOCUS))
        SDL_CaptureMouse(SDL_TRUE);
}

void backend::ShowPointer(bool shown) {
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
}
