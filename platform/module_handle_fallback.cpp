// Weak stand-in so the audio layer links before the module functions land;
// the real definition overrides it.
#include "platform/windows.h"

__attribute__((weak)) HMODULE GetModuleHandleW(LPCWSTR) { return nullptr; }
