// Mouse capture and the cursor's display counter. Holding the pointer for the
// capturing window and hiding it are the back end's (backend::CaptureMouse,
// backend::ShowPointer).
#include "platform/win32/window_pool.h"

namespace {
HWND captureWindow = nullptr;
int cursorCounter = 0;  // the cursor shows while this is 0 or more
}  // namespace

bool HoldsCapture(HWND window) { return window && window == captureWindow; }

HWND SetCapture(HWND window) {
    HWND previous = captureWindow;
    captureWindow = IsLiveWindow(window) ? window : nullptr;
    if (captureWindow) backend::CaptureMouse(captureWindow);
    return IsLiveWindow(previous) ? previous : nullptr;
}

int ShowCursor(BOOL show) {
    cursorCounter += show ? 1 : -1;
    backend::ShowPointer(cursorCounter >= 0);
    return cursorCounter;
}
