// The game controller through DirectInput: set up once, polled every pass.
#include "app/input.h"

InputDevices inputDevices;

namespace {

BOOL CALLBACK KeepFirstController(LPCDIDEVICEINSTANCEW instance, LPVOID) {
    IDirectInputDevice8W* device = nullptr;
    if (FAILED(inputDevices.directInput->CreateDevice(instance->guidInstance, &device, nullptr))) return DIENUM_CONTINUE;
    inputDevices.controller = device;
    return DIENUM_STOP;
}

BOOL CALLBACK SetAxisRange(LPCDIDEVICEOBJECTINSTANCEW object, LPVOID) {
    if (!(object->dwType & DIDFT_AXIS)) return DIENUM_CONTINUE;
    DIPROPRANGE range = {};
    range.diph.dwSize = sizeof(DIPROPRANGE);
    range.diph.dwHeaderSize = sizeof(DIPROPHEADER);
    range.diph.dwObj = object->dwType;
    range.diph.dwHow = DIPH_BYID;
    range.lMin = -1000;
    range.lMax = 1000;
    if (FAILED(inputDevices.controller->SetProperty(DIPROP_RANGE, &range.diph))) return DIENUM_STOP;
    return DIENUM_CONTINUE;
}

// Only tests set up twice; the earlier objects are let go rather than leaked.
void ReleaseInputDevices() {
    if (inputDevices.controller) inputDevices.controller->Release();
    if (inputDevices.directInput) inputDevices.directInput->Release();
    inputDevices = InputDevices();
}

}  // namespace

HRESULT CreateController(HWND window) {
    ReleaseInputDevices();
    void* object = nullptr;
    HRESULT status = DirectInput8Create(GetModuleHandleW(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput8W, &object,
                                        nullptr);
    if (FAILED(status)) return status;
    inputDevices.directInput = static_cast<IDirectInput8W*>(object);
    status = inputDevices.directInput->EnumDevices(DI8DEVCLASS_GAMECTRL, KeepFirstController, nullptr,
                                                   DIEDFL_ATTACHEDONLY);
    if (FAILED(status)) return status;
    IDirectInputDevice8W* device = inputDevices.controller;
    if (!device) return 0;
    status = device->SetDataFormat(&c_dfDIJoystick2);
    if (FAILED(status)) return status;
    status = device->SetCooperativeLevel(window, DISCL_EXCLUSIVE | DISCL_FOREGROUND);
    if (FAILED(status)) return status;
    status = device->EnumObjects(SetAxisRange, window, DIDFT_ALL);
    return FAILED(status) ? status : 0;
}

void PollController() {
    IDirectInputDevice8W* device = inputDevices.controller;
    if (!device) return;
    if (FAILED(device->Poll())) {
        // Bounded: a device that kept reporting the loss would otherwise hold
        // the main loop here for good.
        for (int attempt = 0; attempt < kMaxAcquireAttempts && device->Acquire() == DIERR_INPUTLOST; ++attempt) {
        }
        return;
    }
    device->GetDeviceState(sizeof(DIJOYSTATE2), &inputState.controller);
}
