// Keyboard, mouse and controller turned into the values the frame reads, and
// the small per-frame steps that derive the aim and move requests from them.
#pragma once

#include "math/vec4.h"
#include <dinput.h>
#include <windows.h>

struct InputState {
    int keyUp = 0;
    int keyLeft = 0;
    int keyRight = 0;
    int keyDown = 0;
    float cursorX = 0.0f;
    float cursorY = 0.0f;
    int leftButton = 0;
    int rightButton = 0;
    DIJOYSTATE2 controller = {};
    Vec4 savedAimDir = Vec4(0.0f, 0.0f, 0.0f, 1.0f);
};

extern InputState inputState;

// The DirectInput object and the controller's device, or none.
struct InputDevices {
    IDirectInput8W* directInput = nullptr;
    IDirectInputDevice8W* controller = nullptr;
};

extern InputDevices inputDevices;

// How often one pass re-acquires a controller that reports its input lost.
inline constexpr int kMaxAcquireAttempts = 8;

HRESULT CreateController(HWND window);
void PollController();
void HandleInputMessage(const MSG& message);
Vec4 CursorPoint(Vec4 eye);
void CopyStickToAim();
void ApplyMouseSteering(Vec4 cursorPoint, Vec4 playerPosition);
Vec4 BuildMoveRequest();
