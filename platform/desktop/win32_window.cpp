// Windows on SDL: a fixed pool of window records, so handles can be checked
// and nothing is allocated per call.
#include "platform/desktop/sdl_window.h"
#include "platform/win32/window_classes.h"

namespace {

constexpr int kMaxWindows = 8;
HWND__ windows[kMaxWindows];

// Window titles go to SDL as UTF-8; a title that does not fit is cut.
void WideToUtf8(LPCWSTR text, char* out, size_t capacity) {
    static constexpr unsigned char kLead[5] = {0, 0, 0xC0, 0xE0, 0xF0};
    size_t n = 0;
    for (; text && *text; ++text) {
        uint32_t c = static_cast<uint32_t>(*text);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = '?';
        size_t length = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
        if (n + length >= capacity) break;
        if (length == 1) {
            out[n++] = static_cast<char>(c);
            continue;
        }
        out[n] = static_cast<char>(kLead[length] | (c >> (6 * (length - 1))));
        for (size_t i = 1; i < length; ++i) out[n + i] = static_cast<char>(0x80 | ((c >> (6 * (length - 1 - i))) & 0x3F));
        n += length;
    }
    out[n] = '\0';
}

HWND AllocateWindow() {
    for (HWND__& w : windows)
        if (!w.inUse) return &w;
    return nullptr;
}

}  // namespace

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

bool ClassHasWindows(WNDPROC windowProc, HINSTANCE instance) {
    for (const HWND__& w : windows)
        if (w.inUse && w.windowProc == windowProc && w.instance == instance) return true;
    return false;
}

bool IsLiveWindow(HWND window) {
    for (const HWND__& w : windows)
        if (&w == window) return w.inUse;
    return false;
}

HWND WindowFromSdlId(Uint32 windowId) {
    for (HWND__& w : windows)
        if (w.inUse && w.sdlWindowId == windowId) return &w;
    return nullptr;
}

HWND FirstLiveWindow() {
    for (HWND__& w : windows)
        if (w.inUse) return &w;
    return nullptr;
}

// The window starts hidden; the style, parent and menu are not modelled.
HWND CreateWindowExW(DWORD, LPCWSTR className, LPCWSTR windowName, DWORD, int x, int y, int width, int height,
                     HWND, HMENU, HINSTANCE instance, LPVOID) {
    WindowClassEntry windowClass;
    const bool classFound = FindWindowClass(className, &windowClass);
    HWND window = AllocateWindow();
    if (!classFound || !window || width <= 0 || height <= 0) return nullptr;
    char title[256];
    WideToUtf8(windowName, title, sizeof title);
    SDL_Window* sdlWindow = nullptr;
    if (EnsureSdlVideo()) {
        SetGameWindowGlAttributes();
        sdlWindow = SDL_CreateWindow(title, x, y, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    }
    if (!sdlWindow) {
        SetLastErrorFromSdl(ERROR_DEVICE_NOT_AVAILABLE);
        return nullptr;
    }
    *window = HWND__{sdlWindow, windowClass.windowProc, instance, SDL_GetWindowID(sdlWindow), true};
    if (window->windowProc(window, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(window);
        return nullptr;
    }
    return window;
}

// WM_DESTROY reaches the window procedure while the SDL window (and any GL
// context on it) still exists, so resources can be released there.
BOOL DestroyWindow(HWND window) {
    if (!IsLiveWindow(window)) return FALSE;
    window->windowProc(window, WM_DESTROY, 0, 0);
    DiscardMessagesFor(window);
    SDL_DestroyWindow(window->sdlWindow);
    *window = HWND__();
    return TRUE;
}

BOOL EnumDisplaySettingsW(LPCWSTR deviceName, DWORD modeNum, DEVMODEW* mode) {
    if (deviceName || !mode) return FALSE;
    SDL_DisplayMode displayMode;
    int status = -1;
    if (EnsureSdlVideo())
        status = modeNum == ENUM_CURRENT_SETTINGS ? SDL_GetDesktopDisplayMode(0, &displayMode)
                                                  : SDL_GetDisplayMode(0, static_cast<int>(modeNum), &displayMode);
    if (status != 0) {
        SetLastErrorFromSdl(ERROR_DEVICE_NOT_AVAILABLE);
        return FALSE;
    }
    if (displayMode.w <= 0 || displayMode.h <= 0) return FALSE;
    mode->dmPelsWidth = static_cast<DWORD>(displayMode.w);
    mode->dmPelsHeight = static_cast<DWORD>(displayMode.h);
    mode->dmBitsPerPel = SDL_BITSPERPIXEL(displayMode.format);
    mode->dmDisplayFrequency = static_cast<DWORD>(displayMode.refresh_rate);
    return TRUE;
}

BOOL ShowWindow(HWND window, int command) {
    if (!IsLiveWindow(window)) return FALSE;
    BOOL wasVisible = (SDL_GetWindowFlags(window->sdlWindow) & SDL_WINDOW_SHOWN) ? TRUE : FALSE;
    if (command == SW_HIDE)
        SDL_HideWindow(window->sdlWindow);
    else
        SDL_ShowWindow(window->sdlWindow);
    return wasVisible;
}

// Nothing is painted through messages: the GL device draws every frame.
BOOL UpdateWindow(HWND window) { return IsLiveWindow(window) ? TRUE : FALSE; }
