#include "app/main_loop.h"

#include "app/app_state.h"
#include "app/input.h"

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_DESTROY) return DefWindowProcW(window, message, wParam, lParam);
    gameSteps.releaseResources();
    PostQuitMessage(0);
    return 0;
}

namespace {

bool IsInputMessage(UINT message) {
    switch (message) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_KEYDOWN:
        case WM_KEYUP: return true;
        default: return false;
    }
}

bool IsFirstEscapePress(const MSG& message) {
    return message.message == WM_KEYDOWN && !(HIWORD(message.lParam) & KF_REPEAT) &&
           LOWORD(message.wParam) == VK_ESCAPE;
}

}  // namespace

// A pass that runs a frame examines the message record again; that is
// harmless because every input action only sets a value from the message.
bool RunMainLoop() {
    gameSteps.pollController();
    MSG& message = appState.message;
    if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    } else {
        gameSteps.runFrame();
    }
    if (IsInputMessage(message.message)) HandleInputMessage(message);
    if (IsFirstEscapePress(message)) return false;
    return message.message != WM_QUIT;
}
