#include "app/input.h"

#include <cmath>

#include <windowsx.h>

#include "app/app_state.h"

namespace {

struct KeyBinding {
    int virtualKey;
    int InputState::*flag;
};

constexpr KeyBinding kKeyTable[] = {
    {'W', &InputState::keyUp},    {'2', &InputState::keyUp},   {'A', &InputState::keyLeft},
    {'4', &InputState::keyLeft},  {'D', &InputState::keyRight}, {'6', &InputState::keyRight},
    {'S', &InputState::keyDown},  {'8', &InputState::keyDown},
};

void SetKeyFlag(WPARAM wParam, int value) {
    int virtualKey = LOWORD(wParam);
    for (const KeyBinding& binding : kKeyTable)
        if (binding.virtualKey == virtualKey) inputState.*binding.flag = value;
}

// Truncates toward zero; NaN and out-of-range values cannot come from a
// normalised direction, but must not turn into undefined conversions either.
LONG TruncateToLong(float value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483520.0f) return 2147483647;
    if (value <= -2147483648.0f) return -2147483647 - 1;
    return static_cast<LONG>(value);
}

}  // namespace

void HandleInputMessage(const MSG& message) {
    switch (message.message) {
        case WM_MOUSEMOVE: {
            float x = static_cast<float>(GET_X_LPARAM(message.lParam));
            float y = static_cast<float>(GET_Y_LPARAM(message.lParam));
            inputState.cursorY = (y / appState.screenHeight) * -2.0f + 1.0f;
            inputState.cursorX = (x / appState.screenWidth) * 2.0f - 1.0f;
            break;
        }
        case WM_LBUTTONDOWN: inputState.leftButton = 1; break;
        case WM_LBUTTONUP: inputState.leftButton = 0; break;
        case WM_RBUTTONDOWN: inputState.rightButton = 1; break;
        case WM_RBUTTONUP: inputState.rightButton = 0; break;
        case WM_KEYDOWN:
            // Auto-repeats carry the previous-key-state bit and change nothing.
            if (!(HIWORD(message.lParam) & KF_REPEAT)) SetKeyFlag(message.wParam, 1);
            break;
        case WM_KEYUP: SetKeyFlag(message.wParam, 0); break;
        default: break;
    }
}

Vec4 CursorPoint(Vec4 eye) {
    return Vec4(eye.x + 10.0f * inputState.cursorX, 1.0f, eye.z + 15.0f * (inputState.cursorY + 0.5f), 1.0f);
}

void CopyStickToAim() {
    inputState.controller.lRz = inputState.controller.lRx;
    inputState.controller.lZ = inputState.controller.lRy;
}

void ApplyMouseSteering(Vec4 cursorPoint, Vec4 playerPosition) {
    Vec4 toCursor = playerPosition - cursorPoint;
    toCursor.Normalize();
    toCursor *= -1000.0f;
    DIJOYSTATE2& controller = inputState.controller;
    if (inputState.leftButton == 1) {
        controller.lRz = TruncateToLong(toCursor.x);
        controller.lZ = TruncateToLong(-toCursor.z);
        inputState.savedAimDir = toCursor;
    } else {
        controller.lRz = TruncateToLong(inputState.savedAimDir.x);
        controller.lZ = TruncateToLong(-inputState.savedAimDir.z);
    }
    if (inputState.rightButton == 1) {
        controller.lX = TruncateToLong(toCursor.x);
        controller.lY = TruncateToLong(-toCursor.z);
    }
}

Vec4 BuildMoveRequest() {
    Vec4 keys(static_cast<float>(inputState.keyRight - inputState.keyLeft), 0.0f,
              static_cast<float>(inputState.keyDown - inputState.keyUp), 1.0f);
    keys.Normalize();
    keys *= 1200.0f;
    Vec4 stick(1.2f * static_cast<float>(inputState.controller.lX), 0.0f,
               1.2f * static_cast<float>(inputState.controller.lY), 1.0f);
    return stick + keys;
}
