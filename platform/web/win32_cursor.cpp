// Mouse capture and the cursor's display counter. Releases and moves are
// followed over the whole page anyway, so the capture is only recorded; the
// cursor hides over the canvas.
#include <emscripten.h>

#include "platform/web/web_window.h"

namespace {
HWND captureWindow = nullptr;
int cursorCounter = 0;  // the cursor shows while this is 0 or more
}  // namespace

HWND SetCapture(HWND window) {
    HWND previous = captureWindow;
    captureWindow = IsLiveWindow(window) ? window : nullptr;
    return IsLiveWindow(previous) ? previous : nullptr;
}

int ShowCursor(BOOL show) {
    cursorCounter += show ? 1 : -1;
    EM_ASM({ document.querySelector(UTF8ToString($0)).style.cursor = $1 ? "" : "none"; }, kCanvasSelector,
           cursorCounter >= 0 ? 1 : 0);
    return cursorCounter;
}
