// Windows on SDL: the SDL window beneath each record of the window pool, and
// the display's mode.
#include "platform/desktop/sdl_window.h"
#include "platform/posix/utf8.h"

namespace {

HWND__ windows[kWindowCapacity];

// Window titles go to SDL as UTF-8; a title that does not fit is cut, and
// what UTF-8 cannot carry shows as '?'.
void WideToUtf8(LPCWSTR text, char* out, size_t capacity) {
    size_t n = 0;
    for (; text && *text; ++text) {
        char bytes[4];
        int length = EncodeUtf8(static_cast<uint32_t>(*text), bytes);
        if (length == 0) length = EncodeUtf8('?', bytes);
        if (n + static_cast<size_t>(length) >= capacity) break;
        for (int i = 0; i < length; ++i) out[n++] = bytes[i];
    }
    out[n] = '\0';
}

}  // namespace

HWND backend::WindowAt(int slot) { return &windows[slot]; }

WindowRecord& backend::WindowRecordAt(int slot) { return windows[slot]; }

void SetGameWindowGlAttributes() {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
}

// Without a display SDL falls back to drivers that show nothing; a game that
// ran there would spin unseen, so they count only when asked for by name.
bool EnsureSdlVideo() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* requested = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    bool invisible = driver && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0);
    if (!invisible || (requested && *requested)) return true;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    SDL_SetError("no display available (SDL came up on its \"%s\" video driver)", driver);
    return false;
}

HWND WindowFromSdlId(Uint32 windowId) {
    for (HWND__& w : windows)
        if (w.inUse && w.sdlWindowId == windowId) return &w;
    return nullptr;
}

bool backend::OpenNativeWindow(HWND window, LPCWSTR title, int x, int y, int width, int height) {
    char utf8Title[256];
    WideToUtf8(title, utf8Title, sizeof utf8Title);
    SDL_Window* sdlWindow = nullptr;
    if (EnsureSdlVideo()) {
        SetGameWindowGlAttributes();
        sdlWindow = SDL_CreateWindow(utf8Title, x, y, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    }
    if (!sdlWindow) {
        SetLastErrorFromSdl(ERROR_DEVICE_NOT_AVAILABLE);
        return false;
    }
    window->sdlWindow = sdlWindow;
    window->sdlWindowId = SDL_GetWindowID(sdlWindow);
    return true;
}

void backend::CloseNativeWindow(HWND window) {
    SDL_DestroyWindow(window->sdlWindow);
    window->sdlWindow = nullptr;
    window->sdlWindowId = 0;
}

bool backend::DisplayMode(DWORD modeNum, DEVMODEW* mode) {
    SDL_DisplayMode displayMode;
    int status = -1;
    if (EnsureSdlVideo())
        status = modeNum == ENUM_CURRENT_SETTINGS ? SDL_GetDesktopDisplayMode(0, &displayMode)
                                                  : SDL_GetDisplayMode(0, static_cast<int>(modeNum), &displayMode);
    if (status != 0) {
        SetLastErrorFromSdl(ERROR_DEVICE_NOT_AVAILABLE);
        return false;
    }
    if (displayMode.w <= 0 || displayMode.h <= 0) return false;
    mode->dmPelsWidth = static_cast<DWORD>(displayMode.w);
    mode->dmPelsHeight = static_cast<DWORD>(displayMode.h);
    mode->dmBitsPerPel = SDL_BITSPERPIXEL(displayMode.format);
    mode->dmDisplayFrequency = static_cast<DWORD>(displayMode.refresh_rate);
    return true;
}

bool backend::ShowNativeWindow(HWND window, bool show) {
    const bool wasVisible = (SDL_GetWindowFlags(window->sdlWindow) & SDL_WINDOW_SHOWN) != 0;
    if (show)
        SDL_ShowWindow(window->sdlWindow);
    else
        SDL_HideWindow(window->sdlWindow);
    return wasVisible;
}
