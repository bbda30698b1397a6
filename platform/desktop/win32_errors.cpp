// SDL's failures as the last error: its text is what FormatMessageW gives.
#include <SDL.h>

#include "platform/desktop/sdl_window.h"
#include "platform/win32/last_error.h"

void SetLastErrorFromSdl(DWORD error) { SetLastErrorWithReason(error, SDL_GetError()); }
