// Temporary: the desktop mode until the window layer lands on main; delete
// this file then. Weak, so the real definition wins if both are linked.
#include <SDL.h>

#include "platform/windows.h"

__attribute__((weak)) BOOL EnumDisplaySettingsW(LPCWSTR, DWORD modeNum, DEVMODEW* mode) {
    SDL_DisplayMode desktop{};
    if (mode == nullptr || modeNum != ENUM_CURRENT_SETTINGS || SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return FALSE;
    bool ok = SDL_GetDesktopDisplayMode(0, &desktop) == 0;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    if (!ok) return FALSE;
    mode->dmBitsPerPel = SDL_BITSPERPIXEL(desktop.format);
    mode->dmPelsWidth = static_cast<DWORD>(desktop.w);
    mode->dmPelsHeight = static_cast<DWORD>(desktop.h);
    mode->dmDisplayFrequency = static_cast<DWORD>(desktop.refresh_rate);
    return TRUE;
}
