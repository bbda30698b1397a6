// The message queue's hooks on the page, whose event handlers fill the queue
// while the game waits for the next frame, and dispatch to the window
// procedures.
#include <emscripten.h>

#include "platform/web/web_window.h"

DWORD MessageTicks() { return static_cast<DWORD>(emscripten_get_now()); }

// The handlers have queued everything already.
void RefillMessages() {}

// Thread messages and messages for destroyed windows go to no procedure.
LRESULT DispatchMessageW(const MSG* msg) {
    if (!msg || !IsLiveWindow(msg->hwnd)) return 0;
    return msg->hwnd->windowProc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM, LPARAM) {
    if (message == WM_CLOSE) DestroyWindow(window);
    return 0;
}
