// The message queue's hooks on SDL, and dispatch to the window procedures.
#include "platform/desktop/sdl_window.h"

DWORD MessageTicks() { return SDL_GetTicks(); }

// Takes SDL events until the ring is full; the rest wait in SDL's own queue.
void RefillMessages() {
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return;
    SDL_Event event;
    while (!MessageQueueFull() && SDL_PollEvent(&event)) {
        MSG message = {};
        if (TranslateSdlEvent(event, &message)) PushMessage(message);
    }
}

// Thread messages and messages for destroyed windows go to no procedure.
LRESULT DispatchMessageW(const MSG* msg) {
    if (!msg || !IsLiveWindow(msg->hwnd)) return 0;
    return msg->hwnd->windowProc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM, LPARAM) {
    if (message == WM_CLOSE) DestroyWindow(window);
    return 0;
}
