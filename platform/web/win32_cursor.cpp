// The mouse capture and the cursor on the page. Releases and moves are
// followed over the whole page anyway, so the capture needs nothing more; the
// cursor hides over the canvas.
#include <emscripten.h>

#include "platform/web/web_window.h"

void backend::CaptureMouse(HWND) {}

void backend::ShowPointer(bool shown) {
    EM_ASM({ document.querySelector(UTF8ToString($0)).style.cursor = $1 ? "" : "none"; }, kCanvasSelector,
           shown ? 1 : 0);
}
