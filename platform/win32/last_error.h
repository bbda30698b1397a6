// Internal to the platform layer: the thread's last error for the back ends
// that lack Windows. GetLastError, SetLastError and FormatMessageW come from
// here; a back end that fails for a reason of its own sets the code with the
// reason's text, which FormatMessageW then gives for that code.
#pragma once

#include <windows.h>

void SetLastErrorWithReason(DWORD error, const char* reason);
